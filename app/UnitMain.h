#pragma once
// TFrmMain: the program's main window. It lists the albums, opens one album at a time, shows
// its pictures or songs in a list with a picture preview or a player with spectrum, and
// starts every other window. The window's rules live in MainRules.h; the lists are views over
// the store (StoreModels.h); the store operations are the core's (store/ListOps.h,
// store/Catalogue.h). Every handler that calls the core runs through RunGuarded.

#include <QWidget>

#include "app/MainRules.h"
#include "effects/ui/EditPHost.h"

class QLabel;
class QPushButton;
class QStackedWidget;
class QTableView;
class QToolButton;

namespace velmora {
class TAlbumStore;
class TBassApi;
class TKivMp3Play;
}  // namespace velmora

namespace velmora::ui {

class TServices;
class TClickPanel;
class TTrackBar;
class TPicturePreview;
class TAlbumListModel;
class TPicListModel;
class TMusicListModel;
class TKivMp3PlayWidget;
class TKivScrollText;

class TFrmMain : public QWidget, public TEditPHost {
    Q_OBJECT
public:
    /// Creates the window: start values of the store (RootPath as the caller set it), the
    /// catalogue loaded and the first album opened. `bass` is the audio library of the player.
    TFrmMain(TAlbumStore& store, TServices& services, TBassApi& bass, QWidget* parent = nullptr);
    ~TFrmMain() override;

    // Controls, named as the system names them (the tests drive them).
    QLabel* PnlAllAblumTile = nullptr;
    QTableView* LvwA = nullptr;
    QPushButton* SbtNewAblm = nullptr;
    QPushButton* SbtDelA = nullptr;
    QLabel* PnlCurLook = nullptr;
    QToolButton* BtnPP = nullptr;
    QToolButton* BtnNP = nullptr;
    QStackedWidget* NotebookLook = nullptr;
    TPicturePreview* PreviewPage = nullptr;  ///< page 0: Image1 and ImgPicShow
    QLabel* Image3 = nullptr;
    TKivMp3PlayWidget* KivMp3Play1 = nullptr;
    TTrackBar* bsSkinTrackBar1 = nullptr;
    QToolButton* SbtPlay = nullptr;
    QToolButton* SbtPause = nullptr;
    QToolButton* SbtStop = nullptr;
    QPushButton* BtnBeginMake = nullptr;
    QLabel* PnlCurAblmTile = nullptr;
    QPushButton* SbtEditpic = nullptr;
    QPushButton* SbtEditMusic = nullptr;
    QLabel* PnlListTile = nullptr;
    QToolButton* BtnUP = nullptr;
    QToolButton* BtnDP = nullptr;
    QStackedWidget* NotebookList = nullptr;
    QTableView* LvwP = nullptr;
    QTableView* LvwM = nullptr;
    QPushButton* BtnDelAP = nullptr;
    QPushButton* BtnDelOP = nullptr;
    QPushButton* BtnEditP = nullptr;
    QPushButton* BtnAddP = nullptr;
    TClickPanel* PnlHelp = nullptr;
    TKivScrollText* CST1 = nullptr;
    TClickPanel* PnlReg = nullptr;

    /// The page the page buttons chose (the tag of the buttons acting on the page).
    int Page() const noexcept { return FPage; }
    /// The player of the song page; null until the player widget exists.
    TKivMp3Play* Player() const;
    /// Selected row of a list, -1 for none.
    static int SelectedRow(const QTableView* list);
    /// Selects row `row` of a list (-1 clears the selection); the list's change handler runs.
    static void SelectRow(QTableView* list, int row);
    /// Scrolls a list so that its selected row is visible (a row a step).
    static void ScrollSelectedIntoView(QTableView* list);
    /// Open-dialog filters of BtnAddP (pictures, songs); both cases of each extension match.
    static QString PictureFilter();
    static QString MusicFilter();

    // TEditPHost
    void RefreshPictureRow(int index) override;
    void SetPictureDwellText(int index, const QString& text) override;
    void SelectPicture(int index) override;
    void ShowHelp() override;

public Q_SLOTS:
    void OpenAlbum(int index);
    void RefreshState();
    void PageButtonClick(int tag);
    void LvwAChange();
    void LvwPChange();
    void LvwMChange();
    void SbtNewAblmClick();
    void SbtDelAClick();
    void BtnUPClick() { MoveClick(true); }
    void BtnDPClick() { MoveClick(false); }
    void BtnPPClick() { StepClick(true); }
    void BtnNPClick() { StepClick(false); }
    void BtnDelAPClick();
    void BtnDelOPClick();
    void BtnAddPClick();
    void BtnEditPClick();
    void BtnBeginMakeClick();
    void SbtPlayClick();
    void SbtPauseClick();
    void SbtStopClick();
    void TrackBarMouseDown();
    void TrackBarMouseUp();
    void PnlHelpClick();
    void PnlRegClick();
    void CST1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildRightColumn(QWidget* column);
    void BuildLeftArea(QWidget* area);
    QWidget* BuildPlayerPage();
    QWidget* BuildFootStrip();
    void ConnectHandlers();
    void ApplyView(const TMainView& view);
    void MoveClick(bool up);
    void StepClick(bool back);
    void ShowSelectedPicture();
    QString StoredPath(const std::string& storedName) const;
    void ShowLoaderMessage(const QString& text);
    // The parts that other units provide: the player of the song page and the ticker
    // (UnitMainParts.cpp).
    QWidget* CreatePlayerWidget(QWidget* parent);
    QWidget* CreateTicker(QWidget* parent);
    void RunEditor();
    int RunCreateAlbum();
    void RunImport(bool songs, const QStringList& files);
    void SetPlayerFile(const QString& path);
    QString PlayerFile() const;
    void PlayerProgress(int trackBarMax, int trackBarPos);

    TAlbumStore& FStore;
    TServices& FServices;
    TBassApi& FBass;
    int FPage = PagePictures;
    TAlbumListModel* FAlbumModel = nullptr;
    TPicListModel* FPicModel = nullptr;
    TMusicListModel* FMusicModel = nullptr;
};

}  // namespace velmora::ui
