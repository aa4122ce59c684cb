// The main window's handlers: opening albums, the list changes, RefreshState, moving,
// stepping, deleting, creating and deleting albums, importing, and the other windows.

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>

#include "app/About.h"
#include "app/Help.h"
#include "app/MainWidgets.h"
#include "app/PicturePreview.h"
#include "app/StoreModels.h"
#include "app/UnitMain.h"
#include "store/Catalogue.h"
#include "store/ListOps.h"
#include "store/Pub.h"
#include "widgets/Guard.h"
#include "widgets/Services.h"

namespace velmora::ui {

namespace {

/// "Name (*.a *.A *.b *.B)": both cases of every extension, so that pictures and songs named
/// in capitals (P1000.JPG, SONG.MP3) are offered by every file chooser.
QString FilterEntry(const QString& name, std::initializer_list<const char*> extensions) {
    QStringList patterns;
    for (const char* ext : extensions) {
        const QString lower = QString::fromLatin1(ext);
        patterns << QStringLiteral("*.") + lower << QStringLiteral("*.") + lower.toUpper();
    }
    return name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

}  // namespace

QString TFrmMain::PictureFilter() {
    return QStringList{
        FilterEntry(QStringLiteral("All"),
                    {"jpg", "jpeg", "bmp", "tif", "tiff", "ico", "emf", "wmf"}),
        FilterEntry(QStringLiteral("JPEG Image File"), {"jpg"}),
        FilterEntry(QStringLiteral("JPEG Image File"), {"jpeg"}),
        FilterEntry(QStringLiteral("Bitmaps"), {"bmp"}),
        FilterEntry(QStringLiteral("TIFF Image File"), {"tif", "tiff"}),
        FilterEntry(QStringLiteral("Icons"), {"ico"}),
        FilterEntry(QStringLiteral("Enhanced Metafiles"), {"emf"}),
        FilterEntry(QStringLiteral("Metafiles"), {"wmf"}),
    }.join(QStringLiteral(";;"));
}

QString TFrmMain::MusicFilter() { return FilterEntry(tr("MP3音乐文件"), {"mp3"}); }

int TFrmMain::SelectedRow(const QTableView* list) {
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TFrmMain::SelectRow(QTableView* list, int row) {
    QItemSelectionModel* selection = list->selectionModel();
    if (row < 0 || row >= list->model()->rowCount()) {
        selection->clearSelection();
        return;
    }
    const QModelIndex index = list->model()->index(row, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
}

void TFrmMain::ScrollSelectedIntoView(QTableView* list) {
    const int selected = SelectedRow(list);
    if (selected < 0) return;
    const int rowHeight = std::max(1, list->verticalHeader()->defaultSectionSize());
    const int visibleRows = std::max(1, list->viewport()->height() / rowHeight);
    QScrollBar* bar = list->verticalScrollBar();
    const int steps = ScrollSelectedIntoViewSteps(selected, bar->value(), visibleRows);
    if (steps != 0) bar->setValue(bar->value() + steps);
}

QString TFrmMain::StoredPath(const std::string& storedName) const {
    return QFile::decodeName(QByteArray::fromStdString(
        FStore.StoredFilePath(TrimBlanks(storedName))));
}

void TFrmMain::ShowLoaderMessage(const QString& text) {
    FServices.Prompt(this, TPrompt{text, QStringLiteral("Velmora"), QMessageBox::Ok,
                                   QMessageBox::NoIcon, QMessageBox::Ok});
}

void TFrmMain::ShowSelectedPicture() {
    const int row = FStore.PicIndex;
    if (row < 0 || row >= FStore.PicCount || row >= static_cast<int>(FStore.Pics.size())) return;
    PreviewPage->ShowPicture(StoredPath(FStore.Pics[row].StoredName.Text()));
}

void TFrmMain::PageButtonClick(int tag) {
    FPage = tag == PageSongs ? PageSongs : PagePictures;
    NotebookList->setCurrentIndex(FPage);
    NotebookLook->setCurrentIndex(FPage);
    (FPage == PageSongs ? SbtEditMusic : SbtEditpic)->setChecked(true);
    const TPageCaptions captions = PageCaptions(FPage);
    BtnDelAP->setText(captions.DelAll);
    BtnDelOP->setText(captions.DelOne);
    BtnEditP->setText(captions.Edit);
    BtnEditP->setVisible(captions.EditVisible);
    BtnAddP->setText(captions.Add);
    RefreshState();
}

void TFrmMain::OpenAlbum(int index) {
    RunGuarded(this, FServices, [&] {
        FPicModel->Clear();
        FMusicModel->Clear();
        if (FStore.AlbumCount > 0) {
            FStore.OpenAlbum(index);
            if (FStore.PicCount > 0) FPicModel->Fill();
            if (FStore.MusicCount > 0) FMusicModel->Fill();
            if (FPicModel->rowCount() > 0) SelectRow(LvwP, FStore.PicIndex);
            if (FMusicModel->rowCount() > 0) SelectRow(LvwM, FStore.MusicIndex);
            if (SelectedRow(LvwP) >= 0) ShowSelectedPicture();
        }
    });
    RefreshState();
}

void TFrmMain::RefreshState() {
    RunGuarded(this, FServices, [this] {
        TMainInputs in;
        in.Page = FPage;
        QTableView* list = FPage == PageSongs ? LvwM : LvwP;
        in.Rows = list->model()->rowCount();
        in.Selected = SelectedRow(list);
        if (FPage == PageSongs) {
            FStore.MusicIndex = in.Selected;
            if (in.Rows > 0 && in.Selected >= 0 && in.Selected < FStore.MusicCount) {
                SetPlayerFile(StoredPath(FStore.Musics[in.Selected].StoredName.Text()));
            }
        } else {
            FStore.PicIndex = in.Selected;
            if (in.Rows > 0 && in.Selected >= 0) ShowSelectedPicture();
        }
        in.PicRows = FPicModel->rowCount();
        in.MusicRows = FMusicModel->rowCount();
        in.AlbumRows = FAlbumModel->rowCount();
        in.AlbumSelected = SelectedRow(LvwA);
        in.AlbumCurrent = FStore.AlbumIndex >= 0 && FStore.AlbumIndex < FStore.AlbumCount;
        if (in.AlbumCurrent) {
            in.AlbumName = QString::fromUtf8(FStore.Albums[FStore.AlbumIndex].Name.Text());
        }
        const QString playerFile = PlayerFile();
        in.PlayerFileExists = !playerFile.isEmpty() && QFile::exists(playerFile);
        ApplyView(ComputeMainView(in));
    });
}

void TFrmMain::ApplyView(const TMainView& view) {
    PnlListTile->setText(view.ListTitle);
    PnlCurLook->setText(view.LookTitle);
    PnlAllAblumTile->setText(view.AllAlbumTitle);
    PnlCurAblmTile->setText(view.CurAlbumTitle);
    BtnUP->setEnabled(view.Up);
    BtnPP->setEnabled(view.Prev);
    BtnDP->setEnabled(view.Down);
    BtnNP->setEnabled(view.Next);
    BtnDelOP->setEnabled(view.DelOne);
    BtnDelAP->setEnabled(view.DelAll);
    LvwP->setEnabled(view.Lists);
    LvwM->setEnabled(view.Lists);
    BtnEditP->setEnabled(view.Edit);
    BtnAddP->setEnabled(view.Add);
    for (QWidget* control : {static_cast<QWidget*>(SbtPlay), static_cast<QWidget*>(SbtPause),
                             static_cast<QWidget*>(SbtStop),
                             static_cast<QWidget*>(bsSkinTrackBar1)}) {
        control->setEnabled(view.Player);
    }
    SbtDelA->setEnabled(view.DelAlbum);
    BtnBeginMake->setEnabled(view.Make);
}

void TFrmMain::LvwAChange() {
    const int row = SelectedRow(LvwA);
    if (FAlbumModel->rowCount() < 1 || row < 0) return;
    FStore.AlbumIndex = row;
    FStore.PicCount = 0;
    FStore.PicIndex = -1;
    FStore.MusicCount = 0;
    FStore.MusicIndex = -1;
    SetPlayerFile(QString());
    PreviewPage->Clear();
    OpenAlbum(row);
    RefreshState();
}

void TFrmMain::LvwPChange() {
    const int row = SelectedRow(LvwP);
    if (FPicModel->rowCount() < 1 || row < 0) return;
    FStore.PicIndex = row;
    RunGuarded(this, FServices, [this] { ShowSelectedPicture(); });
    RefreshState();
}

void TFrmMain::LvwMChange() {
    const int row = SelectedRow(LvwM);
    if (FMusicModel->rowCount() < 1 || row < 0) return;
    SbtStopClick();
    FStore.MusicIndex = row;
    RunGuarded(this, FServices, [&] {
        if (row < FStore.MusicCount) SetPlayerFile(StoredPath(FStore.Musics[row].StoredName.Text()));
    });
    RefreshState();
}

void TFrmMain::MoveClick(bool up) {
    RunGuarded(this, FServices, [&] {
        QTableView* list = FPage == PageSongs ? LvwM : LvwP;
        TStoreListModel* model = FPage == PageSongs ? static_cast<TStoreListModel*>(FMusicModel)
                                                    : FPicModel;
        const int selected = SelectedRow(list);
        const int target = FPage == PageSongs ? MoveMusic(FStore, selected, up)
                                              : MovePic(FStore, selected, up);
        if (target == selected) return;
        model->RefreshRow(std::max(selected, 0));
        model->RefreshRow(target);
        SelectRow(list, target);
        ScrollSelectedIntoView(list);
    });
    RefreshState();
}

void TFrmMain::StepClick(bool back) {
    RunGuarded(this, FServices, [&] {
        QTableView* list = FPage == PageSongs ? LvwM : LvwP;
        const int selected = SelectedRow(list);
        const int target = FPage == PageSongs ? StepMusic(FStore, selected, back)
                                              : StepPic(FStore, selected, back);
        if (target == selected) return;
        SelectRow(list, target);
        ScrollSelectedIntoView(list);
        if (FPage == PagePictures) ShowSelectedPicture();
    });
    RefreshState();
}

void TFrmMain::BtnDelAPClick() {
    const bool songs = FPage == PageSongs;
    const QString question = QString::fromStdString(
        songs ? DeleteAllMusicQuestion(FStore.MusicCount) : DeleteAllPicsQuestion(FStore.PicCount));
    const TPrompt prompt{question, tr("确认"), QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::Question, QMessageBox::NoButton};
    if (FServices.Prompt(this, prompt) == QMessageBox::Yes) {
        RunGuarded(this, FServices, [&] {
            if (songs) {
                SbtStopClick();
                SetPlayerFile(QString());
                DeleteAllMusic(FStore);
                FMusicModel->Clear();
            } else {
                DeleteAllPics(FStore);
                FPicModel->Clear();
                PreviewPage->Clear();
            }
        });
    }
    RefreshState();
}

void TFrmMain::BtnDelOPClick() {
    RunGuarded(this, FServices, [&] {
        const bool songs = FPage == PageSongs;
        QTableView* list = songs ? LvwM : LvwP;
        const int selected = SelectedRow(list);
        if (selected < 0) return;
        if (songs) {
            // The song on the player is the one deleted: let go of its file first.
            SbtStopClick();
            SetPlayerFile(QString());
        }
        const int next = songs ? DeleteCurrentMusic(FStore, selected)
                               : DeleteCurrentPic(FStore, selected);
        (songs ? static_cast<TStoreListModel*>(FMusicModel) : FPicModel)->RemoveRow(selected);
        if (next < 0) {
            if (!songs) PreviewPage->Clear();
            return;
        }
        SelectRow(list, next);
        if (!songs) ScrollSelectedIntoView(list);
    });
    RefreshState();
}

void TFrmMain::SbtDelAClick() {
    const std::optional<std::string> question =
        AlbumDeleteQuestion(FStore.PicCount, FStore.MusicCount);
    if (question) {
        const TPrompt prompt{QString::fromStdString(*question), tr("提示"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Information,
                             QMessageBox::NoButton};
        if (FServices.Prompt(this, prompt) != QMessageBox::Yes) return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setEnabled(false);
    RunGuarded(this, FServices, [&] {
        SbtStopClick();
        SetPlayerFile(QString());
        PreviewPage->Clear();
        DeleteAlbum(FStore);
        FAlbumModel->Fill();
        SelectRow(LvwA, FStore.AlbumIndex);
        if (SelectedRow(LvwA) < 0) {
            FPicModel->Clear();
            FMusicModel->Clear();
        }
    });
    RefreshState();
    setEnabled(true);
    QApplication::restoreOverrideCursor();
}

void TFrmMain::BtnEditPClick() {
    const int row = SelectedRow(LvwP);
    if (row < 0 || row >= FStore.PicCount) return;  // the editor works on a selected record
    FStore.PicIndex = row;
    RunEditor();
    RefreshState();
}

void TFrmMain::PnlHelpClick() { ShowHelp(); }

void TFrmMain::ShowHelp() { ui::ShowHelp(FServices); }

void TFrmMain::PnlRegClick() {
    TFrmAbout about(this);
    about.exec();
}

void TFrmMain::CST1Click() { OpenWhatsNewPage(FServices); }

void TFrmMain::closeEvent(QCloseEvent* event) {
    SbtStopClick();
    OpenProductPage(FServices);
    event->accept();
}

void TFrmMain::RefreshPictureRow(int index) { FPicModel->RefreshRow(index); }

void TFrmMain::SetPictureDwellText(int index, const QString& text) {
    FPicModel->SetDwellText(index, text);
}

void TFrmMain::SelectPicture(int index) {
    SelectRow(LvwP, index);
    ScrollSelectedIntoView(LvwP);
}

}  // namespace velmora::ui
