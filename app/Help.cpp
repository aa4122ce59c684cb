#include "app/Help.h"

#include <QFileInfo>
#include <QUrl>

#include "app/DataFolder.h"
#include "app/Language.h"
#include "widgets/Services.h"

namespace velmora::ui {

namespace {

bool OpenIfPresent(TServices& services, const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    return services.OpenUrl(QUrl::fromLocalFile(path));
}

}  // namespace

QString ManualPath() {
    // The manual in the window's language; the Chinese one when no English one is shipped.
    if (CurrentLanguage() == TLanguage::English) {
        const QString english = DataFile(QStringLiteral("manual/en/index.html"));
        if (QFileInfo(english).isFile()) return english;
    }
    return DataFile(QStringLiteral("manual/index.html"));
}
QString ProductPagePath() { return DataFile(QStringLiteral("pages/product.html")); }
QString WhatsNewPagePath() { return DataFile(QStringLiteral("pages/whatsnew.html")); }

bool ShowHelp(TServices& services) { return OpenIfPresent(services, ManualPath()); }
bool OpenProductPage(TServices& services) { return OpenIfPresent(services, ProductPagePath()); }
bool OpenWhatsNewPage(TServices& services) { return OpenIfPresent(services, WhatsNewPagePath()); }

}  // namespace velmora::ui
