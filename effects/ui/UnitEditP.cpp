#include "effects/ui/UnitEditP.h"

#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "base/Errors.h"
#include "effects/EffectTable.h"
#include "effects/ui/BuiltinPicture.h"
#include "effects/ui/EditPHost.h"
#include "effects/ui/EffectTexts.h"
#include "imaging/Fitting.h"
#include "store/TextCodec.h"
#include "widgets/AppFont.h"
#include "widgets/ByteLimitValidator.h"
#include "widgets/Guard.h"
#include "widgets/ImageView.h"
#include "widgets/Services.h"

namespace velmora::ui {

namespace {

/// Capacity of the title field: the bytes of TPicInfo::Title.
constexpr int TitleCapacity = 36;

/// The dwell field's typing filter (EdtSJKeyPress): only digits are typed; Backspace, other
/// characters and pasting by keyboard are discarded. Keys that type nothing (Delete, arrows)
/// and the dialog's Enter and Esc pass.
class TDwellKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut)) return true;
        const int code = key->key();
        if (code == Qt::Key_Escape || code == Qt::Key_Return || code == Qt::Key_Enter) {
            return false;
        }
        const bool control = key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
        if (control && code != Qt::Key_Backspace) return false;  // copy, select all
        return !DwellKeyAccepted(code, key->text());
    }
};

QPushButton* MakeButton(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(geometry);
    // Enter in a field does not press any button, as in the window's design.
    button->setAutoDefault(false);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QPoint at) {
    auto* label = new QLabel(text, parent);
    label->move(at);
    label->adjustSize();
    return label;
}

}  // namespace

TFrmEditP::TFrmEditP(TAlbumStore& store, TServices& services, TEditPHost& host, QWidget* parent)
    : QDialog(parent),
      FStore(store),
      FServices(services),
      FHost(host),
      FEditedPicture(TEditPPreview::Width, TEditPPreview::Height),
      FOutgoingBuiltin(BuiltinOutgoingPicture()) {
    // The main window opens the editor on a picture of the album only.
    if (FStore.PicIndex < 0 || FStore.PicIndex >= FStore.PicCount ||
        std::size_t(FStore.PicCount) > FStore.Pics.size()) {
        throw InvalidArgument("no picture " + std::to_string(FStore.PicIndex + 1) +
                              " to edit in the album (" + std::to_string(FStore.PicCount) +
                              " pictures)");
    }
    // FormCreate.
    setFont(SongFont(12));
    setWindowTitle(tr("图片编辑"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    CreateControls();
    ConnectControls();
    FTimer1.setInterval(TEditPPreview::TickMs);
    FHoldTimer.setInterval(TEditPPreview::HoldMs);
    FHoldTimer.setSingleShot(true);
    const TStepButtons steps = StepButtons(FStore.PicIndex, FStore.PicCount);
    SbtnPP->setEnabled(steps.Previous);
    SbtnNP->setEnabled(steps.Next);
    BtnSave->setEnabled(false);
    ShowPicture();
    // No position of its own: when shown, QDialog centres the window over the main window
    // (over the screen without one), window frame included.
}

TFrmEditP::~TFrmEditP() = default;

void TFrmEditP::CreateControls() {
    CreateEditGroup();
    CreatePreviewGroup();
    CreateViewGroup();
    BtnHelp = MakeButton(this, tr("帮助"), QRect(8, 287, 75, 25));
    BtnSave = MakeButton(this, tr("保存"), QRect(296, 287, 75, 25));
    BtnExit = MakeButton(this, tr("返回"), QRect(380, 287, 75, 25));
}

void TFrmEditP::CreateEditGroup() {
    GroupBox3 = new QGroupBox(tr("图片信息编辑："), this);
    GroupBox3->setGeometry(8, 4, 242, 276);
    Label1 = MakeLabel(GroupBox3, tr("图片题目："), QPoint(10, 27));
    EdtTM = new QLineEdit(GroupBox3);
    EdtTM->setGeometry(72, 23, 160, 21);
    EdtTM->setValidator(new TByteLimitValidator(TitleCapacity, EdtTM));
    Label3 = MakeLabel(GroupBox3, tr("停留时间："), QPoint(10, 55));
    EdtSJ = new QLineEdit(QStringLiteral("3"), GroupBox3);
    EdtSJ->setGeometry(72, 51, 50, 21);
    EdtSJ->installEventFilter(new TDwellKeyFilter(EdtSJ));
    // Digits only: an input method's text would pass round the key filter.
    EdtSJ->setAttribute(Qt::WA_InputMethodEnabled, false);
    Btn_X = MakeButton(GroupBox3, QStringLiteral("-"), QRect(125, 52, 18, 18));
    BtnM = MakeButton(GroupBox3, QStringLiteral("+"), QRect(145, 52, 18, 18));
    BtnToAll = MakeButton(GroupBox3, tr("到全部"), QRect(170, 50, 62, 23));
    BtnToAll->setToolTip(tr("将当前时间应用到本相册的所有图片"));
    Label2 = MakeLabel(GroupBox3, tr("变幻效果："), QPoint(10, 83));
    LbXG = new QListWidget(GroupBox3);
    LbXG->setGeometry(10, 100, 222, 166);
    // Long names are cut at the list's edge; the list's hint shows the whole selected line.
    LbXG->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int index = 0; index <= EffectCount; ++index) {
        LbXG->addItem(EffectLineText(index));
    }
}

void TFrmEditP::CreatePreviewGroup() {
    GroupBox1 = new QGroupBox(tr("效果预览："), this);
    GroupBox1->setGeometry(256, 4, 199, 180);
    PnlXG = new QFrame(GroupBox1);
    PnlXG->setGeometry(7, 20, TEditPPreview::Width, TEditPPreview::Height);
    PnlXG->setAutoFillBackground(true);
    QPalette silver = PnlXG->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    PnlXG->setPalette(silver);
    Img1 = new TImageView(TImageView::TFit::Actual, PnlXG);
    Img1->setGeometry(0, 0, TEditPPreview::Width, TEditPPreview::Height);
    Img1->SetBitmap(FOutgoingBuiltin);
    ImgShow = new TImageView(TImageView::TFit::Actual, PnlXG);
    ImgShow->setGeometry(0, 0, TEditPPreview::Width, TEditPPreview::Height);
}

void TFrmEditP::CreateViewGroup() {
    GroupBox2 = new QGroupBox(tr("查看控制："), this);
    GroupBox2->setGeometry(256, 188, 199, 92);
    SbtnPP = new QToolButton(GroupBox2);
    SbtnPP->setText(tr("上一张"));
    SbtnPP->setAutoRaise(true);
    SbtnPP->setGeometry(12, 24, 84, 26);
    SbtnNP = new QToolButton(GroupBox2);
    SbtnNP->setText(tr("下一张"));
    SbtnNP->setAutoRaise(true);
    SbtnNP->setGeometry(103, 24, 84, 26);
    BtnLookXG = MakeButton(GroupBox2, tr("效果预览"), QRect(12, 56, 175, 26));
}

void TFrmEditP::ConnectControls() {
    connect(EdtTM, &QLineEdit::textChanged, this, &TFrmEditP::EdtTMChange);
    connect(EdtSJ, &QLineEdit::textChanged, this, &TFrmEditP::EdtSJChange);
    connect(Btn_X, &QPushButton::clicked, this, &TFrmEditP::Btn_XClick);
    connect(BtnM, &QPushButton::clicked, this, &TFrmEditP::BtnMClick);
    connect(BtnToAll, &QPushButton::clicked, this, &TFrmEditP::BtnToAllClick);
    connect(LbXG, &QListWidget::currentRowChanged, this, &TFrmEditP::LbXGClick);
    connect(LbXG, &QListWidget::itemClicked, this, &TFrmEditP::LbXGClick);
    connect(BtnSave, &QPushButton::clicked, this, &TFrmEditP::BtnSaveClick);
    connect(SbtnPP, &QToolButton::clicked, this, &TFrmEditP::SbtnPPClick);
    connect(SbtnNP, &QToolButton::clicked, this, &TFrmEditP::SbtnNPClick);
    connect(BtnLookXG, &QPushButton::clicked, this, &TFrmEditP::BtnLookXGClick);
    connect(BtnExit, &QPushButton::clicked, this, &TFrmEditP::BtnExitClick);
    connect(BtnHelp, &QPushButton::clicked, this, &TFrmEditP::BtnHelpClick);
    connect(&FTimer1, &QTimer::timeout, this, &TFrmEditP::Timer1Timer);
    connect(&FHoldTimer, &QTimer::timeout, this, &TFrmEditP::HoldTimerTimeout);
}

void TFrmEditP::SetTimerIntervals(int holdMs, int tickMs) {
    FHoldTimer.setInterval(holdMs);
    FTimer1.setInterval(tickMs);
}

TPicInfo& TFrmEditP::Current() { return FStore.Pics.at(static_cast<std::size_t>(FStore.PicIndex)); }

TEditPFields TFrmEditP::Fields() const {
    return TEditPFields{EdtTM->text(), EdtSJ->text(), LbXG->currentRow()};
}

void TFrmEditP::LoadFitted(int picIndex, Bitmap& canvas) {
    canvas.FillRgb(0);
    RunGuarded(this, FServices, [&] {
        const TPicInfo& pic = FStore.Pics.at(static_cast<std::size_t>(picIndex));
        const std::string path =
            FStore.StoredFilePath(std::string(TrimBlanks(pic.StoredName.Text())));
        // The TIFF reader's notices about a damaged file are shown like every other notice.
        const MessageSink notices = [this](const std::string& text) {
            FServices.Prompt(this, TPrompt{QString::fromStdString(text), QStringLiteral("Velmora"),
                                           QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok});
        };
        DrawPictureFitted(path, canvas, notices);
    });
}

void TFrmEditP::ShowPicture() {
    const TPicInfo& pic = Current();
    const TEditPFields fields = FieldsOf(pic);
    // Setting a text to a new value runs its change handler, the dwell field's zero rule
    // included; the list's selection runs nothing.
    EdtTM->setText(fields.Title);
    EdtSJ->setText(fields.DwellText);
    {
        const QSignalBlocker quiet(LbXG);
        LbXG->setCurrentRow(fields.EffectLine);
    }
    LbXG->scrollToItem(LbXG->currentItem());
    LoadFitted(FStore.PicIndex, FEditedPicture);
    ImgShow->SetBitmap(FEditedPicture);
    setWindowTitle(EditPCaption(FStore.PicIndex));
    UpdateSaveButton();
}

void TFrmEditP::UpdateSaveButton() { BtnSave->setEnabled(SaveButtonEnabled(Current(), Fields())); }

void TFrmEditP::EdtTMChange() { UpdateSaveButton(); }

void TFrmEditP::EdtSJChange() {
    RunGuarded(this, FServices, [&] {
        const QString text = EdtSJ->text();
        const QString after = DwellAfterChange(text);
        if (after != text) EdtSJ->setText(after);  // runs this handler again for "3"
        UpdateSaveButton();
    });
}

void TFrmEditP::Btn_XClick() {
    RunGuarded(this, FServices, [&] { EdtSJ->setText(DwellMinus(EdtSJ->text())); });
}

void TFrmEditP::BtnMClick() {
    RunGuarded(this, FServices, [&] { EdtSJ->setText(DwellPlus(EdtSJ->text())); });
}

void TFrmEditP::BtnToAllClick() {
    RunGuarded(this, FServices, [&] {
        const QString typed = EdtSJ->text();
        ApplyDwellTextToAll(FStore, typed);
        // The list shows the text as typed ("007"); the records hold its value.
        for (int i = 0; i < FStore.PicCount; ++i) FHost.SetPictureDwellText(i, typed);
    });
}

void TFrmEditP::LbXGClick() {
    if (QListWidgetItem* item = LbXG->currentItem()) LbXG->setToolTip(item->text());
    UpdateSaveButton();
}

void TFrmEditP::BtnSaveClick() {
    RunGuarded(this, FServices, [&] {
        // A refused value or a failed write leaves record and file as they were, and Save
        // stays enabled for another try.
        SaveEditedPicture(FStore, FStore.PicIndex, Fields());
        BtnSave->setEnabled(false);
        FHost.RefreshPictureRow(FStore.PicIndex);
    });
}

void TFrmEditP::Step(int delta) {
    // Unsaved changes are dropped without a question.
    FStore.PicIndex += delta;
    const TStepButtons steps = StepButtons(FStore.PicIndex, FStore.PicCount);
    SbtnPP->setEnabled(steps.Previous);
    SbtnNP->setEnabled(steps.Next);
    BtnSave->setEnabled(false);
    ShowPicture();
    const int index = FStore.PicIndex;
    RunGuarded(this, FServices, [&] { FHost.SelectPicture(index); });
}

void TFrmEditP::SbtnPPClick() {
    if (FStore.PicIndex > 0) Step(-1);
}

void TFrmEditP::SbtnNPClick() {
    if (FStore.PicIndex < FStore.PicCount - 1) Step(+1);
}

void TFrmEditP::BtnLookXGClick() {
    if (FPreview.Tagged()) {
        FPreview.Stop();
        BtnLookXG->setText(tr("效果预览"));
        return;
    }
    RunGuarded(this, FServices, [&] {
        Bitmap outgoing(TEditPPreview::Width, TEditPPreview::Height);
        if (FStore.PicCount > 1 && FStore.PicIndex != 0) {
            LoadFitted(FStore.PicIndex - 1, outgoing);
        } else {
            outgoing = FOutgoingBuiltin;
        }
        FTimer1.stop();
        FPreview.Start(FEditedPicture, outgoing, LbXG->currentRow());
        BtnLookXG->setText(tr("停止预览"));
        ImgShow->SetBitmap(FPreview.Shown());
        // The outgoing picture stands for one second before the first frame; a timer, so
        // that the window keeps painting and answering meanwhile.
        FHoldTimer.start();
    });
}

void TFrmEditP::HoldTimerTimeout() {
    FHoldTimer.stop();
    if (!FPreview.Holding()) return;
    FPreview.HoldElapsed();
    FTimer1.start();
}

void TFrmEditP::Timer1Timer() {
    if (!FPreview.Tick()) {
        FTimer1.stop();
        return;
    }
    ImgShow->SetBitmap(FPreview.Shown());
    if (!FPreview.TickTimerEnabled()) EndPreviewDisplay();
}

void TFrmEditP::EndPreviewDisplay() {
    FTimer1.stop();
    BtnLookXG->setText(tr("效果预览"));
}

void TFrmEditP::BtnExitClick() { close(); }

void TFrmEditP::BtnHelpClick() {
    RunGuarded(this, FServices, [&] { FHost.ShowHelp(); });
}

void TFrmEditP::done(int result) {
    // FormClose: a running preview stops with the window.
    FHoldTimer.stop();
    FTimer1.stop();
    FPreview.Cancel();
    QDialog::done(result);
}

}  // namespace velmora::ui
