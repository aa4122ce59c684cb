#pragma once
// Effect names in the window's language. The core's list names are Chinese (the records and
// the command line use them as they are); the windows show them through Qt's translation, in
// context "velmora::Effects".

#include <QString>

namespace velmora::ui {

/// The list name of effect `index` (0 .. 105) in the window's language; other values read as
/// the random effect, as EffectName gives them.
QString EffectText(int index);

/// The editor's list line: three-digit index, a blank and EffectText, e.g. "001 淡入淡出".
QString EffectLineText(int index);

}  // namespace velmora::ui
