// The windows in both languages: English leaves no Chinese text except user data and clips no
// text at the windows' sizes; Chinese shows every text exactly as the program writes it, with
// or without the language set-up.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QUrl>
#include <QXmlStreamReader>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/About.h"
#include "app/Help.h"
#include "app/Language.h"
#include "app/UnitMain.h"
#include "audio/tests/FakeBass.h"
#include "audio/ui/KivMp3PlayWidget.h"
#include "app/tests/WindowTexts.h"
#include "audio/ui/UnitAddM.h"
#include "effects/EffectTable.h"
#include "effects/ui/EditPHost.h"
#include "effects/ui/EffectTexts.h"
#include "effects/ui/UnitEditP.h"
#include "production/ProductionSettings.h"
#include "production/Timeline.h"
#include "production/ui/MakeTexts.h"
#include "production/ui/UnitMake.h"
#include "store/Catalogue.h"
#include "store/Pub.h"
#include "store/ui/UnitAddA.h"
#include "store/ui/UnitAddP.h"
#include "tests/FakeServices.h"
#include "tests/TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::HasChinese;

const QString AlbumName = QStringLiteral("Holiday 假日");
const QString PictureTitle = QStringLiteral("海边 Seaside");

std::string Lines(const QStringList& lines) { return lines.join(QLatin1Char('\n')).toStdString(); }

QString TranslationsFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/data/translations");
}

/// The main window's side of the picture editor: nothing to refresh in these tests.
class TQuietHost : public ui::TEditPHost {
public:
    void RefreshPictureRow(int) override {}
    void SetPictureDwellText(int, const QString&) override {}
    void SelectPicture(int) override {}
    void ShowHelp() override {}
};

/// A store with one album of two pictures (the shipped background pictures) and one song,
/// named and titled with Chinese user data.
class TLanguageStore {
public:
    TLanguageStore() {
        Store.RootPath = FDir.Dir();
        CreateAlbum(Store, AlbumName.toStdString());
        Store.OpenAlbum(Store.AlbumCount - 1);
        int n = 0;
        for (const char* name : {"sea.jpg", "dawn.jpg"}) {
            TPicInfo info;
            info.Dwell = 3;
            info.Effect = n == 0 ? 1 : 0;
            info.Title.SetText(PictureTitle.toStdString());
            info.StoredName.SetText("P" + std::to_string(n++) + ".jpg");
            fs::copy_file(test::SourcePath(std::string("dist/backpic/") + name),
                          Store.AlbumPath + info.StoredName.Text());
            Store.Pics.push_back(info);
        }
        TMusicInfo song;
        song.PlayTime = 1;
        song.StoredName.SetText("M0.mp3");
        song.SongName.SetText("Song");
        fs::copy_file(test::SourcePath("audio/tests/data/short_1s.mp3"),
                      Store.AlbumPath + "M0.mp3");
        Bass.Files[Store.AlbumPath + "M0.mp3"] = {44100, 16000, 44100};
        Store.Musics.push_back(song);
        Store.PicCount = 2;
        Store.PicIndex = 0;
        Store.MusicCount = 1;
        Store.MusicIndex = 0;
        Store.SaveRecords("P");
        Store.SaveRecords("M");
    }

    test::TFakeBass Bass;
    TAlbumStore Store;

private:
    test::TempDir FDir;
};

using TMakeWindow = std::function<std::unique_ptr<QWidget>(TLanguageStore&, test::TFakeServices&,
                                                           ui::TEditPHost&)>;

struct TNamedWindow {
    const char* Name;
    TMakeWindow Make;
};

std::vector<TNamedWindow> Windows() {
    return {
        {"create album",
         [](TLanguageStore& l, test::TFakeServices& f, ui::TEditPHost&) {
             return std::make_unique<ui::TFrmAddA>(l.Store, f);
         }},
        {"picture import",
         [](TLanguageStore& l, test::TFakeServices& f, ui::TEditPHost&) {
             return std::make_unique<ui::TFrmAddP>(
                 l.Store, f, QStringList{QString::fromStdString(l.Store.AlbumPath + "P0.jpg")});
         }},
        {"music import",
         [](TLanguageStore& l, test::TFakeServices& f, ui::TEditPHost&) {
             return std::make_unique<ui::TFrmAddM>(
                 l.Store, f, QStringList{QString::fromStdString(l.Store.AlbumPath + "M0.mp3")});
         }},
        {"picture editor",
         [](TLanguageStore& l, test::TFakeServices& f, ui::TEditPHost& h) {
             return std::make_unique<ui::TFrmEditP>(l.Store, f, h);
         }},
        {"production",
         [](TLanguageStore& l, test::TFakeServices& f, ui::TEditPHost&) {
             return std::make_unique<ui::TFrmMake>(l.Store, f);
         }},
        {"main window, pictures",
         [](TLanguageStore& l, test::TFakeServices& f, ui::TEditPHost&) {
             TAlbumStore fresh;
             fresh.RootPath = l.Store.RootPath;
             l.Store = fresh;
             auto window = std::make_unique<ui::TFrmMain>(l.Store, f, l.Bass);
             window->KivMp3Play1->SetTimerEnabledForTests(false);
             return window;
         }},
        {"main window, songs",
         [](TLanguageStore& l, test::TFakeServices& f, ui::TEditPHost&) {
             TAlbumStore fresh;
             fresh.RootPath = l.Store.RootPath;
             l.Store = fresh;
             auto window = std::make_unique<ui::TFrmMain>(l.Store, f, l.Bass);
             window->KivMp3Play1->SetTimerEnabledForTests(false);
             window->PageButtonClick(ui::PageSongs);
             return window;
         }},
        {"about",
         [](TLanguageStore&, test::TFakeServices&, ui::TEditPHost&) {
             return std::make_unique<ui::TFrmAbout>();
         }},
    };
}

/// Shows a window of the set in the language installed now and returns what it shows.
struct TWalk {
    std::vector<test::TShownText> Texts;
    QStringList Overlaps;
    QSize Size;
};

TWalk WalkWindow(const TNamedWindow& named) {
    TLanguageStore store;
    test::TFakeServices services;
    TQuietHost host;
    std::unique_ptr<QWidget> window = named.Make(store, services, host);
    window->show();
    QCoreApplication::processEvents();
    TWalk walk{test::ShownTexts(window.get()), test::OverlappingControls(window.get()),
               window->size()};
    window->close();
    return walk;
}

TEST(Language, ChoiceFollowsTheOptionThenAnEnglishLocale) {
    using ui::ChooseLanguage;
    using ui::TLanguage;
    EXPECT_EQ(ChooseLanguage({}, QStringLiteral("C")), TLanguage::Chinese);
    EXPECT_EQ(ChooseLanguage({}, QStringLiteral("zh_CN.UTF-8")), TLanguage::Chinese);
    EXPECT_EQ(ChooseLanguage({}, QStringLiteral("de_DE.UTF-8")), TLanguage::Chinese);
    for (const char* english : {"en", "en_US.UTF-8", "en_GB", "EN_au", "en-NZ", "en@quot"}) {
        EXPECT_EQ(ChooseLanguage({}, QString::fromLatin1(english)), TLanguage::English)
            << english;
    }
    // "eng" or "enx" are no English locale names.
    EXPECT_EQ(ChooseLanguage({}, QStringLiteral("eng")), TLanguage::Chinese);
    EXPECT_EQ(ChooseLanguage(QStringLiteral("en"), QStringLiteral("zh_CN")), TLanguage::English);
    EXPECT_EQ(ChooseLanguage(QStringLiteral("ZH"), QStringLiteral("en_US")), TLanguage::Chinese);
    bool valid = true;
    EXPECT_EQ(ChooseLanguage(QStringLiteral("fr"), QStringLiteral("en_US"), &valid),
              TLanguage::Chinese);
    EXPECT_FALSE(valid);
}

TEST(Language, EveryTextOfTheTranslationFileIsTranslated) {
    QFile file(QString::fromStdString(test::SourcePath("translations/velmora_en.ts").string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString ts = QString::fromUtf8(file.readAll());
    EXPECT_FALSE(ts.contains(QStringLiteral("type=\"unfinished\"")));
    EXPECT_FALSE(ts.contains(QStringLiteral("<translation></translation>")));
    EXPECT_FALSE(ts.contains(QStringLiteral("<translation/>")));
}

TEST(Language, EnglishWindowsLeaveNoChineseAndClipNoText) {
    ui::TLanguageSetup language;
    ASSERT_TRUE(language.Install(ui::TLanguage::English, TranslationsFolder()));
    EXPECT_EQ(ui::CurrentLanguage(), ui::TLanguage::English);
    for (const TNamedWindow& named : Windows()) {
        const TWalk walk = WalkWindow(named);
        EXPECT_TRUE(test::ChineseTexts(walk.Texts, {AlbumName, PictureTitle}).isEmpty())
            << Lines(test::ChineseTexts(walk.Texts, {AlbumName, PictureTitle}))
            << named.Name;
        EXPECT_TRUE(test::ClippedTexts(walk.Texts).isEmpty())
            << Lines(test::ClippedTexts(walk.Texts)) << named.Name;
    }
}

/// The source texts of one context of the translation file.
QStringList SourceTexts(const QString& context) {
    QFile file(QString::fromStdString(test::SourcePath("translations/velmora_en.ts").string()));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&file);
    QStringList sources;
    QString current;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement()) continue;
        if (xml.name() == QLatin1String("name")) {
            current = xml.readElementText();
        } else if (xml.name() == QLatin1String("source") && current == context) {
            sources << xml.readElementText();
        }
    }
    return sources;
}

TEST(Language, EveryEnglishNoticeOfTheCreateAlbumDialogFitsItsPanel) {
    ui::TLanguageSetup language;
    ASSERT_TRUE(language.Install(ui::TLanguage::English, TranslationsFolder()));
    TLanguageStore store;
    test::TFakeServices services;
    ui::TFrmAddA window(store.Store, services);
    window.show();
    const QSize size = window.size();
    // The notice panel is the label that shows " Note:" before anything is typed.
    QLabel* panel = nullptr;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().startsWith(QStringLiteral(" Note"))) panel = label;
    }
    ASSERT_NE(panel, nullptr);
    int notices = 0;
    for (const QString& source : SourceTexts(QStringLiteral("velmora::ui::TFrmAddA"))) {
        if (!source.startsWith(QStringLiteral(" 提示："))) continue;
        ++notices;
        panel->setText(QCoreApplication::translate("velmora::ui::TFrmAddA",
                                                   source.toUtf8().constData()));
        QCoreApplication::processEvents();
        const std::vector<test::TShownText> texts = test::ShownTexts(&window);
        EXPECT_TRUE(test::ChineseTexts(texts, {AlbumName}).isEmpty())
            << Lines(test::ChineseTexts(texts, {AlbumName})) << source.toStdString();
        EXPECT_TRUE(test::ClippedTexts(texts).isEmpty())
            << Lines(test::ClippedTexts(texts)) << source.toStdString();
        EXPECT_EQ(window.size(), size) << source.toStdString();
    }
    EXPECT_EQ(notices, 8);
}

TEST(Language, EnglishWindowsKeepTheirSizesAndMakeNoControlsOverlap) {
    std::vector<TWalk> chinese;
    for (const TNamedWindow& named : Windows()) chinese.push_back(WalkWindow(named));
    ui::TLanguageSetup language;
    ASSERT_TRUE(language.Install(ui::TLanguage::English, TranslationsFolder()));
    const std::vector<TNamedWindow> windows = Windows();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const TWalk english = WalkWindow(windows[i]);
        // A longer text must not push a window beyond the size it has in Chinese (windows
        // sized by their layouts may come out a little smaller).
        EXPECT_LE(english.Size.width(), chinese[i].Size.width()) << windows[i].Name;
        EXPECT_LE(english.Size.height(), chinese[i].Size.height()) << windows[i].Name;
        for (const QString& pair : english.Overlaps) {
            EXPECT_TRUE(chinese[i].Overlaps.contains(pair))
                << windows[i].Name << ": " << pair.toStdString();
        }
    }
}

TEST(Language, ChineseSetUpChangesNoTextOfTheWindows) {
    std::vector<std::vector<test::TShownText>> plain;
    for (const TNamedWindow& named : Windows()) plain.push_back(WalkWindow(named).Texts);
    ui::TLanguageSetup language;
    ASSERT_TRUE(language.Install(ui::TLanguage::Chinese, TranslationsFolder()));
    EXPECT_EQ(ui::CurrentLanguage(), ui::TLanguage::Chinese);
    const std::vector<TNamedWindow> windows = Windows();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const std::vector<test::TShownText> texts = WalkWindow(windows[i]).Texts;
        ASSERT_EQ(texts.size(), plain[i].size()) << windows[i].Name;
        for (std::size_t j = 0; j < texts.size(); ++j) {
            // Qt's own texts (the embedded file dialog's) are English without the set-up and
            // Chinese with it, as the set-up means them to be.
            if (!HasChinese(plain[i][j].Text)) continue;
            EXPECT_EQ(texts[j].Text, plain[i][j].Text) << texts[j].Where.toStdString();
        }
    }
    // The Chinese windows do speak Chinese: the set-up left the program's own texts.
    bool anyChinese = false;
    for (const auto& walk : plain) {
        for (const auto& shown : walk) anyChinese = anyChinese || HasChinese(shown.Text);
    }
    EXPECT_TRUE(anyChinese);
}

TEST(Language, HelpOpensTheManualInTheWindowsLanguage) {
    const QString chinese = ui::ManualPath();
    EXPECT_TRUE(chinese.endsWith(QStringLiteral("/manual/index.html"))) << chinese.toStdString();
    EXPECT_TRUE(QFile::exists(chinese));
    ui::TLanguageSetup language;
    ASSERT_TRUE(language.Install(ui::TLanguage::English, TranslationsFolder()));
    const QString english = ui::ManualPath();
    EXPECT_TRUE(english.endsWith(QStringLiteral("/manual/en/index.html"))) << english.toStdString();
    EXPECT_TRUE(QFile::exists(english));
    test::TFakeServices services;
    EXPECT_TRUE(ui::ShowHelp(services));
    ASSERT_EQ(services.OpenedUrls.size(), 1);
    EXPECT_EQ(services.OpenedUrls[0], QUrl::fromLocalFile(english));
}

TEST(Language, CoreStatusTextsAndEffectNamesFollowTheLanguage) {
    std::vector<std::string> coreTexts = {PicTimeLabel(3725), MusicTimeLabel(59), RunDoneText,
                                          RunDoneTimeText, RunStartText};
    for (int stage = 0; stage <= 4; ++stage) {
        const TProgressTexts texts = ProgressTexts(stage, 50, 200, "00:01:02");
        coreTexts.push_back(texts.Progress);
        coreTexts.push_back(texts.Time);
    }
    // Chinese: exactly the core's texts.
    for (const std::string& text : coreTexts) {
        EXPECT_EQ(ui::RunText(text), QString::fromStdString(text));
    }
    for (int index = 0; index <= EffectCount; ++index) {
        EXPECT_EQ(ui::EffectText(index), QString::fromStdString(EffectName(index)));
        EXPECT_EQ(ui::EffectLineText(index), QString::fromStdString(EffectListLine(index)));
    }
    ui::TLanguageSetup language;
    ASSERT_TRUE(language.Install(ui::TLanguage::English, TranslationsFolder()));
    for (const std::string& text : coreTexts) {
        EXPECT_FALSE(HasChinese(ui::RunText(text))) << ui::RunText(text).toStdString();
    }
    EXPECT_EQ(ui::RunText(PicTimeLabel(3725)), QStringLiteral("All pictures play: 01 h 02 min 05 s"));
    EXPECT_EQ(ui::RunText(ProgressTexts(3, 50, 200, "00:01").Progress),
              QStringLiteral("Progress: 25%"));
    QStringList names;
    for (int index = 0; index <= EffectCount; ++index) {
        const QString name = ui::EffectText(index);
        EXPECT_FALSE(HasChinese(name)) << index;
        EXPECT_FALSE(name.isEmpty()) << index;
        names << name;
    }
    EXPECT_EQ(ui::EffectLineText(1), QStringLiteral("001 Fade"));
    EXPECT_EQ(ui::EffectText(999), QStringLiteral("000 Random effect"));
    // Every effect keeps a name of its own in English too.
    names.removeDuplicates();
    EXPECT_EQ(names.size(), EffectCount + 1);
}

}  // namespace
}  // namespace velmora
