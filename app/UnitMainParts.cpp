// The main window's seams to the windows and components of the other units: the create-album
// dialog, the import dialogs, the picture editor, the production dialog, the player widget of
// the song page and the ticker at the foot.

#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

#include "app/Artwork.h"
#include "app/Help.h"
#include "app/MainWidgets.h"
#include "app/PicturePreview.h"
#include "app/StoreModels.h"
#include "app/UnitMain.h"
#include "audio/KivMp3Play.h"
#include "audio/ui/KivMp3PlayWidget.h"
#include "audio/ui/UnitAddM.h"
#include "effects/ui/UnitEditP.h"
#include "production/ui/UnitMake.h"
#include "store/Pub.h"
#include "store/ui/UnitAddA.h"
#include "store/ui/UnitAddP.h"
#include "widgets/Guard.h"
#include "widgets/KivSText.h"
#include "widgets/Services.h"

namespace velmora::ui {

namespace {
constexpr int TickerWidth = 653;
constexpr int TickerHeight = 25;
constexpr int PlayerWidth = 177;
constexpr int PlayerHeight = 121;
}  // namespace

QWidget* TFrmMain::CreatePlayerWidget(QWidget* parent) {
    KivMp3Play1 = new TKivMp3PlayWidget(FBass, parent);
    KivMp3Play1->setObjectName(QStringLiteral("KivMp3Play1"));
    KivMp3Play1->setFixedSize(PlayerWidth, PlayerHeight);
    TKivMp3Play& player = KivMp3Play1->Player();
    player.BackColor = 0x000000;
    player.Pen = 0x00FF00;
    player.Peak = 0xFFFF00;
    player.LineWidth = 6;
    player.LineFallOff = 8;
    player.OnProgress = [this](const void*, std::int32_t max, std::int32_t pos,
                               const std::string&) { PlayerProgress(max, pos); };
    return KivMp3Play1;
}

TKivMp3Play* TFrmMain::Player() const {
    return KivMp3Play1 != nullptr ? &KivMp3Play1->Player() : nullptr;
}

QWidget* TFrmMain::CreateTicker(QWidget* parent) {
    CST1 = new TKivScrollText(parent);
    CST1->setObjectName(QStringLiteral("CST1"));
    CST1->setFixedSize(TickerWidth, TickerHeight);
    CST1->SetColor(Qt::black);
    CST1->SetFontColor(Qt::black);
    CST1->SetTransparent(true);
    CST1->SetKivScrollText(tr("欢迎使用 Velmora 电子相册：导入照片和歌曲，设置题目、停留时间和过渡效果，"
                              "一键生成 VCD、SVCD 或 DVD 视频。点击这里查看新版说明。"));
    connect(CST1, &TKivScrollText::Clicked, this, &TFrmMain::CST1Click);
    return CST1;
}

void TFrmMain::SetPlayerFile(const QString& path) {
    if (TKivMp3Play* player = Player()) {
        player->SetFileName(QFile::encodeName(path).toStdString());
    }
}

QString TFrmMain::PlayerFile() const {
    const TKivMp3Play* player = Player();
    return player != nullptr ? QFile::decodeName(QByteArray::fromStdString(player->FileName()))
                             : QString();
}

void TFrmMain::PlayerProgress(int trackBarMax, int trackBarPos) {
    bsSkinTrackBar1->setMaximum(trackBarMax);
    bsSkinTrackBar1->setValue(trackBarPos);
}

void TFrmMain::SbtPlayClick() {
    if (TKivMp3Play* player = Player()) player->Play();
}

void TFrmMain::SbtPauseClick() {
    if (TKivMp3Play* player = Player()) player->Pause();
}

void TFrmMain::SbtStopClick() {
    if (TKivMp3Play* player = Player()) player->Stop();
}

void TFrmMain::TrackBarMouseDown() {
    if (TKivMp3Play* player = Player()) player->HoldForSeek();
}

void TFrmMain::TrackBarMouseUp() {
    if (TKivMp3Play* player = Player()) player->SeekTo(bsSkinTrackBar1->value());
}

int TFrmMain::RunCreateAlbum() {
    TFrmAddA dialog(FStore, FServices, this);
    dialog.exec();
    return dialog.CreatedIndex();
}

void TFrmMain::SbtNewAblmClick() {
    if (RunCreateAlbum() < 0) return;
    RunGuarded(this, FServices, [this] {
        FStore.LoadRecords("A");
        FAlbumModel->Fill();
        // The newest album is the last row; selecting it opens it.
        if (FAlbumModel->rowCount() > 0) SelectRow(LvwA, FAlbumModel->rowCount() - 1);
        FStore.AlbumIndex = SelectedRow(LvwA);
    });
    if (SelectedRow(LvwA) < 0) RefreshState();
}

void TFrmMain::RunImport(bool songs, const QStringList& files) {
    if (songs) {
        RunMusicImport(FStore, FServices, files, this);
        FMusicModel->Fill();
        SelectRow(LvwM, FMusicModel->rowCount() - 1);
    } else {
        RunPictureImport(FStore, FServices, files, this);
        FPicModel->Fill();
        if (FPicModel->rowCount() > 0) SelectRow(LvwP, FPicModel->rowCount() - 1);
    }
}

void TFrmMain::BtnAddPClick() {
    const bool songs = FPage == PageSongs;
    TFileRequest request;
    request.Caption = songs ? tr("加入音乐") : tr("加入图片");
    request.Filter = songs ? MusicFilter() : PictureFilter();
    const QStringList files = FServices.OpenFiles(this, request);
    if (!files.isEmpty()) {
        RunGuarded(this, FServices, [&] { RunImport(songs, files); });
    }
    repaint();
    RefreshState();
}

void TFrmMain::RunEditor() {
    TFrmEditP editor(FStore, FServices, *this, this);
    editor.exec();
}

void TFrmMain::BtnBeginMakeClick() {
    TFrmMake make(FStore, FServices, this);
    make.exec();
}

}  // namespace velmora::ui
