// tavik: the desktop program.
#include "TavikApp.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>

namespace {

// Printing from the command line, the usage text and the version need no
// screen: without a display they run on the offscreen platform.
void UseOffscreenWhenHeadless(int argc, char** argv) {
    bool windowless = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            break;
        }
        for (const char* option : {"--print", "--print-to", "--help", "-h", "--version"}) {
            windowless |= std::strcmp(argv[i], option) == 0;
        }
    }
    if (windowless && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

} // namespace

int main(int argc, char** argv) {
    // Whole device pixels per logical pixel: a one-unit bar is always the
    // same number of pixels wide, so bars stay crisp at any scale factor.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    UseOffscreenWhenHeadless(argc, argv);
    QApplication qtApp(argc, argv);
    CTavikApp theApp;
    return theApp.Run();
}
