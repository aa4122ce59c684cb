#include "app/tests/WindowTexts.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QWidget>

namespace velmora::test {

namespace {

QString PathOf(const QWidget* widget, const QWidget* top) {
    QStringList parts;
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        QString part = QString::fromLatin1(w->metaObject()->className());
        if (!w->objectName().isEmpty()) part += QLatin1Char('#') + w->objectName();
        parts.prepend(part);
        if (w == top) break;
    }
    return parts.join(QLatin1Char('/'));
}

int WidestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

// The room a check box or radio button leaves its text: the indicator and its spacing off.
int IndicatorRoom(const QAbstractButton* button) {
    const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
    const QStyle* style = button->style();
    const int indicator = style->pixelMetric(
        radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, button);
    const int spacing = style->pixelMetric(
        radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr,
        button);
    return indicator + spacing;
}

void AddButton(std::vector<TShownText>& out, const QAbstractButton* button, const QString& where,
               bool visible) {
    TShownText shown{where, QStringLiteral("button"), button->text(), 0, 0, visible};
    if (!button->text().isEmpty()) {
        // "&" marks a mnemonic and takes no room.
        const QString plain = QString(button->text()).remove(QLatin1Char('&'));
        shown.Needed = WidestLine(button->fontMetrics(), plain);
        if (qobject_cast<const QCheckBox*>(button) || qobject_cast<const QRadioButton*>(button)) {
            shown.Available = button->contentsRect().width() - IndicatorRoom(button);
        } else {
            // A push button's bevel takes a few pixels on each side.
            const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr,
                                                            button) / 2;
            shown.Available = button->contentsRect().width() - 2 * margin;
        }
    }
    out.push_back(shown);
}

void AddLabel(std::vector<TShownText>& out, const QLabel* label, const QString& where,
              bool visible) {
    if (label->text().isEmpty()) return;
    TShownText shown{where, QStringLiteral("label"), label->text(), 0, 0, visible};
    if (!label->wordWrap() && label->textFormat() != Qt::RichText) {
        shown.Needed = WidestLine(label->fontMetrics(), label->text()) + 2 * label->margin() +
                       std::max(0, label->indent());
        shown.Available = label->contentsRect().width();
    }
    out.push_back(shown);
}

void AddItemTexts(std::vector<TShownText>& out, QWidget* widget, const QString& where,
                  bool visible) {
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        for (int i = 0; i < list->count(); ++i) {
            out.push_back({where, QStringLiteral("item"), list->item(i)->text(), 0, 0, visible});
            out.push_back(
                {where, QStringLiteral("tip"), list->item(i)->toolTip(), 0, 0, visible});
        }
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(widget);
        view && view->model() && !qobject_cast<QListWidget*>(widget)) {
        const QAbstractItemModel* model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                out.push_back({where, QStringLiteral("cell"),
                               model->index(row, column).data().toString(), 0, 0, visible});
            }
        }
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        for (int i = 0; i < combo->count(); ++i) {
            out.push_back({where, QStringLiteral("item"), combo->itemText(i), 0, 0, visible});
        }
    }
    if (auto* header = qobject_cast<QHeaderView*>(widget); header && header->model()) {
        for (int i = 0; i < header->count(); ++i) {
            const QString text =
                header->model()->headerData(i, header->orientation()).toString();
            TShownText shown{where, QStringLiteral("header"), text, 0, 0,
                             visible && !header->isSectionHidden(i)};
            if (header->orientation() == Qt::Horizontal && !text.isEmpty()) {
                // The section's text margins take the style's focus frame on each side.
                const int margin =
                    header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
                shown.Needed = header->fontMetrics().horizontalAdvance(text) + 2 * margin;
                shown.Available = header->sectionSize(i);
            }
            out.push_back(shown);
        }
    }
    if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i) {
            out.push_back({where, QStringLiteral("tab"), tabs->tabText(i), 0, 0, visible});
        }
    }
}

}  // namespace

std::vector<TShownText> ShownTexts(QWidget* window) {
    std::vector<TShownText> out;
    out.push_back({PathOf(window, window), QStringLiteral("title"), window->windowTitle(), 0, 0,
                   window->isVisible()});
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        const QString where = PathOf(widget, window);
        const bool visible = widget->isVisibleTo(window) || widget == window;
        if (!widget->toolTip().isEmpty()) {
            out.push_back({where, QStringLiteral("tip"), widget->toolTip(), 0, 0, visible});
        }
        if (!widget->whatsThis().isEmpty()) {
            out.push_back({where, QStringLiteral("tip"), widget->whatsThis(), 0, 0, visible});
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            AddButton(out, button, where, visible);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            AddLabel(out, label, where, visible);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            TShownText shown{where, QStringLiteral("group"), group->title(), 0, 0, visible};
            if (!group->title().isEmpty()) {
                shown.Needed = group->fontMetrics().horizontalAdvance(group->title());
                shown.Available = group->width();
            }
            out.push_back(shown);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            out.push_back({where, QStringLiteral("edit"), edit->text(), 0, 0, visible});
            out.push_back(
                {where, QStringLiteral("placeholder"), edit->placeholderText(), 0, 0, visible});
        }
        AddItemTexts(out, widget, where, visible);
    }
    return out;
}

bool HasChinese(const QString& text) {
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 0x3000 && u <= 0x303F) || (u >= 0x3400 && u <= 0x9FFF) ||
            (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF)) {
            return true;
        }
    }
    return false;
}

QStringList ChineseTexts(const std::vector<TShownText>& texts, const QStringList& userData) {
    QStringList found;
    for (const TShownText& shown : texts) {
        if (!HasChinese(shown.Text)) continue;
        const bool isUserData = std::any_of(userData.begin(), userData.end(),
                                            [&](const QString& data) {
                                                return shown.Text.contains(data);
                                            });
        if (!isUserData) found << shown.Where + QStringLiteral(" [") + shown.Kind +
                                      QStringLiteral("] ") + shown.Text;
    }
    return found;
}

QStringList ClippedTexts(const std::vector<TShownText>& texts) {
    QStringList clipped;
    for (const TShownText& shown : texts) {
        if (!shown.Visible || shown.Needed == 0 || shown.Needed <= shown.Available) continue;
        clipped << QStringLiteral("%1 [%2] \"%3\" needs %4 px, has %5")
                       .arg(shown.Where, shown.Kind, shown.Text)
                       .arg(shown.Needed)
                       .arg(shown.Available);
    }
    return clipped;
}

QStringList OverlappingControls(QWidget* window) {
    const auto isControl = [](const QWidget* w) {
        return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
               qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractItemView*>(w);
    };
    QStringList found;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* parent : widgets) {
        QList<QWidget*> controls;
        for (QObject* child : parent->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && !w->isWindow() && w->isVisibleTo(window) && isControl(w)) controls << w;
        }
        for (int i = 0; i < controls.size(); ++i) {
            for (int j = i + 1; j < controls.size(); ++j) {
                if (!controls[i]->geometry().intersects(controls[j]->geometry())) continue;
                found << PathOf(controls[i], window) + QStringLiteral(" | ") +
                             PathOf(controls[j], window);
            }
        }
    }
    return found;
}

}  // namespace velmora::test
