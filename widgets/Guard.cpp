#include "widgets/Guard.h"

#include "widgets/Services.h"

#include <stdexcept>

namespace velmora::ui {

void ShowError(QWidget* parent, TServices& services, const std::exception& error) {
    services.Prompt(parent, TPrompt{QString::fromUtf8(error.what()), QStringLiteral("Velmora"),
                                    QMessageBox::Ok, QMessageBox::Warning, QMessageBox::Ok});
}

bool RunGuarded(QWidget* parent, TServices& services, const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        ShowError(parent, services, error);
    } catch (...) {
        ShowError(parent, services, std::runtime_error("unknown error"));
    }
    return false;
}

}  // namespace velmora::ui
