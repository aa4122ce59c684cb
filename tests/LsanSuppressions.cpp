// Leaks that LeakSanitizer should not report, compiled into the test executables and the
// command line client. They are inside system libraries that keep process-wide caches until
// exit (fontconfig, SDL, Qt, D-Bus, GLib), and libemf2svg 1.1, which leaks a few bytes of every
// conversion inside emf2svg(). Built in, so that every process started by the tests has them
// without depending on the environment.

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libSDL2\n"
           "leak:libQt6Core\n"
           "leak:libQt6Gui\n"
           "leak:libdbus\n"
           "leak:libglib\n"
           "leak:libemf2svg\n";
}
