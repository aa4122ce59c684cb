#pragma once
// The language of the windows. Chinese is the program's own language (the source texts of every
// tr() call); English comes from the translation file made with Qt's Linguist tools and shipped
// in the data folder (translations/velmora_en.qm). Record files, the album store and the titles
// on the video are the same in both languages: only window texts are translated.

#include <QString>
#include <QTranslator>

namespace velmora::ui {

/// The two languages the windows speak.
enum class TLanguage { Chinese, English };

/// The language asked for: `option` is the value of --lang ("en" or "zh", any case; empty when
/// not given) and wins; otherwise an English locale name ("en", "en_GB.UTF-8", ...) gives
/// English and every other (including "C") Chinese. An unknown option value sets `*valid` to
/// false and gives Chinese.
TLanguage ChooseLanguage(const QString& option, const QString& localeName, bool* valid = nullptr);

/// The locale name the environment asks for messages: LC_ALL, else LC_MESSAGES, else LANG
/// (the first one set and not empty), "C" when none is.
QString MessagesLocaleName();

/// The language the windows speak now (set by TLanguageSetup::Install; Chinese before).
TLanguage CurrentLanguage();

/// Owns the translators of one run and installs them on the application.
class TLanguageSetup {
public:
    TLanguageSetup() = default;
    /// Removes the translators (QTranslator does on destruction) and says Chinese again.
    ~TLanguageSetup();
    TLanguageSetup(const TLanguageSetup&) = delete;
    TLanguageSetup& operator=(const TLanguageSetup&) = delete;

    /// Chinese: Qt's own zh_CN texts for its standard buttons and dialogs. English: the
    /// program's English translation from `translationsFolder` (Qt's own texts are English
    /// already). False when the English translation could not be loaded; the windows then stay
    /// Chinese and CurrentLanguage() says so.
    bool Install(TLanguage language, const QString& translationsFolder);

private:
    QTranslator FQtTexts;
    QTranslator FProgramTexts;
};

}  // namespace velmora::ui
