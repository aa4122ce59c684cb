// The main window's construction: the controls, their sizes and captions, and the wiring of
// their signals to the handlers (UnitMainActions.cpp).

#include "app/UnitMain.h"
#include "audio/ui/KivMp3PlayWidget.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Artwork.h"
#include "app/MainWidgets.h"
#include "app/PicturePreview.h"
#include "app/StoreModels.h"
#include "store/Pub.h"
#include "widgets/AppFont.h"
#include "widgets/Guard.h"
#include "widgets/Services.h"

namespace velmora::ui {

namespace {

constexpr int WindowWidth = 800;
constexpr int WindowHeight = 567;
constexpr int RightColumnWidth = 189;
constexpr int FootHeight = 25;
const QSize LookPageSize(185, 152);  // the preview box of Image1, and the player page

/// A title panel: a caption on the calm title colour.
QLabel* TitlePanel(const QString& name, QWidget* parent, bool bold = false) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, TitleBackground());
    palette.setColor(QPalette::WindowText, TitleText());
    label->setPalette(palette);
    label->setMinimumHeight(22);
    label->setContentsMargins(6, 0, 6, 0);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

QToolButton* IconButton(const QString& name, TArt art, const QString& hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(ArtIcon(art));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(22, 22);
    return button;
}

QPushButton* TextButton(const QString& name, const QString& text, QWidget* parent,
                        std::optional<TArt> art = std::nullopt) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    if (art) button->setIcon(ArtIcon(*art));
    button->setMinimumHeight(26);
    return button;
}

/// A read-only report list with whole-row selection and the given column widths.
QTableView* ReportList(const QString& name, QAbstractItemModel* model,
                       std::initializer_list<int> widths, bool grid, QWidget* parent) {
    auto* list = new QTableView(parent);
    list->setObjectName(name);
    list->setModel(model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(grid);
    list->setWordWrap(false);
    list->setTextElideMode(Qt::ElideRight);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(20);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->horizontalHeader()->setStretchLastSection(false);
    list->setIconSize(QSize(16, 16));
    int column = 0;
    for (int width : widths) list->setColumnWidth(column++, width);
    list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    return list;
}

}  // namespace

TFrmMain::TFrmMain(TAlbumStore& store, TServices& services, TBassApi& bass, QWidget* parent)
    : QWidget(parent), FStore(store), FServices(services), FBass(bass) {
    // Start values of the store; RootPath is the store root the program chose.
    FStore.AlbumCount = 0;
    FStore.AlbumIndex = -1;
    FStore.PicCount = 0;
    FStore.PicIndex = -1;
    FStore.MusicCount = 0;
    FStore.MusicIndex = -1;
    FStore.AlbumPath.clear();

    setObjectName(QStringLiteral("FrmMain"));
    setWindowIcon(ArtIcon(TArt::Program));
    FAlbumModel = new TAlbumListModel(FStore, ArtIcon(TArt::AlbumState), this);
    FPicModel = new TPicListModel(FStore, ArtIcon(TArt::PictureState), this);
    FMusicModel = new TMusicListModel(FStore, ArtIcon(TArt::SongState), this);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(4, 4, 4, 4);
    body->setSpacing(4);
    auto* left = new QWidget(this);
    auto* right = new QWidget(this);
    right->setFixedWidth(RightColumnWidth);
    BuildLeftArea(left);
    BuildRightColumn(right);
    body->addWidget(left, 1);
    body->addWidget(right);
    outer->addLayout(body, 1);
    outer->addWidget(BuildFootStrip());
    ConnectHandlers();

    resize(WindowWidth, WindowHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.center() - QPoint(WindowWidth / 2, WindowHeight / 2));
    }
    PageButtonClick(PagePictures);
    setWindowTitle(tr("Velmora2009 V15.18"));
    RunGuarded(this, FServices, [this] {
        FStore.LoadRecords("A");
        FAlbumModel->Fill();
        if (FAlbumModel->rowCount() > 0) SelectRow(LvwA, FStore.AlbumIndex);
    });
    // Selecting the album row opened it; without one the window still shows its state.
    if (SelectedRow(LvwA) < 0) RefreshState();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::BuildRightColumn(QWidget* column) {
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    PnlAllAblumTile = TitlePanel(QStringLiteral("PnlAllAblumTile"), column);
    layout->addWidget(PnlAllAblumTile);
    LvwA = ReportList(QStringLiteral("LvwA"), FAlbumModel, {20, 131}, false, column);
    layout->addWidget(LvwA, 1);
    auto* albumButtons = new QHBoxLayout;
    albumButtons->setSpacing(4);
    SbtNewAblm = TextButton(QStringLiteral("SbtNewAblm"), tr("新建相册"), column, TArt::Add);
    SbtDelA = TextButton(QStringLiteral("SbtDelA"), tr("删除相册"), column, TArt::Remove);
    albumButtons->addWidget(SbtNewAblm);
    albumButtons->addWidget(SbtDelA);
    layout->addLayout(albumButtons);

    auto* look = TitlePanel(QStringLiteral("PnlCurLookFrame"), column);
    look->setContentsMargins(0, 0, 0, 0);
    auto* lookRow = new QHBoxLayout(look);
    lookRow->setContentsMargins(2, 1, 2, 1);
    BtnPP = IconButton(QStringLiteral("BtnPP"), TArt::Previous, tr("浏览上幅图片"), look);
    BtnNP = IconButton(QStringLiteral("BtnNP"), TArt::Next, tr("浏览下幅图片"), look);
    PnlCurLook = new QLabel(look);
    PnlCurLook->setObjectName(QStringLiteral("PnlCurLook"));
    PnlCurLook->setAlignment(Qt::AlignCenter);
    lookRow->addWidget(BtnPP);
    lookRow->addWidget(PnlCurLook, 1);
    lookRow->addWidget(BtnNP);
    look->setFixedHeight(26);
    layout->addWidget(look);

    NotebookLook = new QStackedWidget(column);
    NotebookLook->setObjectName(QStringLiteral("NotebookLook"));
    NotebookLook->setFixedSize(LookPageSize);
    PreviewPage = new TPicturePreview(
        LookPageSize, [this](const QString& text) { ShowLoaderMessage(text); }, NotebookLook);
    NotebookLook->addWidget(PreviewPage);
    NotebookLook->addWidget(BuildPlayerPage());
    layout->addWidget(NotebookLook, 0, Qt::AlignHCenter);

    BtnBeginMake = TextButton(QStringLiteral("BtnBeginMake"), tr("生成制作"), column, TArt::Make);
    BtnBeginMake->setMinimumHeight(32);
    layout->addWidget(BtnBeginMake);
}

QWidget* TFrmMain::BuildPlayerPage() {
    auto* page = new QWidget(NotebookLook);
    page->setFixedSize(LookPageSize);
    Image3 = new QLabel(page);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(0, 0, LookPageSize.width(), LookPageSize.height());
    Image3->setPixmap(QPixmap::fromImage(PlayerBackground(LookPageSize)));
    QWidget* player = CreatePlayerWidget(page);
    const QRect playerPlace((LookPageSize.width() - 177) / 2, 2, 177, 121);
    player->setGeometry(playerPlace);
    KivMp3Play1->SetBackground(PlayerBackground(LookPageSize).copy(playerPlace));
    auto* strip = new QWidget(page);
    strip->setGeometry(0, LookPageSize.height() - 27, LookPageSize.width(), 27);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(3, 1, 3, 2);
    row->setSpacing(1);
    bsSkinTrackBar1 = new TTrackBar(strip);
    bsSkinTrackBar1->setObjectName(QStringLiteral("bsSkinTrackBar1"));
    SbtPlay = IconButton(QStringLiteral("SbtPlay"), TArt::Play, tr("播放"), strip);
    SbtPause = IconButton(QStringLiteral("SbtPause"), TArt::Pause, tr("暂停"), strip);
    SbtStop = IconButton(QStringLiteral("SbtStop"), TArt::Stop, tr("停止"), strip);
    for (QToolButton* button : {SbtPlay, SbtPause, SbtStop}) button->setAutoRaise(false);
    row->addWidget(bsSkinTrackBar1, 1);
    row->addWidget(SbtPlay);
    row->addWidget(SbtPause);
    row->addWidget(SbtStop);
    return page;
}

void TFrmMain::BuildLeftArea(QWidget* area) {
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    PnlCurAblmTile = TitlePanel(QStringLiteral("PnlCurAblmTile"), area, true);
    PnlCurAblmTile->setMinimumHeight(26);
    PnlCurAblmTile->setText(CurAlbumTitle(QString()));
    layout->addWidget(PnlCurAblmTile);

    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(2);
    SbtEditpic = TextButton(QStringLiteral("SbtEditpic"), tr("编辑图片信息"), area,
                            TArt::PictureState);
    SbtEditMusic = TextButton(QStringLiteral("SbtEditMusic"), tr("编辑音乐信息"), area,
                              TArt::SongState);
    auto* group = new QButtonGroup(area);
    group->setExclusive(true);
    group->addButton(SbtEditpic, PagePictures);
    group->addButton(SbtEditMusic, PageSongs);
    for (QPushButton* tab : {SbtEditpic, SbtEditMusic}) {
        tab->setCheckable(true);
        tab->setStyleSheet(PageTabStyle());
        tab->setMinimumWidth(120);
        tabs->addWidget(tab);
    }
    connect(group, &QButtonGroup::idClicked, this, &TFrmMain::PageButtonClick);
    tabs->addStretch(1);
    layout->addLayout(tabs);

    auto* listTitle = new QHBoxLayout;
    listTitle->setSpacing(2);
    PnlListTile = TitlePanel(QStringLiteral("PnlListTile"), area);
    BtnUP = IconButton(QStringLiteral("BtnUP"), TArt::Up, tr("当前项向前移动"), area);
    BtnDP = IconButton(QStringLiteral("BtnDP"), TArt::Down, tr("当前项向后移动"), area);
    listTitle->addWidget(PnlListTile, 1);
    listTitle->addWidget(BtnUP);
    listTitle->addWidget(BtnDP);
    layout->addLayout(listTitle);

    NotebookList = new QStackedWidget(area);
    NotebookList->setObjectName(QStringLiteral("NotebookList"));
    LvwP = ReportList(QStringLiteral("LvwP"), FPicModel, {20, 60, 100, 250, 100}, true,
                      NotebookList);
    LvwM = ReportList(QStringLiteral("LvwM"), FMusicModel, {20, 60, 120, 100, 230}, true,
                      NotebookList);
    NotebookList->addWidget(LvwP);
    NotebookList->addWidget(LvwM);
    layout->addWidget(NotebookList, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    BtnDelAP = TextButton(QStringLiteral("BtnDelAP"), QString(), area, TArt::RemoveAll);
    BtnDelOP = TextButton(QStringLiteral("BtnDelOP"), QString(), area, TArt::Remove);
    BtnEditP = TextButton(QStringLiteral("BtnEditP"), QString(), area, TArt::Edit);
    BtnAddP = TextButton(QStringLiteral("BtnAddP"), QString(), area, TArt::Add);
    buttons->addWidget(BtnDelAP);
    buttons->addWidget(BtnDelOP);
    buttons->addWidget(BtnEditP);
    buttons->addStretch(1);
    buttons->addWidget(BtnAddP);
    layout->addLayout(buttons);
}

QWidget* TFrmMain::BuildFootStrip() {
    auto* strip = new QWidget(this);
    strip->setFixedHeight(FootHeight);
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, FootBackground());
    strip->setPalette(palette);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    PnlHelp = new TClickPanel(tr("帮助"), strip);
    PnlHelp->setObjectName(QStringLiteral("PnlHelp"));
    PnlReg = new TClickPanel(tr("关于"), strip);
    PnlReg->setObjectName(QStringLiteral("PnlReg"));
    row->addWidget(PnlHelp, 1);
    row->addWidget(CreateTicker(strip));
    row->addWidget(PnlReg, 1);
    return strip;
}

void TFrmMain::ConnectHandlers() {
    connect(LvwA->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFrmMain::LvwAChange);
    connect(LvwP->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFrmMain::LvwPChange);
    connect(LvwM->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFrmMain::LvwMChange);
    connect(SbtNewAblm, &QPushButton::clicked, this, &TFrmMain::SbtNewAblmClick);
    connect(SbtDelA, &QPushButton::clicked, this, &TFrmMain::SbtDelAClick);
    connect(BtnUP, &QToolButton::clicked, this, &TFrmMain::BtnUPClick);
    connect(BtnDP, &QToolButton::clicked, this, &TFrmMain::BtnDPClick);
    connect(BtnPP, &QToolButton::clicked, this, &TFrmMain::BtnPPClick);
    connect(BtnNP, &QToolButton::clicked, this, &TFrmMain::BtnNPClick);
    connect(BtnDelAP, &QPushButton::clicked, this, &TFrmMain::BtnDelAPClick);
    connect(BtnDelOP, &QPushButton::clicked, this, &TFrmMain::BtnDelOPClick);
    connect(BtnAddP, &QPushButton::clicked, this, &TFrmMain::BtnAddPClick);
    connect(BtnEditP, &QPushButton::clicked, this, &TFrmMain::BtnEditPClick);
    connect(BtnBeginMake, &QPushButton::clicked, this, &TFrmMain::BtnBeginMakeClick);
    connect(SbtPlay, &QToolButton::clicked, this, &TFrmMain::SbtPlayClick);
    connect(SbtPause, &QToolButton::clicked, this, &TFrmMain::SbtPauseClick);
    connect(SbtStop, &QToolButton::clicked, this, &TFrmMain::SbtStopClick);
    connect(bsSkinTrackBar1, &TTrackBar::MouseDown, this, &TFrmMain::TrackBarMouseDown);
    connect(bsSkinTrackBar1, &TTrackBar::MouseUp, this, &TFrmMain::TrackBarMouseUp);
    connect(PnlHelp, &TClickPanel::Clicked, this, &TFrmMain::PnlHelpClick);
    connect(PnlReg, &TClickPanel::Clicked, this, &TFrmMain::PnlRegClick);
}

}  // namespace velmora::ui
