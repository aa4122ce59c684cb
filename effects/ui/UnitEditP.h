#pragma once
// TFrmEditP: the picture editor. Edits the title, dwell time and effect of picture PicIndex of
// the current album, previews the effect from the previous picture (or the built-in picture)
// to this one, steps to the previous and next picture with the main window's list following,
// gives one dwell time to every picture, and writes "PicInfo" back on Save and "到全部".
// The rules live in EditPRules.h and the preview in EditPPreview.h; this class maps them onto
// the controls.
//
// Test hooks: the preview's two timers are reachable (Timer1(), HoldTimer()) and their
// handlers are public slots (Timer1Timer(), HoldTimerTimeout()); SetTimerIntervals() lets a
// test give them intervals that never elapse and drive the preview itself.

#include <QDialog>
#include <QTimer>

#include "effects/ui/EditPPreview.h"
#include "effects/ui/EditPRules.h"
#include "imaging/Bitmap.h"
#include "store/Pub.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
class QFrame;

namespace velmora::ui {

class TServices;
class TEditPHost;
class TImageView;

class TFrmEditP : public QDialog {
    Q_OBJECT
public:
    /// Client size of the window.
    static constexpr int ClientWidth = 462;
    static constexpr int ClientHeight = 319;

    /// The editor over picture store.PicIndex (0 .. PicCount - 1) of the current album,
    /// centred over `parent`. Throws InvalidArgument when PicIndex is no picture.
    TFrmEditP(TAlbumStore& store, TServices& services, TEditPHost& host, QWidget* parent = nullptr);
    ~TFrmEditP() override;

    /// Loads record PicIndex into the controls and its picture into ImgShow; sets the caption.
    void ShowPicture();
    /// Enables BtnSave exactly when the controls differ from record PicIndex.
    void UpdateSaveButton();

    /// Gives the hold and tick timers other intervals (milliseconds).
    void SetTimerIntervals(int holdMs, int tickMs);
    QTimer& Timer1() noexcept { return FTimer1; }
    QTimer& HoldTimer() noexcept { return FHoldTimer; }
    const TEditPPreview& Preview() const noexcept { return FPreview; }
    /// The edited picture letterboxed to 185 x 153, as ShowPicture drew it.
    const Bitmap& EditedPicture() const noexcept { return FEditedPicture; }

    // The controls, named as the window names them.
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* EdtTM = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* EdtSJ = nullptr;
    QPushButton* Btn_X = nullptr;
    QPushButton* BtnM = nullptr;
    QPushButton* BtnToAll = nullptr;
    QLabel* Label2 = nullptr;
    QListWidget* LbXG = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QFrame* PnlXG = nullptr;
    TImageView* Img1 = nullptr;
    TImageView* ImgShow = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QToolButton* SbtnPP = nullptr;
    QToolButton* SbtnNP = nullptr;
    QPushButton* BtnLookXG = nullptr;
    QPushButton* BtnHelp = nullptr;
    QPushButton* BtnSave = nullptr;
    QPushButton* BtnExit = nullptr;

public Q_SLOTS:
    void EdtTMChange();
    void EdtSJChange();
    void Btn_XClick();
    void BtnMClick();
    void BtnToAllClick();
    void LbXGClick();
    void BtnSaveClick();
    void SbtnPPClick();
    void SbtnNPClick();
    void BtnLookXGClick();
    /// The end of the one-second hold of the outgoing picture: the frames begin.
    void HoldTimerTimeout();
    /// One 50 ms step of the preview.
    void Timer1Timer();
    void BtnExitClick();
    void BtnHelpClick();

protected:
    /// Closing the window (any way) stops a running preview.
    void done(int result) override;

private:
    void CreateControls();
    void CreateEditGroup();
    void CreatePreviewGroup();
    void CreateViewGroup();
    void ConnectControls();
    TEditPFields Fields() const;
    TPicInfo& Current();
    void LoadFitted(int picIndex, Bitmap& canvas);
    void Step(int delta);
    void EndPreviewDisplay();

    TAlbumStore& FStore;
    TServices& FServices;
    TEditPHost& FHost;
    TEditPPreview FPreview;
    Bitmap FEditedPicture;
    Bitmap FOutgoingBuiltin;
    QTimer FTimer1;
    QTimer FHoldTimer;
};

}  // namespace velmora::ui
