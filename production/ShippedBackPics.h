#pragma once
// The background pictures shipped with the program, offered to a new album store: on the
// first start of a store the program copies them into its "BackPic" folder, where the
// production dialog lists them. A store whose "BackPic" already exists (even emptied by its
// user) is left as it is.

#include <string>

namespace velmora {

/// Copies the ".jpg" files of `shippedFolder` into BackPicFolder(rootPath) when that folder
/// does not exist yet. The pictures are copied into a fresh sibling folder first and renamed
/// into place, so an interrupted copy never leaves a half-filled "BackPic" that would stop
/// later offers. Returns the number of pictures copied (0 when "BackPic" exists or nothing is
/// shipped); IoError when the copy fails.
int OfferShippedBackPics(const std::string& rootPath, const std::string& shippedFolder);

}  // namespace velmora
