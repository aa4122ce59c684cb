#include "app/StartUp.h"

#include <QCoreApplication>

#include "store/StoreRoot.h"
#include "widgets/Services.h"

namespace velmora::ui {

namespace {

void ShowStartError(TServices& services, const QString& text) {
    services.Prompt(nullptr, TPrompt{text, QStringLiteral("Velmora"), QMessageBox::Ok,
                                     QMessageBox::Critical, QMessageBox::Ok});
}

}  // namespace

std::unique_ptr<TStoreLock> OpenStore(const std::string& storeDir, std::string& rootPath,
                                      TServices& services, std::chrono::milliseconds wait) {
    try {
        rootPath = ResolveStoreRoot(storeDir);
        return std::make_unique<TStoreLock>(rootPath, wait);
    } catch (const StoreBusy& busy) {
        ShowStartError(services,
                       QCoreApplication::translate(
                           "main", "相册库正被另一个 Velmora 程序使用，请先关闭它再启动本程序。") +
                           QStringLiteral("\n\n") + QString::fromUtf8(busy.what()));
    } catch (const std::exception& error) {
        ShowStartError(services, QString::fromUtf8(error.what()));
    }
    return nullptr;
}

}  // namespace velmora::ui
