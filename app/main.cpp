// The program entry of the desktop program: the application with its title, look, font and
// Chinese texts of Qt's own dialogs; the album store's root and its lock, held for the
// program's whole life; then the main window and the message loop.

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "app/Artwork.h"
#include "app/Screenshots.h"
#include "app/StartUp.h"
#include "app/UnitMain.h"
#include "audio/BassEngine.h"
#include "store/Pub.h"
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

    // Held until the program ends: one program at a time writes to a store.
    velmora::TAlbumStore store;
    velmora::ui::TDesktopServices desktop;
    const std::unique_ptr<velmora::TStoreLock> lock =
        velmora::ui::OpenStore(options.StoreDir.toStdString(), store.RootPath, desktop);
    if (!lock) return 1;

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
