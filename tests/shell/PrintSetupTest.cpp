// Print Setup's Page Layout button: there for the active view, opening its Page Layout
// measured on the program's printer.
#include "DC.h"
#include "MDIFrameWnd.h"
#include "PrintSize.h"
#include "PrinterResolution.h"
#include "Resource.h"
#include "ShellFixture.h"
#include "TavikView.h"

#include <QLabel>
#include <QPrinter>
#include <QPushButton>

TEST_F(ShellTest, PrintSetupOpensThePageLayoutOfTheActiveView) {
    ASSERT_TRUE(Start());
    auto* view = dynamic_cast<CTavikView*>(frame->MDIGetActive()->GetActiveView());
    ASSERT_NE(view, nullptr);
    view->m_settings.m_print.xMm = 0.33;
    const QPrinter& printer = app->GetPrinter();
    const QString printerName = printer.printerName().isEmpty()
                                    ? QStringLiteral("the printer")
                                    : QStringLiteral("\"%1\"").arg(printer.printerName());
    const QString expected =
        QStringLiteral("On %1: %2")
            .arg(printerName,
                 QString::fromStdString(PrintSize::DescribeX(
                     view->m_settings, PrintedResolution(printer), DisplayResolution().x)));

    QString layout, line;
    WithModal(
        [&](QWidget* setup) {
            auto* button = setup->findChild<QPushButton*>(QStringLiteral("pageLayoutButton"));
            ASSERT_NE(button, nullptr);
            WithModal(
                [&](QWidget* dialog) {
                    layout = dialog->objectName();
                    if (const auto* l =
                            dialog->findChild<QLabel*>(QStringLiteral("printerXLabel"))) {
                        line = l->text();
                    }
                },
                [&] { button->click(); });
        },
        [&] { Action("ID_FILE_PRINT_SETUP")->trigger(); });
    EXPECT_EQ(layout, "PageLayoutDialog");
    EXPECT_EQ(line, expected);

    // Without a window there is no view to lay out.
    Command(ID_FILE_CLOSE);
    bool hasButton = true;
    WithModal(
        [&](QWidget* setup) {
            hasButton = setup->findChild<QPushButton*>(QStringLiteral("pageLayoutButton"));
        },
        [&] { Action("ID_FILE_PRINT_SETUP")->trigger(); });
    EXPECT_FALSE(hasButton);
}
