// The program entry of the desktop program: the application with its title, look, font and
// language (Chinese, or English for an English locale or --lang en); the album store's root and
// its lock, held for the program's whole life, with the shipped background pictures offered to
// a new store; then the main window and the message loop. --help and --version print without
// a display.

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/Artwork.h"
#include "app/DataFolder.h"
#include "app/Language.h"
#include "app/Screenshots.h"
#include "app/UnitMain.h"
#include "audio/BassEngine.h"
#include "production/ShippedBackPics.h"
#include "store/Pub.h"
#include "store/StoreLock.h"
#include "store/StoreRoot.h"
#include "widgets/AppFont.h"
#include "widgets/Services.h"

namespace {

struct TProgramOptions {
    QString StoreDir;
    QString Lang;
    velmora::ui::TScreenshotOptions Screenshot;
};

TProgramOptions ParseOptions(const QCoreApplication& app) {
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
    const QCommandLineOption lang(
        QStringLiteral("lang"),
        QStringLiteral("The windows' language: en or zh (otherwise the locale's: English for "
                       "an English locale, else Chinese)."),
        QStringLiteral("LANG"));
    parser.addOptions({store, lang, shot, out, delay, file});
    parser.process(app);
    TProgramOptions options;
    options.StoreDir = parser.value(store);
    options.Lang = parser.value(lang);
    options.Screenshot.Name = parser.value(shot);
    options.Screenshot.OutFile = parser.value(out);
    options.Screenshot.DelayMs = parser.value(delay).toInt();
    options.Screenshot.Files = parser.values(file);
    return options;
}

// --help and --version only print: they are answered before anything needs a display.
bool AsksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "-help", "-v", "--version", "--help-all"}) {
            if (std::strcmp(argv[i], option) == 0) return true;
        }
    }
    return false;
}

void SetProgramNames() {
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
}

void ShowStartError(const QString& text) {
    QMessageBox::critical(nullptr, QStringLiteral("Velmora"), text);
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksOnlyForText(argc, argv)) {
        QCoreApplication app(argc, argv);
        SetProgramNames();
        ParseOptions(app);  // prints the text and ends the program
        return 0;
    }
    QApplication app(argc, argv);
    SetProgramNames();
    const TProgramOptions options = ParseOptions(app);
    bool validLang = true;
    const velmora::ui::TLanguage language =
        velmora::ui::ChooseLanguage(options.Lang, velmora::ui::MessagesLocaleName(), &validLang);
    if (!validLang) {
        std::fprintf(stderr, "velmora: --lang takes en or zh, not %s\n", qPrintable(options.Lang));
        return 2;
    }
    velmora::ui::ApplyVelmoraLook();
    QApplication::setFont(velmora::ui::SongFont(12));
    // Chinese windows get Qt's own Chinese texts for its buttons and dialogs; English windows
    // the program's English translation (a missing one leaves the windows Chinese).
    velmora::ui::TLanguageSetup languageSetup;
    languageSetup.Install(language, velmora::ui::DataFile(QStringLiteral("translations")));

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

    // A new store gets the background pictures shipped with the program. They are an offer:
    // a store that cannot take them works without them.
    try {
        velmora::OfferShippedBackPics(
            store.RootPath,
            QFile::encodeName(velmora::ui::DataFile(QStringLiteral("backpic/"))).toStdString());
    } catch (const std::exception&) {
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
