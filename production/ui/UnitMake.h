#pragma once
// The production dialog TFrmMake: collects the settings of a production run (output type and
// file, automatic sync, background fill, fade), shows the totals and a preview, and runs the
// production of the store's current album on a worker thread with progress, remaining time,
// preview frames and a stop button. The settings rules are the core's (ProductionSettings.h);
// the run is the core's RunProduction (ProductionRun.h).

#include <QColor>
#include <QDialog>
#include <QString>
#include <cstdint>

#include "production/ProductionRun.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

class QTimer;

namespace velmora::ui {

class TServices;
class TImageView;
class TMakeSaveDialog;
class TProductionWorker;

/// The output path with the extension of its file name replaced by ".mpg" (added when it has
/// none); dots in folder names are not extensions.
QString WithMpgExtension(const QString& path);
/// The same with another extension ("mp4" for the HD output types).
QString WithExtension(const QString& path, const QString& extension);

class TFrmMake : public QDialog {
    Q_OBJECT
public:
    /// A fresh dialog for the store's current album (which must stay unchanged while the
    /// dialog lives); every opening starts from the defaults.
    TFrmMake(TAlbumStore& store, TServices& services, QWidget* parent = nullptr);
    ~TFrmMake() override;

    /// A production run is under way: from SbtnMake until its report has been handled.
    bool RunActive() const noexcept { return FRunActive; }
    /// The output type selected in RGOutType.
    TOutputType OutputType() const;
    /// The save dialog, kept for the dialog's life (tests drive it with selectFile/accept).
    TMakeSaveDialog* SaveDialog() const noexcept { return Sdlg; }
    /// The name the save dialog remembers (where the next browse starts).
    const QString& SdlgFileName() const noexcept { return FSdlgFileName; }
    /// The report of the last run.
    const TProductionReport& LastReport() const noexcept { return FLastReport; }
    /// The preview image ImgMpg.
    TImageView* Preview() const noexcept { return ImgMpg; }
    /// The fill colour of later runs (black until the user chooses one).
    QColor FillColour() const { return FColour; }

Q_SIGNALS:
    /// A run has ended and its report (message boxes) has been shown.
    void RunFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    /// Esc: closes the dialog, except during a run.
    void reject() override;

private:
    void CreateControls();
    QGroupBox* CreateOutputGroup();
    QLayout* CreateOutputRow();
    QGroupBox* CreateSyncGroup();
    QGroupBox* CreateAdvancedGroup();
    QGroupBox* CreatePreviewGroup();
    QGroupBox* CreateStatusGroup();

    // Settings (the dialog's own handlers).
    void FormCreate();
    void ListBackPictures();
    void RGOutTypeClick();
    void SpeedButton3Click();
    void SdlgSelectionChange(const QString& path);
    bool SdlgCanClose(const QString& file);
    void SdlgAccepted();
    void CboxTBClick(bool checked);
    void Clb1Click(QListWidgetItem* item);
    void Button1Click();
    void RbtnBlurClick();
    QString Extension() const;

    // The run.
    TProductionSettings CollectSettings() const;
    void SbtnMakeClick();
    void SbtnStopClick();
    void SetSettingsEnabled(bool enabled);
    void WorkerProgress(const QString& progress, const QString& time);
    void WorkerPreview(const QImage& frame);
    void RunEnded();
    void ShowReport(const TProductionReport& report);
    void RestoreCursor();

    TAlbumStore& FStore;
    TServices& FServices;
    std::int64_t FPicTotalSeconds = 0;
    std::int64_t FMusicTotalSeconds = 0;
    QColor FColour = Qt::black;
    QString FSdlgFileName;
    bool FRunActive = false;
    bool FWaitCursor = false;
    TProductionWorker* FWorker = nullptr;
    QTimer* FRepaintTimer = nullptr;  ///< repaints the run's controls every 50 ms during a run
    TProductionReport FLastReport;

    QGroupBox* RGOutType = nullptr;
    QButtonGroup* FOutTypeButtons = nullptr;
    QLineEdit* EdtOut = nullptr;
    QPushButton* SpeedButton3 = nullptr;
    TMakeSaveDialog* Sdlg = nullptr;
    QCheckBox* CboxTB = nullptr;
    QLabel* LPicTime = nullptr;
    QLabel* LMusTime = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QCheckBox* CboxMH = nullptr;
    QRadioButton* RbtnYS = nullptr;
    QPushButton* Button1 = nullptr;
    QRadioButton* RbtnTP = nullptr;
    QRadioButton* RbtnBlur = nullptr;
    QCheckBox* CboxDisc = nullptr;
    QListWidget* Clb1 = nullptr;
    QWidget* PnlBack = nullptr;
    QWidget* Image1 = nullptr;
    TImageView* ImgMpg = nullptr;
    QLabel* Lguage = nullptr;
    QLabel* LOverTine = nullptr;
    QPushButton* SbtnMake = nullptr;
    QPushButton* SbtnStop = nullptr;
};

}  // namespace velmora::ui
