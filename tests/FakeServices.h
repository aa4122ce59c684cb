#pragma once
// The services of the windows as a test installs them: every message box, chooser and opened
// URL is recorded, and answered from queues the test fills beforehand (a box without a queued
// answer gets its default button, or OK; a chooser without one is cancelled).

#include <QList>
#include <deque>

#include "widgets/Services.h"

namespace velmora::test {

class TFakeServices : public ui::TServices {
public:
    QList<ui::TPrompt> Prompts;          ///< every box shown, in order
    QList<ui::TFileRequest> FileRequests;  ///< every file chooser opened
    QList<QUrl> OpenedUrls;                ///< every URL handed to the desktop
    int ColorRequests = 0;

    std::deque<QMessageBox::StandardButton> Answers;  ///< answers to the next boxes
    std::deque<QStringList> FileAnswers;               ///< answers to the next file choosers
    std::deque<std::optional<QColor>> ColorAnswers;    ///< answers to the next colour choosers
    bool OpenUrlResult = true;

    QMessageBox::StandardButton Prompt(QWidget* parent, const ui::TPrompt& prompt) override;
    QStringList OpenFiles(QWidget* parent, const ui::TFileRequest& request) override;
    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override;
    bool OpenUrl(const QUrl& url) override;
};

}  // namespace velmora::test
