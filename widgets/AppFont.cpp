#include "widgets/AppFont.h"

#include <QFontDatabase>
#include <QStringList>
#include <string>

#include "imaging/Fonts.h"

namespace velmora::ui {

QString SongFamily() {
    static const QString family = [] {
        // Characters every window shows: common Chinese of the captions, digits and Latin.
        const std::string sample = "相册图片音乐制作帮助关于删除添加宋体第张确定取消ABCabc0123";
        try {
            const TFontFile file = FindFontFor("宋体", DecodeUtf8(sample));
            const int id = QFontDatabase::addApplicationFont(QString::fromStdString(file.Path));
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty()) return families.first();
        } catch (const std::exception&) {
            // No fontconfig font at all: Qt's own default below still draws Latin text.
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

QFont SongFont(int pixelSize) {
    QFont font(SongFamily());
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace velmora::ui
