#pragma once
// What the picture editor asks of the window that opened it: the main window's picture list
// and its help action. The main window implements it; tests implement it to watch the editor.

#include <QString>

namespace velmora::ui {

class TEditPHost {
public:
    virtual ~TEditPHost() = default;
    /// Row `index` of the picture list shows the record's values again: dwell in decimal,
    /// the effect's name, title and remark.
    virtual void RefreshPictureRow(int index) = 0;
    /// Column "停留时间" of row `index` shows `text` exactly as typed (records hold the value).
    virtual void SetPictureDwellText(int index, const QString& text) = 0;
    /// Selects row `index` of the picture list, running the list's own selection handling,
    /// and scrolls it into view.
    virtual void SelectPicture(int index) = 0;
    /// The help action of the main window.
    virtual void ShowHelp() = 0;
};

}  // namespace velmora::ui
