#pragma once
// Helpers shared by the window tests: acting on a modal dialog once its loop runs, and typing
// into a line edit as a person does.

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace velmora::test {

/// Runs `act` on the visible dialog of type T as soon as the modal loop that shows it runs;
/// a dialog that does not open fails the test and closes whatever modal window is up.
template <typename T>
void OnDialog(std::function<void(T&)> act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<T*>(top); dialog != nullptr && dialog->isVisible()) {
                act(*dialog);
                return;
            }
        }
        ADD_FAILURE() << "the dialog did not open";
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
}

/// Types text at the cursor as a person does: ASCII by key presses, other characters as an
/// input method commits them, one at a time.
inline void TypeText(QLineEdit* edit, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(edit, QString(c));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(edit, &commit);
        }
    }
}

/// Replaces the field's whole text by typing: focus, select all, then TypeText.
inline void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    TypeText(edit, text);
}

}  // namespace velmora::test
