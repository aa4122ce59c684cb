#include "store/ui/UnitAddA.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/Catalogue.h"
#include "store/Pub.h"
#include "widgets/ByteLimitValidator.h"
#include "widgets/Guard.h"

namespace velmora::ui {

namespace {

constexpr int ClientWidth = 392;
constexpr int ClientHeight = 356;

// The catalogue's notices are this dialog's texts; listed here so that the translation tools
// find them (the dialog looks them up in its own context at run time).
[[maybe_unused]] const char* const CatalogueNotices[] = {
    QT_TRANSLATE_NOOP("velmora::ui::TFrmAddA", " 提示：请输入新的相册名称!"),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmAddA", " 提示：现输入的相册名称已存在,创建无效!"),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmAddA", " 提示：当前已经输入的相册名称系统还没有,可以创建!"),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmAddA",
                      " 提示：相册名称不能含有 \\ / : * ? | \" < > 或控制字符,创建无效!"),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmAddA", " 提示：相册名称不能是 . 或 ..,创建无效!"),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmAddA",
                      " 提示：相册名称太长(最多90字节,一个汉字占2字节),创建无效!"),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmAddA", " 提示：相册名称含有无效的文字编码,创建无效!"),
};

QString ListLabel(int count) {
    if (count <= 0) return TFrmAddA::tr("系统已有相册列表(暂无)：");
    return TFrmAddA::tr("系统已有相册列表(共%1个)：").arg(count);
}

}  // namespace

TFrmAddA::TFrmAddA(TAlbumStore& store, TServices& services, QWidget* parent)
    : QDialog(parent), FStore(store), FServices(services) {
    setWindowTitle(tr("添加相册"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    BuildControls();
    setFixedSize(ClientWidth, ClientHeight);

    // On creation: the existing albums in catalogue order, an empty name, nothing to create.
    Lst->clear();
    for (int i = 0; i < FStore.AlbumCount && i < static_cast<int>(FStore.Albums.size()); ++i) {
        Lst->addItem(QString::fromStdString(FStore.Albums[i].Name.Text()));
    }
    UpdateListLabel();
    Edt->clear();
    BtnAdd->setEnabled(false);

    connect(Edt, &QLineEdit::textChanged, this, [this] { EdtChange(); });
    connect(BtnAdd, &QPushButton::clicked, this, [this] { BtnAddClick(); });
    connect(BtnClose, &QPushButton::clicked, this, [this] { close(); });
    Edt->installEventFilter(this);
}

void TFrmAddA::BuildControls() {
    auto* header = new QLabel(tr("创建新的相册"), this);
    QFont bold = header->font();
    bold.setBold(true);
    bold.setPixelSize(bold.pixelSize() > 0 ? bold.pixelSize() + 2 : 14);
    header->setFont(bold);
    Lab = new QLabel(this);
    Lst = new QListWidget(this);
    auto* prompt = new QLabel(tr("输入新建相册名称："), this);
    Edt = new QLineEdit(this);
    Edt->setValidator(new TByteLimitValidator(AlbumNameCapacity, Edt));
    BtnAdd = new QPushButton(tr("创建"), this);
    BtnClose = new QPushButton(tr("退出"), this);
    // Enter in the name field is the field's own business (it creates only when allowed):
    // neither button takes it as the dialog's default.
    BtnAdd->setAutoDefault(false);
    BtnClose->setAutoDefault(false);
    PnlNotice = new QLabel(tr(" 提示："), this);
    PnlNotice->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PnlNotice->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PnlNotice->setMinimumHeight(24);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnAdd);
    buttons->addWidget(BtnClose);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 12, 16, 8);
    body->setSpacing(6);
    body->addWidget(header);
    body->addWidget(Lab);
    body->addWidget(Lst, 1);
    body->addSpacing(4);
    body->addWidget(prompt);
    body->addWidget(Edt);
    body->addSpacing(2);
    body->addLayout(buttons);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addLayout(body, 1);
    outer->addWidget(PnlNotice);
}

void TFrmAddA::UpdateListLabel() { Lab->setText(ListLabel(Lst->count())); }

void TFrmAddA::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Lst->count() > 0) {
        Lst->setCurrentRow(Lst->count() - 1);
        Lst->scrollToItem(Lst->currentItem());
        Lst->setFocus();
    }
    Edt->setFocus();
}

void TFrmAddA::EdtChange() {
    const TAlbumNameCheck check = CheckAlbumName(FStore, Edt->text().toStdString());
    PnlNotice->setText(tr(check.Notice.c_str()));
    BtnAdd->setEnabled(check.CanCreate);
}

void TFrmAddA::BtnAddClick() {
    if (!BtnAdd->isEnabled()) return;
    RunGuarded(this, FServices, [this] {
        const std::string name = CreateAlbum(FStore, Edt->text().toStdString());
        FCreatedIndex = FStore.AlbumCount - 1;
        Lst->addItem(QString::fromStdString(name));
        Lst->setCurrentRow(Lst->count() - 1);
        Lst->scrollToItem(Lst->currentItem());
        UpdateListLabel();
        Edt->clear();
        BtnAdd->setEnabled(false);
    });
    Edt->setFocus();
}

bool TFrmAddA::EdtKeyPress(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (BtnAdd->isEnabled()) BtnAdd->click();
        return true;
    }
    const QString typed = event->text();
    if (typed.isEmpty()) return false;
    const QString kept = QString::fromStdString(FilterAlbumNameInput(typed.toStdString()));
    if (kept == typed) return false;
    // Characters a folder name cannot hold are dropped as they are typed.
    if (!kept.isEmpty()) Edt->insert(kept);
    return true;
}

bool TFrmAddA::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edt && event->type() == QEvent::KeyPress) {
        return EdtKeyPress(static_cast<QKeyEvent*>(event));
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmAddA::done(int result) {
    // However the dialog is closed, it reports whether it created an album.
    QDialog::done(FCreatedIndex >= 0 ? QDialog::Accepted : result);
}

}  // namespace velmora::ui
