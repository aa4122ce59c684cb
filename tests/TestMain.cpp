// Entry of every test executable: a headless Qt application object (Qt's image plugins need
// one), a silent audio driver and the C locale, so that the tests run without a display or a
// sound card, and error texts (strerror, the tools the tests start) read the same on every
// machine whatever its language.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    // For the programs the tests start: the C locale's texts with UTF-8 file names.
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::unsetenv("LANGUAGE");
    QCoreApplication app(argc, argv);
    // Qt takes the environment's locale when the application object is made; set it after.
    std::setlocale(LC_ALL, "C.UTF-8");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
