// Entry of every window test executable: a QApplication on the offscreen platform with the
// program's font, a silent audio driver and the C locale, so that the window tests run without
// a display, a sound card or a dependence on the machine's language.

#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>

#include "widgets/AppFont.h"

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    QApplication app(argc, argv);
    std::setlocale(LC_ALL, "C");
    QApplication::setFont(velmora::ui::SongFont(12));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
