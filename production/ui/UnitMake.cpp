// The production dialog's settings: the defaults on opening, the output types and the proposed
// output names, the save dialog, automatic sync, the background list and the fill colour.

#include "production/ui/UnitMake.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <span>

#include "base/Errors.h"
#include "imaging/LoadPicture.h"
#include "production/ComposePicture.h"
#include "production/DiscImage.h"
#include "production/ui/MakeSaveDialog.h"
#include "production/ui/MakeTexts.h"
#include "production/ui/MakeWorker.h"
#include "store/Pub.h"
#include "widgets/Guard.h"
#include "widgets/ImageView.h"
#include "widgets/Services.h"

namespace velmora::ui {

namespace {

/// Paths cross into the core as the file system's bytes, so no file name is lost on the way.
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString FromPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}
QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QString WithMpgExtension(const QString& path) { return WithExtension(path, QStringLiteral("mpg")); }

QString WithExtension(const QString& path, const QString& extension) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot >= nameStart ? path.left(dot) : path;
    return stem + QLatin1Char('.') + extension;
}

TFrmMake::TFrmMake(TAlbumStore& store, TServices& services, QWidget* parent)
    : QDialog(parent), FStore(store), FServices(services) {
    setObjectName(QStringLiteral("FrmMake"));
    setWindowTitle(tr("视频文件制作"));
    CreateControls();

    connect(FOutTypeButtons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) RGOutTypeClick();
    });
    connect(SpeedButton3, &QPushButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(Sdlg, &QFileDialog::currentChanged, this,
            [this](const QString& path) { SdlgSelectionChange(path); });
    connect(Sdlg, &QDialog::accepted, this, [this] { SdlgAccepted(); });
    Sdlg->CanClose = [this](const QString& file) { return SdlgCanClose(file); };
    connect(CboxTB, &QCheckBox::toggled, this, [this](bool checked) { CboxTBClick(checked); });
    connect(Clb1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Clb1Click(item); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(RbtnBlur, &QRadioButton::clicked, this, [this] { RbtnBlurClick(); });
    connect(SbtnMake, &QPushButton::clicked, this, [this] { SbtnMakeClick(); });
    connect(SbtnStop, &QPushButton::clicked, this, [this] { SbtnStopClick(); });

    FormCreate();
}

// The worker, a child of the dialog, stops a run that is still going and joins its thread.
TFrmMake::~TFrmMake() { RestoreCursor(); }

TOutputType TFrmMake::OutputType() const {
    return static_cast<TOutputType>(std::max(0, FOutTypeButtons->checkedId()));
}

void TFrmMake::FormCreate() {
    ListBackPictures();
    RbtnTP->setEnabled(Clb1->count() > 0);
    RGOutTypeClick();
    const auto pics = std::span(FStore.Pics)
                          .first(std::clamp<std::size_t>(std::size_t(std::max(FStore.PicCount, 0)),
                                                         0, FStore.Pics.size()));
    const auto musics =
        std::span(FStore.Musics)
            .first(std::clamp<std::size_t>(std::size_t(std::max(FStore.MusicCount, 0)), 0,
                                           FStore.Musics.size()));
    FMusicTotalSeconds = velmora::MusicTotalSeconds(musics);
    FPicTotalSeconds = velmora::PicTotalSeconds(pics);

    // The root of drive C stands for the home folder; errors leave the name empty.
    RunGuarded(this, FServices, [this] {
        EdtOut->setText(FromPath(ProposeOutputName(DefaultOutputFolder(), TOutputType::VCD)));
    });
    FSdlgFileName = EdtOut->text();

    QString albumName;
    if (FStore.AlbumIndex >= 0 && std::size_t(FStore.AlbumIndex) < FStore.Albums.size()) {
        albumName = FromUtf8(FStore.Albums[std::size_t(FStore.AlbumIndex)].Name.Text());
    }
    // The word VCD stays whatever output type is chosen later.
    setWindowTitle(tr("相册《%1》VCD视频文件制作").arg(albumName));
    LPicTime->setText(RunText(PicTimeLabel(FPicTotalSeconds)));
    LMusTime->setText(RunText(MusicTimeLabel(FMusicTotalSeconds)));
}

void TFrmMake::ListBackPictures() {
    Clb1->clear();
    for (const std::string& name : velmora::ListBackPictures(FStore.RootPath)) {
        auto* item = new QListWidgetItem(FromPath(name), Clb1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
}

void TFrmMake::RGOutTypeClick() {
    const TOutputPreset& preset = OutputPreset(OutputType());
    // The proposed name keeps its folder; without a name yet (while the dialog is being
    // created) there is no folder to keep, and FormCreate proposes the first name itself.
    if (!EdtOut->text().isEmpty()) {
        EdtOut->setText(FromPath(SwitchOutputName(ToPath(EdtOut->text()), preset.Type)));
    }
    const TRect rect = PreviewGeometry(preset.FrameWidth, preset.FrameHeight);
    ImgMpg->setGeometry(rect.Left, rect.Top, rect.Width(), rect.Height());
    if (RbtnYS->isChecked()) ImgMpg->SetColour(FColour);
    if (RbtnBlur->isChecked()) RbtnBlurClick();
    // Disc images exist for the three disc formats; the HD files are played as they are.
    CboxDisc->setEnabled(HasDiscImage(preset.Type));
    Sdlg->SetExtension(Extension());
}

QString TFrmMake::Extension() const { return QString::fromLatin1(OutputExtension(OutputType())); }

void TFrmMake::RbtnBlurClick() {
    // The album's first picture composed with the blurred fill at the preview's size (at the
    // nearest 16:9 size for the HD types, whose square pixels the composer knows by that
    // shape); the colour when there is no picture to show.
    QSize size = ImgMpg->size();
    const TOutputPreset& preset = OutputPreset(OutputType());
    if (SquarePixelFrame(preset.FrameWidth, preset.FrameHeight)) {
        const int k = (size.width() + 15) / 16;
        size = QSize(16 * k, 9 * k);
    }
    RunGuarded(this, FServices, [this, size] {
        Bitmap frame;
        if (!FStore.Pics.empty() && size.width() > 0 && size.height() > 0) {
            TBackgroundFill fill;
            fill.Blur = true;
            fill.Colour = FColour.rgb() & 0xFFFFFFu;
            TFrameComposer composer(size.width(), size.height(), fill);
            try {
                composer.ComposePicture(FStore.StoredFilePath(FStore.Pics[0].StoredName.Text()),
                                        frame);
            } catch (const Error&) {
                frame = Bitmap();  // a stored name that is not usable: the colour
            }
            if (!composer.Failures().empty()) frame = Bitmap();
        }
        if (frame.Empty()) {
            ImgMpg->SetColour(FColour);
        } else {
            ImgMpg->SetPicture(frame.ToQImage().copy());
        }
    });
}

void TFrmMake::SpeedButton3Click() {
    const TOutputType type = OutputType();
    const std::string folder = FolderPart(ToPath(FSdlgFileName));
    try {
        FSdlgFileName = FromPath(ProposeOutputName(folder, type));
    } catch (...) {
        // A name that cannot be proposed leaves the remembered one.
    }
    if (!folder.empty()) Sdlg->setDirectory(FromPath(folder));
    Sdlg->selectFile(FSdlgFileName);
    // Window-modal and asynchronous: the answer arrives through accepted().
    Sdlg->open();
}

void TFrmMake::SdlgSelectionChange(const QString& path) {
    if (path.isEmpty()) return;
    try {
        FSdlgFileName = FromPath(ProposeOutputName(FolderPart(ToPath(path)), OutputType()));
    } catch (...) {
        // The remembered name stays when no name can be proposed in that folder.
    }
}

bool TFrmMake::SdlgCanClose(const QString& file) {
    if (!QFileInfo::exists(WithExtension(file, Extension()))) return true;
    const QMessageBox::StandardButton answer = FServices.Prompt(
        Sdlg, TPrompt{tr("文件已经存在是否要覆盖该文件"), tr("文件保存"),
                      QMessageBox::Yes | QMessageBox::No, QMessageBox::Question, QMessageBox::No});
    return answer == QMessageBox::Yes;
}

void TFrmMake::SdlgAccepted() {
    const QStringList files = Sdlg->selectedFiles();
    if (files.isEmpty()) return;
    FSdlgFileName = files.first();
    EdtOut->setText(WithExtension(files.first(), Extension()));
}

void TFrmMake::CboxTBClick(bool checked) {
    if (checked) {
        if (CanSync(FStore.PicCount, FMusicTotalSeconds)) {
            // The pictures will fill the music.
            LPicTime->setText(RunText(PicTimeLabel(FMusicTotalSeconds)));
            return;
        }
        FServices.Prompt(
            this, TPrompt{tr("音乐太短,无法同步!请删除部分图片或者添加音乐。"), tr("错误提示"),
                          QMessageBox::Ok, QMessageBox::Information, QMessageBox::Ok});
        CboxTB->setChecked(false);  // runs the unchecking branch
        return;
    }
    LPicTime->setText(RunText(PicTimeLabel(FPicTotalSeconds)));
}

void TFrmMake::Clb1Click(QListWidgetItem* item) {
    if (item == nullptr) return;
    const std::string path = BackPicFolder(FStore.RootPath) + ToPath(item->text());
    RunGuarded(this, FServices, [this, &path] {
        const Bitmap picture = LoadPictureToBitmap(path, MessageSink());
        if (picture.Empty()) {
            ImgMpg->Clear();
        } else {
            ImgMpg->SetPicture(picture.ToQImage().copy());
        }
    });
}

void TFrmMake::Button1Click() {
    const std::optional<QColor> colour = FServices.ChooseColor(this, FColour);
    if (!colour) return;
    FColour = *colour;
    ImgMpg->SetColour(FColour);
}

void TFrmMake::closeEvent(QCloseEvent* event) {
    // The run reads the album and the settings until it has ended, whether or not the stop
    // button has been pressed: closing waits for its end.
    if (FRunActive) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFrmMake::reject() {
    if (FRunActive) return;
    QDialog::reject();
}

}  // namespace velmora::ui
