// GoogleTest main for tests that need a QApplication: offscreen platform,
// Qt's test locations (never the user's real settings), bundled fonts.
#include "Fonts.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tavik"));
    RegisterBundledFonts();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
