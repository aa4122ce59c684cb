#include "app/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace velmora::ui {

QString DataFolder() {
    const QString program = QCoreApplication::applicationDirPath();
    const QString built = program + QStringLiteral("/data/");
    if (QFileInfo(built).isDir()) return built;
    return QDir::cleanPath(program + QStringLiteral("/../share/velmora")) + QLatin1Char('/');
}

QString DataFile(const QString& relative) { return DataFolder() + relative; }

}  // namespace velmora::ui
