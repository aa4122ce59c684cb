#pragma once
// Small controls of the main window: a label that reacts to clicks (PnlHelp, PnlReg) and the
// track bar that reports the mouse going down and up (the player pauses while the user drags
// and seeks when the button is released).

#include <QLabel>
#include <QSlider>

namespace velmora::ui {

/// A panel with a caption that emits Clicked when the left button is released over it.
class TClickPanel : public QLabel {
    Q_OBJECT
public:
    explicit TClickPanel(const QString& text, QWidget* parent = nullptr);
Q_SIGNALS:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

/// A horizontal track bar. A left click puts the handle where the mouse is (not a page step),
/// so that mouse down, drag and mouse up always end at the point the user chose.
class TTrackBar : public QSlider {
    Q_OBJECT
public:
    explicit TTrackBar(QWidget* parent = nullptr);
Q_SIGNALS:
    /// The left button went down on the bar (after the handle moved there).
    void MouseDown();
    /// The left button was released (the value is where the user left the handle).
    void MouseUp();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace velmora::ui
