// The program entry of the desktop program (completed with the main window).

#include <QApplication>

#include "widgets/AppFont.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setFont(velmora::ui::SongFont(12));
    return 0;
}
