#include "app/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace velmora::ui {

namespace {

TLanguage GCurrent = TLanguage::Chinese;

}  // namespace

TLanguage ChooseLanguage(const QString& option, const QString& localeName, bool* valid) {
    if (valid != nullptr) *valid = true;
    const QString asked = option.trimmed().toLower();
    if (asked == QLatin1String("en")) return TLanguage::English;
    if (asked == QLatin1String("zh")) return TLanguage::Chinese;
    if (!asked.isEmpty()) {
        if (valid != nullptr) *valid = false;
        return TLanguage::Chinese;
    }
    // "en", "en_US.UTF-8", "en-GB": the language part is exactly "en".
    const QString language = localeName.section(QLatin1Char('_'), 0, 0)
                                 .section(QLatin1Char('-'), 0, 0)
                                 .section(QLatin1Char('.'), 0, 0)
                                 .section(QLatin1Char('@'), 0, 0);
    return language.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0 ? TLanguage::English
                                                                            : TLanguage::Chinese;
}

QString MessagesLocaleName() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) return value;
    }
    return QStringLiteral("C");
}

TLanguage CurrentLanguage() { return GCurrent; }

TLanguageSetup::~TLanguageSetup() { GCurrent = TLanguage::Chinese; }

bool TLanguageSetup::Install(TLanguage language, const QString& translationsFolder) {
    if (language == TLanguage::English) {
        if (FProgramTexts.load(QStringLiteral("velmora_en"), translationsFolder)) {
            QCoreApplication::installTranslator(&FProgramTexts);
            GCurrent = TLanguage::English;
            return true;
        }
    }
    // Qt's own buttons and dialogs speak Chinese, like the program's texts.
    if (FQtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&FQtTexts);
    }
    GCurrent = TLanguage::Chinese;
    return language == TLanguage::Chinese;
}

}  // namespace velmora::ui
