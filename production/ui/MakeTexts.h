#pragma once
// The production dialog's status texts that the core composes (time sums, progress, remaining
// time) in the window's language. The core writes them in Chinese, the program's own language,
// from fixed phrases and numbers; here each fixed phrase goes through Qt's translation and the
// numbers stay as they are, so a Chinese window shows the core's text unchanged.

#include <QString>
#include <string>

namespace velmora::ui {

/// `coreText` (UTF-8, from PicTimeLabel, MusicTimeLabel or ProgressTexts) with every fixed
/// phrase translated. Text without a known phrase (an empty label) is returned as it is.
QString RunText(const std::string& coreText);

}  // namespace velmora::ui
