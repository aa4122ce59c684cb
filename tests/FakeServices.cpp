#include "tests/FakeServices.h"

namespace velmora::test {

QMessageBox::StandardButton TFakeServices::Prompt(QWidget*, const ui::TPrompt& prompt) {
    Prompts.append(prompt);
    if (!Answers.empty()) {
        const QMessageBox::StandardButton answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    return prompt.DefaultButton != QMessageBox::NoButton ? prompt.DefaultButton
                                                         : QMessageBox::Ok;
}

QStringList TFakeServices::OpenFiles(QWidget*, const ui::TFileRequest& request) {
    FileRequests.append(request);
    if (FileAnswers.empty()) return {};
    QStringList answer = FileAnswers.front();
    FileAnswers.pop_front();
    return answer;
}

std::optional<QColor> TFakeServices::ChooseColor(QWidget*, const QColor&) {
    ++ColorRequests;
    if (ColorAnswers.empty()) return std::nullopt;
    std::optional<QColor> answer = ColorAnswers.front();
    ColorAnswers.pop_front();
    return answer;
}

bool TFakeServices::OpenUrl(const QUrl& url) {
    OpenedUrls.append(url);
    return OpenUrlResult;
}

}  // namespace velmora::test
