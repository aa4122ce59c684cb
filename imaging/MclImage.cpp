#include "imaging/MclImage.h"

namespace velmora {

MclImg MclImgCreate() { return std::make_unique<TMclImg>(); }

void MclDIBToImg(TMclImg& img, const Bitmap& bitmap) { img.Picture = bitmap; }

void MclDIBToImg(TMclImg& img, Bitmap&& bitmap) {
    img.Picture = std::move(bitmap);
    bitmap = Bitmap();
}

Bitmap MclImgToDIB(const TMclImg& img) { return img.Picture; }

void MclImgFree(MclImg& img) noexcept { img.reset(); }

}  // namespace velmora
