#include "production/ui/MakeTexts.h"

#include <QCoreApplication>
#include <array>

namespace velmora::ui {

namespace {

// The fixed phrases of the core's status texts (production/ProductionSettings.cpp and
// production/Timeline.cpp), longest first where one begins another.
constexpr std::array Phrases = {
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", "全部图片播放时间:"),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", "全部音乐播放时间:"),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", "共用时间: "),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", "准备生成..."),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", "视频文件结构处理..."),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", "完成进度："),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", "剩余时间: "),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", "剩余时间："),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", "其它视频处理！"),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", "相册生成完毕!"),
    // The units of SecondsToText: "HH 时 MM 分 SS 秒".
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", " 时 "),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", " 分 "),
    QT_TRANSLATE_NOOP("velmora::ui::TFrmMake", " 秒"),
};

}  // namespace

QString RunText(const std::string& coreText) {
    QString text = QString::fromStdString(coreText);
    for (const char* phrase : Phrases) {
        const QString source = QString::fromUtf8(phrase);
        if (!text.contains(source)) continue;
        text.replace(source, QCoreApplication::translate("velmora::ui::TFrmMake", phrase));
    }
    return text;
}

}  // namespace velmora::ui
