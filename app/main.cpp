// The program entry of the desktop program: the application with its title, look, font and
// Chinese texts of Qt's own dialogs; the album store's root and its lock, held for the
// program's whole life; then the main window and the message loop.

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <memory>

#include "app/Artwork.h"
#include "app/Screenshots.h"
#include "app/UnitMain.h"
#include "audio/BassEngine.h"
#include "store/Pub.h"
#include "store/StoreLock.h"
#include "store/StoreRoot.h"
#include "widgets/AppFont.h"
#include "widgets/Services.h"

namespace {

struct TProgramOptions {
    QString StoreDir;
    velmora::ui::TScreenshotOptions Screenshot;
};

TProgramOptions ParseOptions(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Velmora"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption store(QStringLiteral("store"),
                                   QStringLiteral("The album store to open."),
                                   QStringLiteral("DIR"));
    const QCommandLineOption shot(QStringLiteral("screenshot"),
                                  QStringLiteral("Show a state of the program and save it."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption out(QStringLiteral("screenshot-out"),
                                 QStringLiteral("PNG file of the screenshot."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption delay(QStringLiteral("screenshot-delay"),
                                   QStringLiteral("Milliseconds before the picture is taken."),
                                   QStringLiteral("MS"), QStringLiteral("1500"));
    const QCommandLineOption file(QStringLiteral("screenshot-file"),
                                  QStringLiteral("A file the file choosers answer with."),
                                  QStringLiteral("PATH"));
    parser.addOptions({store, shot, out, delay, file});
    parser.process(app);
    TProgramOptions options;
    options.StoreDir = parser.value(store);
    options.Screenshot.Name = parser.value(shot);
    options.Screenshot.OutFile = parser.value(out);
    options.Screenshot.DelayMs = parser.value(delay).toInt();
    options.Screenshot.Files = parser.values(file);
    return options;
}

void ShowStartError(const QString& text) {
    QMessageBox::critical(nullptr, QStringLiteral("Velmora"), text);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    velmora::ui::ApplyVelmoraLook();
    QApplication::setFont(velmora::ui::SongFont(12));
    // Qt's own buttons and dialogs speak Chinese, like the program's texts.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    const TProgramOptions options = ParseOptions(app);

    velmora::TAlbumStore store;
    std::unique_ptr<velmora::TStoreLock> lock;
    try {
        store.RootPath = velmora::ResolveStoreRoot(options.StoreDir.toStdString());
        // Held until the program ends: one program at a time writes to a store.
        lock = std::make_unique<velmora::TStoreLock>(store.RootPath);
    } catch (const velmora::StoreBusy& busy) {
        ShowStartError(QCoreApplication::translate(
                           "main", "相册库正被另一个 Velmora 程序使用，请先关闭它再启动本程序。") +
                       QStringLiteral("\n\n") + QString::fromUtf8(busy.what()));
        return 1;
    } catch (const std::exception& error) {
        ShowStartError(QString::fromUtf8(error.what()));
        return 1;
    }

    std::unique_ptr<velmora::ui::TServices> services;
    if (options.Screenshot.Name.isEmpty()) {
        services = std::make_unique<velmora::ui::TDesktopServices>();
    } else {
        services = std::make_unique<velmora::ui::TScreenshotServices>(options.Screenshot.Files);
    }
    velmora::ui::TFrmMain window(store, *services, velmora::BassEngine());
    window.show();
    if (!options.Screenshot.Name.isEmpty() &&
        !velmora::ui::StartScreenshot(window, options.Screenshot)) {
        return 2;
    }
    return QApplication::exec();
}
