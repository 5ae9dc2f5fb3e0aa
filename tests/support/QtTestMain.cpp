// GoogleTest main for tests that need a QApplication: offscreen platform,
// Qt's test locations and settings in a folder of this run's own (never the
// user's real settings), bundled fonts.
#include "Fonts.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    const QTemporaryDir settings;
    if (!settings.isValid()) {
        return 1;
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication::setApplicationDisplayName(QStringLiteral("Tavik"));
    RegisterBundledFonts();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
