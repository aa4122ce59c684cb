#pragma once
// The picture editor's own outgoing picture: what the preview starts from when the edited
// picture is the first of its album. A small landscape framed by a film strip, 185 x 153, in
// the sixteen colours of the standard VGA palette, drawn by code.

#include "imaging/Bitmap.h"

namespace velmora::ui {

/// The built-in 185 x 153 picture (the same pixels on every call).
Bitmap BuiltinOutgoingPicture();

}  // namespace velmora::ui
