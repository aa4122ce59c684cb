#pragma once
// The picture calls of the media conversion layer: an image object that holds a 24-bit
// picture, filled from a bitmap and turned back into a new bitmap. They live with the raster
// type, below both users: picture import makes its round trip through them, and the media
// layer (production/) draws its text overlay into the same image object. The layer's text overlay
// draws into the same image object. A handle is an owning object: MclImgFree releases it, and
// a handle that goes out of scope releases itself.

#include <memory>

#include "imaging/Bitmap.h"

namespace velmora {

/// An image of the media conversion layer.
struct TMclImg {
    /// The picture, 24-bit like every bitmap.
    Bitmap Picture;
};

/// Owning handle of a TMclImg.
using MclImg = std::unique_ptr<TMclImg>;

/// A new, empty image.
MclImg MclImgCreate();
/// Makes img hold a copy of bitmap's picture (its previous picture is released).
void MclDIBToImg(TMclImg& img, const Bitmap& bitmap);
/// The same, taking over bitmap's pixels without a copy; bitmap is left empty.
void MclDIBToImg(TMclImg& img, Bitmap&& bitmap);
/// A new bitmap with the picture of img; the caller owns it. img is unchanged.
Bitmap MclImgToDIB(const TMclImg& img);
/// Releases img; the handle becomes empty. An empty handle is allowed.
void MclImgFree(MclImg& img) noexcept;

}  // namespace velmora
