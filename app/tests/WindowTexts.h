#pragma once
// Walks a window and collects every text it shows, to check a language: which texts are left
// untranslated (Chinese characters outside user data), which do not fit their control, and
// which controls came to overlap.

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace velmora::test {

/// One text of a window.
struct TShownText {
    QString Where;       ///< class and object name path, for messages
    QString Kind;        ///< "title", "label", "button", "group", "item", "header", "tip", ...
    QString Text;
    int Needed = 0;      ///< pixels the text needs in its control (0: not checked for fit)
    int Available = 0;   ///< pixels the control gives it
    bool Visible = false;
};

/// Every text of `window` and its children, in creation order.
std::vector<TShownText> ShownTexts(QWidget* window);

/// True when `text` holds a Chinese character or CJK punctuation.
bool HasChinese(const QString& text);

/// Texts of `texts` that hold Chinese, except those that contain one of `userData`.
QStringList ChineseTexts(const std::vector<TShownText>& texts, const QStringList& userData);

/// Visible texts that need more width than their control gives them.
QStringList ClippedTexts(const std::vector<TShownText>& texts);

/// Pairs of visible sibling controls (labels, buttons, edits, lists) whose rectangles intersect,
/// as "A | B" texts.
QStringList OverlappingControls(QWidget* window);

}  // namespace velmora::test
