// The controls of the production dialog and their arrangement: the settings on the left, the
// preview, the status and the two run buttons on the right.

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "production/ui/MakeSaveDialog.h"
#include "production/ui/UnitMake.h"
#include "widgets/ImageView.h"

namespace velmora::ui {

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

/// A push button that Enter never presses: neither Enter nor Esc may start or end anything
/// by accident while the dialog is open.
QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    QPushButton* button = Named(new QPushButton(text, parent), name);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

void TFrmMake::CreateControls() {
    auto* left = new QVBoxLayout;
    left->addWidget(CreateOutputGroup());
    left->addLayout(CreateOutputRow());
    left->addWidget(CreateSyncGroup());
    left->addWidget(CreateAdvancedGroup(), 1);

    auto* buttons = new QHBoxLayout;
    SbtnMake = Button(tr("生成相册"), "SbtnMake", this);
    SbtnStop = Button(tr("终止生成"), "SbtnStop", this);
    SbtnStop->setEnabled(false);
    buttons->addWidget(SbtnMake);
    buttons->addWidget(SbtnStop);

    auto* right = new QVBoxLayout;
    right->addWidget(CreatePreviewGroup());
    right->addWidget(CreateStatusGroup());
    right->addStretch(1);
    right->addLayout(buttons);

    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addLayout(right);
    // A fixed-size dialog: the layout's size is the dialog's size.
    main->setSizeConstraint(QLayout::SetFixedSize);

    Sdlg = new TMakeSaveDialog(this);
}

QGroupBox* TFrmMake::CreateOutputGroup() {
    RGOutType = Named(new QGroupBox(tr("输出视频格式："), this), "RGOutType");
    FOutTypeButtons = new QButtonGroup(this);
    auto* types = new QHBoxLayout;
    const TOutputType order[] = {TOutputType::VCD, TOutputType::SVCD, TOutputType::DVD,
                                 TOutputType::MP4_720p, TOutputType::MP4_1080p};
    for (TOutputType type : order) {
        auto* radio = new QRadioButton(QString::fromLatin1(OutputPreset(type).Caption), RGOutType);
        // "RGOutTypeVCD", ..., "RGOutTypeMP4-1080p" (the prefix without its dash).
        const QString prefix = QString::fromLatin1(OutputPreset(type).Prefix);
        radio->setObjectName(QStringLiteral("RGOutType") + prefix.left(prefix.size() - 1));
        FOutTypeButtons->addButton(radio, static_cast<int>(type));
        types->addWidget(radio, 1);
    }
    FOutTypeButtons->button(static_cast<int>(TOutputType::VCD))->setChecked(true);
    CboxDisc = Named(new QCheckBox(tr("同时生成光盘映像"), RGOutType), "CboxDisc");
    CboxDisc->setToolTip(tr(
        "DVD：生成 DVD 文件夹（每张图片一个章节）和 ISO 映像；\nVCD、SVCD：生成 BIN/CUE 映像。"));
    auto* column = new QVBoxLayout(RGOutType);
    column->addLayout(types);
    column->addWidget(CboxDisc);
    return RGOutType;
}

QLayout* TFrmMake::CreateOutputRow() {
    EdtOut = Named(new QLineEdit(this), "EdtOut");
    EdtOut->setReadOnly(true);
    EdtOut->setMinimumWidth(250);
    SpeedButton3 = Button(QStringLiteral("..."), "SpeedButton3", this);
    SpeedButton3->setFixedWidth(32);
    auto* output = new QHBoxLayout;
    output->addWidget(new QLabel(tr("输出："), this));
    output->addWidget(EdtOut, 1);
    output->addWidget(SpeedButton3);
    return output;
}

QGroupBox* TFrmMake::CreateSyncGroup() {
    auto* group = Named(new QGroupBox(tr("影音同步设置："), this), "GroupBox2");
    CboxTB = Named(new QCheckBox(tr("自动影音同步"), group), "CboxTB");
    LPicTime = Named(new QLabel(tr("全部图片播放时间："), group), "LPicTime");
    LMusTime = Named(new QLabel(tr("全部音乐播放时间："), group), "LMusTime");
    auto* column = new QVBoxLayout(group);
    column->addWidget(CboxTB);
    column->addWidget(LPicTime);
    column->addWidget(LMusTime);
    return group;
}

QGroupBox* TFrmMake::CreateAdvancedGroup() {
    GroupBox3 = Named(new QGroupBox(tr("视频高级设置："), this), "GroupBox3");
    CboxMH = Named(new QCheckBox(tr("视频背景逐渐淡化效果"), GroupBox3), "CboxMH");
    RbtnYS = Named(new QRadioButton(tr("填充背景色"), GroupBox3), "RbtnYS");
    RbtnYS->setToolTip(tr("当图片的高宽与视频的高宽的比\n值不同时将填充图片的背景色。"));
    RbtnYS->setChecked(true);
    Button1 = Button(tr("颜色设置..."), "Button1", GroupBox3);
    RbtnTP = Named(new QRadioButton(tr("填充背景图（随机选取下列图片）"), GroupBox3), "RbtnTP");
    RbtnTP->setToolTip(tr("当图片的高宽与视频的高宽的比\n值不同时将填充图片的背景图。"));
    RbtnBlur = Named(new QRadioButton(tr("填充模糊背景"), GroupBox3), "RbtnBlur");
    RbtnBlur->setToolTip(tr("当图片的高宽与视频的高宽的比\n值不同时将填充图片本身的模糊放大图。"));
    Clb1 = Named(new QListWidget(GroupBox3), "Clb1");
    Clb1->setFixedHeight(104);

    auto* colour = new QHBoxLayout;
    colour->addWidget(RbtnYS);
    colour->addStretch(1);
    colour->addWidget(Button1);
    auto* column = new QVBoxLayout(GroupBox3);
    column->addWidget(CboxMH);
    column->addLayout(colour);
    column->addWidget(RbtnTP);
    column->addWidget(Clb1, 1);
    column->addWidget(RbtnBlur);
    return GroupBox3;
}

QGroupBox* TFrmMake::CreatePreviewGroup() {
    auto* group = Named(new QGroupBox(tr("生成预览："), this), "GroupBox4");
    PnlBack = Named(new QWidget(group), "PnlBack");
    PnlBack->setFixedSize(PreviewPanelWidth, PreviewPanelHeight);
    // Image1: the black backdrop filling the panel; ImgMpg lies over it.
    Image1 = Named(new QWidget(PnlBack), "Image1");
    Image1->setGeometry(0, 0, PreviewPanelWidth, PreviewPanelHeight);
    Image1->setAutoFillBackground(true);
    QPalette black = Image1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Image1->setPalette(black);
    ImgMpg = Named(new TImageView(TImageView::TFit::Stretch, PnlBack), "ImgMpg");
    auto* column = new QVBoxLayout(group);
    column->addWidget(PnlBack, 0, Qt::AlignHCenter);
    return group;
}

QGroupBox* TFrmMake::CreateStatusGroup() {
    auto* group = Named(new QGroupBox(tr("当前状态："), this), "GroupBox5");
    Lguage = Named(new QLabel(tr("完成进度：0%"), group), "Lguage");
    LOverTine = Named(new QLabel(tr("剩余时间：00:00"), group), "LOverTine");
    auto* column = new QVBoxLayout(group);
    column->addWidget(Lguage);
    column->addWidget(LOverTine);
    return group;
}

}  // namespace velmora::ui
