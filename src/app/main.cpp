// tavik: the desktop program.
#include "TavikApp.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The command line is checked before anything needs a display.
QStringList Arguments(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args.append(QString::fromLocal8Bit(argv[i]));
    }
    return args;
}

// Printing from the command line, the usage text and the version need no
// screen: without a display they run on the offscreen platform.
bool Windowless(const CCommandLineInfo& info) {
    return info.m_nShellCommand == CCommandLineInfo::FilePrint ||
           info.m_nShellCommand == CCommandLineInfo::FilePrintTo ||
           info.m_nShellCommand == CCommandLineInfo::Help ||
           info.m_nShellCommand == CCommandLineInfo::Version;
}

// No display server named, and a platform chosen (or left to Qt) that needs one.
bool NoDisplay() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool needsServer =
        platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
    return needsServer && qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    const QByteArray name = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().toLocal8Bit();
    CCommandLineInfo info;
    info.ParseArguments(Arguments(argc, argv));
    if (info.m_nShellCommand == CCommandLineInfo::Error) {
        std::fprintf(stderr,
                     "%s: %s (see --help)\n"
                     "Usage: %s [FILE] | --print FILE | --print-to FILE PRINTER\n",
                     name.constData(), qPrintable(info.m_strError), name.constData());
        return 2;
    }
    if (NoDisplay()) {
        if (!Windowless(info)) {
            std::fprintf(stderr, "%s: no display; tavik-batch works without one\n",
                         name.constData());
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Whole device pixels per logical pixel: a one-unit bar is always the
    // same number of pixels wide, so bars stay crisp at any scale factor.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication qtApp(argc, argv);
    CTavikApp theApp;
    return theApp.Run();
}
