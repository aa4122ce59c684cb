#pragma once
// The program's font: "宋体" at 12 pixels, resolved the way the titles on the video resolve it
// (fontconfig, lang=zh-cn, checked for coverage of Chinese and Latin text), so no window ever
// shows boxes for missing glyphs.

#include <QFont>
#include <QString>

namespace velmora::ui {

/// The family name Qt knows for the resolved "宋体" font (the font file is registered with
/// Qt's font database on first use).
QString SongFamily();

/// SongFamily() at `pixelSize` pixels.
QFont SongFont(int pixelSize = 12);

}  // namespace velmora::ui
