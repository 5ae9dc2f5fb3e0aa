#include "ShellFixture.h"

#include "ControlBars.h"
#include "Dia_Bar.h"
#include "PrintPreview.h"
#include "Resource.h"
#include "Sequence.h"
#include "TavikDoc.h"
#include "TavikView.h"

#include "dialog/DialogTestSupport.h"
#include "support/QtTryGTest.h"
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusTipEvent>
#include <QTextBrowser>
#include <QToolBar>
#include <QWindow>

namespace {

// The one barcode view (it has no meta-object of its own, so findChild cannot tell it).
CTavikView* TheView() {
    for (QWidget* w : QApplication::allWidgets()) {
        if (auto* view = dynamic_cast<CTavikView*>(w)) {
            return view;
        }
    }
    return nullptr;
}

const QStringList kHelpMenu = {"&Help Topics", "-", "&About Tavik..."};

CTavikView* ActiveView(const CMDIFrameWnd* frame) {
    return static_cast<CTavikView*>(frame->MDIGetActive()->GetActiveView());
}

TEST_F(ShellTest, MenuFollowsTheActiveWindow) {
    const struct {
        bool document;
        std::vector<std::pair<QString, QStringList>> menus;
    } states[] = {
        {true,
         {{"&File",
           {"&New\tCtrl+N", "&Open...\tCtrl+O", "&Close", "-", "&Print...\tCtrl+P",
            "Print Pre&view", "P&rint Setup...", "-", "Recent File", "-", "E&xit", "-",
            "New Se&quence..."}},
          {"&View", {"&Toolbar", "&Status Bar", "-", "Show Settings"}},
          {"&Window", {"&New Window", "&Cascade", "&Tile", "&Arrange Icons", "-", "&1 0123456789"}},
          {"&Help", kHelpMenu}}},
        {false,
         {{"&File",
           {"&New\tCtrl+N", "&Open...\tCtrl+O", "-", "P&rint Setup...", "-", "Recent File", "-",
            "&Close", "E&xit", "-", "New Se&quence..."}},
          {"&View", {"&Toolbar", "&Status Bar"}},
          {"&Help", kHelpMenu}}},
    };
    ASSERT_TRUE(Start());
    for (const auto& state : states) {
        if (!state.document) {
            Command(ID_FILE_CLOSE);
            QTRY_COMPARE(DocumentCount(), 0u);
        }
        QStringList titles;
        for (const auto& [title, items] : state.menus) {
            titles.append(title);
            EXPECT_EQ(MenuItems(title), items) << title.toStdString() << state.document;
        }
        EXPECT_EQ(MenuTitles(), titles);
    }
}

// Through the menus themselves: Alt+F opens File and N chooses New, whose new
// window rebuilds the menu bar while that menu is still closing.
TEST_F(ShellTest, MenuMnemonicsChooseCommands) {
    ASSERT_TRUE(Start());
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QTest::keyClick(frame, Qt::Key_F, Qt::AltModifier);
    const QPointer<QMenu> file = frame->menuBar()->actions().constFirst()->menu();
    QTRY_VERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_N);
    QTRY_COMPARE(DocumentCount(), 2u);
    QTRY_VERIFY(file == nullptr || !file->isVisible());
    EXPECT_EQ(MenuItems("&Window").mid(5), (QStringList{"&1 0123456789", "&2 0123456789"}));
}

TEST_F(ShellTest, CommandStatesWithAndWithoutDocument) {
    const struct {
        const char* name;
        bool withDocument;
        bool withoutDocument;
    } cases[] = {
        {"ID_FILE_NEW", true, true},
        {"ID_FILE_OPEN", true, true},
        {"ID_FILE_CLOSE", true, false},
        {"ID_FILE_PRINT", true, false},
        {"ID_FILE_PRINT_PREVIEW", true, false},
        {"ID_FILE_PRINT_SETUP", true, true},
        {"ID_FILE_MRU_FILE1", false, false},
        {"ID_FILE_SAVE", false, false},
        {"ID_EDIT_UNDO", false, false},
        {"ID_EDIT_CUT", false, false},
        {"ID_EDIT_COPY", true, false}, // Ctrl+C copies the drawing
        {"ID_EDIT_PASTE", false, false},
        {"ID_NEXT_PANE", false, false},
        {"ID_PREV_PANE", false, false},
        {"ID_WINDOW_NEW", true, false},
        {"ID_WINDOW_CASCADE", true, false},
        {"ID_WINDOW_TILE_HORZ", true, false},
        {"ID_WINDOW_ARRANGE", true, false},
        {"ID_VIEW_TOOLBAR", true, true},
        {"ID_VIEW_STATUS_BAR", true, true},
        {"ID_APP_ABOUT", true, true},
        {"ID_APP_EXIT", true, true},
        {"ID_HELP_FINDER", true, true},
        {"ID_HELP", true, true},
        {"ID_CONTEXT_HELP", true, true},
    };
    ASSERT_TRUE(Start());
    for (const auto& c : cases) {
        ASSERT_NE(Action(c.name), nullptr) << c.name;
        EXPECT_EQ(Action(c.name)->isEnabled(), c.withDocument) << c.name;
    }
    Command(ID_FILE_CLOSE);
    QTRY_COMPARE(DocumentCount(), 0u);
    for (const auto& c : cases) {
        EXPECT_EQ(Action(c.name)->isEnabled(), c.withoutDocument) << c.name;
    }
    EXPECT_FALSE(Action("ID_SHOW_SETTINGS")->isEnabled());
}

TEST_F(ShellTest, ToolbarButtonsWithTipsAndPrompts) {
    const struct {
        const char* name; // null: separator
        const char* tip;
        const char* prompt;
    } buttons[] = {
        {"ID_FILE_NEW", "New", "Create a new document"},
        {"ID_FILE_OPEN", "Open", "Open an existing document"},
        {nullptr, nullptr, nullptr},
        {"ID_SHOW_SETTINGS", "Show Settings Dialod", "Show Settings Dialod"},
        {"ID_FILE_PRINT_PREVIEW", "Print Preview", "Display full pages"},
        {"ID_FILE_PRINT", "Print", "Print the active document"},
    };
    ASSERT_TRUE(Start());
    Command(ID_FILE_CLOSE);
    QTRY_COMPARE(DocumentCount(), 0u);
    const auto* bar = frame->findChild<QToolBar*>("AFX_IDW_TOOLBAR");
    ASSERT_NE(bar, nullptr);
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(buttons)));
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        const QAction* a = actions[static_cast<qsizetype>(i)];
        if (buttons[i].name == nullptr) {
            EXPECT_TRUE(a->isSeparator());
            continue;
        }
        EXPECT_EQ(a->objectName(), buttons[i].name);
        EXPECT_EQ(a->toolTip(), buttons[i].tip);
        EXPECT_EQ(a->statusTip(), buttons[i].prompt);
        EXPECT_FALSE(a->icon().isNull()) << buttons[i].name;
        // Without a document only New and Open can be pressed.
        EXPECT_EQ(bar->widgetForAction(const_cast<QAction*>(a))->isEnabled(), i < 2)
            << buttons[i].name;
    }
}

TEST_F(ShellTest, TitlesWithOneAndTwoWindows) {
    ASSERT_TRUE(Start());
    CMDIChildWnd* first = frame->MDIGetActive();
    EXPECT_EQ(first->windowTitle(), "0123456789");
    EXPECT_EQ(frame->windowTitle(), "Tavik - 0123456789");

    Command(ID_WINDOW_NEW);
    CMDIChildWnd* second = frame->MDIGetActive();
    ASSERT_NE(second, first);
    EXPECT_EQ(first->windowTitle(), "0123456789:1");
    EXPECT_EQ(second->windowTitle(), "0123456789:2");
    EXPECT_EQ(frame->windowTitle(), "Tavik - 0123456789");
    EXPECT_EQ(MenuItems("&Window").mid(5), (QStringList{"&1 0123456789:1", "&2 0123456789:2"}));
    EXPECT_TRUE(frame->findChild<QAction*>("AFX_IDM_FIRST_MDICHILD_2")->isChecked());

    second->close();
    QTRY_COMPARE(first->windowTitle(), QStringLiteral("0123456789"));
    Command(ID_FILE_CLOSE);
    QTRY_COMPARE(frame->windowTitle(), QStringLiteral("Tavik"));
}

// A maximised window's title shows in brackets after the program's name.
TEST_F(ShellTest, TitleWithAMaximisedWindow) {
    ASSERT_TRUE(Start());
    frame->MDIGetActive()->showMaximized();
    QTRY_COMPARE(frame->windowTitle(), QStringLiteral("Tavik - [0123456789]"));
    Command(ID_WINDOW_NEW);
    EXPECT_TRUE(frame->MDIGetActive()->isMaximized());
    QTRY_COMPARE(frame->windowTitle(), QStringLiteral("Tavik - [0123456789:2]"));
    frame->MDIGetActive()->showNormal();
    QTRY_COMPARE(frame->windowTitle(), QStringLiteral("Tavik - 0123456789"));
}

// "[*]" is Qt's modified marker in titles; a file name holding it shows as is.
TEST_F(ShellTest, OpenedFileIsTitledByItsName) {
    const QString path = WriteFile("codes[*]&.txt", "A\nB\n");
    ASSERT_TRUE(Start({path}));
    EXPECT_EQ(frame->MDIGetActive()->GetTitle(), "codes[*]&.txt");
    ASSERT_NE(frame->windowHandle(), nullptr);
    EXPECT_EQ(frame->windowHandle()->title(), "Tavik - codes[*]&.txt");
    EXPECT_EQ(MenuItems("&Window").last(), "&1 codes[*]&&.txt");
}

TEST_F(ShellTest, NewWindowSharesTheDocumentsLines) {
    const QString path = WriteFile("list.txt", "A\nB\nC\n");
    ASSERT_TRUE(Start({path}));
    CTavikView* first = ActiveView(frame);
    first->m_settings.m_nRepeat = 5;
    Command(ID_WINDOW_NEW);
    CTavikView* second = ActiveView(frame);
    ASSERT_NE(first, second);
    EXPECT_EQ(first->GetDocument(), second->GetDocument());
    ASSERT_NE(second->m_settings.m_pLines, nullptr);
    EXPECT_EQ(second->m_settings.m_pLines, first->m_settings.m_pLines);
    EXPECT_EQ(second->m_settings.m_pLines->GetSize(), 3u);
    EXPECT_EQ(second->m_settings.m_nRepeat, 1); // settings are each window's own
    EXPECT_EQ(frame->MDIGetActive()->windowTitle(), "list.txt:2");

    frame->MDIGetActive()->close();
    QTRY_COMPARE(first->GetDocument()->GetViews().size(), 1u);
    EXPECT_EQ(DocumentCount(), 1u);
    EXPECT_EQ(frame->MDIGetActive()->windowTitle(), "list.txt");
}

// A sequence's rows are made as they are read: a million of them, titled with the pattern,
// checked off the window's thread like a file's lines, with no file behind them.
TEST_F(ShellTest, NewSequenceOpensItsRows) {
    ASSERT_TRUE(Start());
    ASSERT_NE(Action("ID_FILE_NEW_SEQUENCE"), nullptr);
    NumberSequence sequence;
    ASSERT_EQ(ParseSequenceRange("1..1000000", sequence), "");
    ASSERT_EQ(ParseSequencePattern("ITEM-%06d", sequence), "");
    CDocument* doc = app->NewSequenceDocument(sequence);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(DocumentCount(), 2u);
    EXPECT_EQ(doc->GetPathName(), "");
    EXPECT_EQ(frame->MDIGetActive()->windowTitle(), "ITEM-%06d");
    const CTavikView* view = ActiveView(frame);
    ASSERT_EQ(view->m_settings.m_pLines, doc->GetLines());
    EXPECT_EQ(doc->GetLines()->GetSize(), 1000000u);
    EXPECT_EQ(doc->GetLines()->GetAt(999999), "ITEM-1000000");
    QTRY_COMPARE_WITH_TIMEOUT(view->RowCheckText(), QStringLiteral("1000000 lines"), 120000);
}

TEST_F(ShellTest, FileCloseClosesEveryWindowOfTheDocument) {
    ASSERT_TRUE(Start());
    CMDIChildWnd* first = frame->MDIGetActive();
    Command(ID_WINDOW_NEW);
    Command(ID_FILE_NEW);
    ASSERT_EQ(frame->GetChildren().size(), 3u);
    ASSERT_EQ(DocumentCount(), 2u);
    frame->MDIActivate(first);
    Command(ID_FILE_CLOSE);
    QTRY_COMPARE(DocumentCount(), 1u);
    EXPECT_EQ(frame->GetChildren().size(), 1u);
}

TEST_F(ShellTest, AboutBox) {
    ASSERT_TRUE(Start());
    QString title, text;
    bool icon = false, defaultOk = false;
    WithModal(
        [&](QWidget* box) {
            title = box->windowTitle();
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                if (!label->pixmap().isNull()) {
                    icon = true;
                } else {
                    text += label->text();
                }
            }
            const auto* ok = box->findChild<QPushButton*>("IDOK");
            defaultOk = ok != nullptr && ok->isDefault() && ok->text() == "OK";
        },
        [&] { Action("ID_APP_ABOUT")->trigger(); });
    EXPECT_EQ(title, "About Tavik");
    EXPECT_EQ(text, "Tavik Version 2.0");
    EXPECT_TRUE(icon);
    EXPECT_TRUE(defaultOk);
}

TEST_F(ShellTest, StatusBarShowsPromptsAndIdleText) {
    ASSERT_TRUE(Start());
    const auto* bar = frame->findChild<CStatusBar*>("AFX_IDW_STATUS_BAR");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetPaneText(0), " ");
    Action("ID_FILE_OPEN")->showStatusText(frame);
    EXPECT_EQ(bar->GetPaneText(0), "Open an existing document");
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(frame, &leave);
    EXPECT_EQ(bar->GetPaneText(0), " ");
    for (const char* name : {"ID_INDICATOR_CAPS", "ID_INDICATOR_NUM", "ID_INDICATOR_SCRL"}) {
        EXPECT_NE(bar->findChild<QLabel*>(name), nullptr) << name;
    }
}

TEST_F(ShellTest, ViewMenuHidesAndShowsTheBars) {
    ASSERT_TRUE(Start());
    const std::pair<const char*, const char*> bars[] = {
        {"ID_VIEW_TOOLBAR", "AFX_IDW_TOOLBAR"}, {"ID_VIEW_STATUS_BAR", "AFX_IDW_STATUS_BAR"}};
    for (const auto& [command, name] : bars) {
        QAction* action = Action(command);
        const auto* bar = frame->findChild<QWidget*>(name);
        EXPECT_TRUE(action->isChecked()) << command;
        action->trigger();
        EXPECT_FALSE(bar->isVisibleTo(frame)) << name;
        EXPECT_FALSE(action->isChecked()) << command;
        action->trigger();
        EXPECT_TRUE(bar->isVisibleTo(frame)) << name;
        EXPECT_TRUE(action->isChecked()) << command;
    }
}

// Save is bound to Ctrl+S but has no handler: the read-only document is never
// written (saving it would empty the file). Edit and pane keys do nothing.
TEST_F(ShellTest, KeysWithoutHandlersChangeNothing) {
    const QByteArray bytes("A\r\nB\n\nC");
    const QString path = WriteFile("keep.txt", bytes);
    const QDateTime modified = QFileInfo(path).lastModified();
    ASSERT_TRUE(Start({path}));
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    QWidget* view = ActiveView(frame);
    view->setFocus();

    EXPECT_EQ(Action("ID_FILE_SAVE")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    const QKeyCombination keys[] = {
        Qt::CTRL | Qt::Key_S,        Qt::CTRL | Qt::Key_Z,      Qt::CTRL | Qt::Key_X,
        Qt::CTRL | Qt::Key_C,        Qt::CTRL | Qt::Key_V,      Qt::ALT | Qt::Key_Backspace,
        Qt::SHIFT | Qt::Key_Delete,  Qt::CTRL | Qt::Key_Insert, Qt::SHIFT | Qt::Key_Insert,
        QKeyCombination(Qt::Key_F6), Qt::SHIFT | Qt::Key_F6};
    for (const QKeyCombination key : keys) {
        QTest::keyClick(view, key.key(), key.keyboardModifiers());
    }
    QApplication::processEvents();
    EXPECT_EQ(DocumentCount(), 1u);
    EXPECT_EQ(frame->GetChildren().size(), 1u);
    EXPECT_TRUE(messages.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);

    // Keys pressed this way do reach the accelerators.
    QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier);
    QTRY_COMPARE(DocumentCount(), 2u);
}

TEST_F(ShellTest, HelpCommandsShowTheProgramsHelp) {
    ASSERT_TRUE(Start());
    for (const UINT id : {ID_HELP_FINDER, ID_HELP, ID_CONTEXT_HELP}) {
        Command(id);
        auto* help = frame->findChild<QWidget*>("HelpWindow");
        ASSERT_NE(help, nullptr) << id;
        EXPECT_TRUE(help->isVisible()) << id;
        const auto* browser = help->findChild<QTextBrowser*>();
        ASSERT_NE(browser, nullptr);
        EXPECT_TRUE(browser->toPlainText().contains("tavik --print FILE")) << id;
        help->close();
    }
    EXPECT_EQ(frame->findChildren<QTextBrowser*>().size(), 1);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ShellTest, PrintCommandsUseTheApplicationsPrinter) {
    ASSERT_TRUE(Start());
    QPrinter& printer = app->GetPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    auto pdfAt = [&](const QString& name) {
        const QString path = dir.filePath(name);
        printer.setOutputFileName(path);
        return path;
    };

    const QString direct = pdfAt("direct.pdf");
    // A range left from an earlier Print does not limit direct printing.
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 2);
    Command(ID_FILE_PRINT_DIRECT);
    QFile file(direct);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));

    const QString cancelled = pdfAt("cancelled.pdf");
    WithModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); },
              [&] { Action("ID_FILE_PRINT")->trigger(); });
    EXPECT_FALSE(QFile::exists(cancelled));

    const QString printed = pdfAt("printed.pdf");
    WithModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); },
              [&] { Action("ID_FILE_PRINT")->trigger(); });
    EXPECT_TRUE(QFile::exists(printed));

    // Print Setup sets up that same printer.
    bool samePrinter = false;
    QString button;
    WithModal(
        [&](QWidget* dialog) {
            auto* setup = qobject_cast<QPrintDialog*>(dialog);
            samePrinter = setup != nullptr && setup->printer() == &printer &&
                          setup->windowTitle() == "Print Setup";
            if (const auto* buttons = dialog->findChild<QDialogButtonBox*>()) {
                button = buttons->button(QDialogButtonBox::Ok)->text();
            }
        },
        [&] { Action("ID_FILE_PRINT_SETUP")->trigger(); });
    EXPECT_TRUE(samePrinter);
    EXPECT_EQ(button, "OK");

    // The preview opens at Fit Page: the page fills the room one way and fits the other.
    int pages = -1;
    QSize page, room;
    WithModal(
        [&](QWidget* preview) {
            const auto* shown = dynamic_cast<CPrintPreview*>(preview);
            pages = shown != nullptr ? shown->PageCount() : -1;
            const auto* scroll = preview->findChild<QScrollArea*>();
            page = scroll->widget()->size();
            room = scroll->viewport()->size();
        },
        [&] { Action("ID_FILE_PRINT_PREVIEW")->trigger(); });
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(page.width() <= room.width() && page.height() <= room.height())
        << page.width() << "x" << page.height() << " in " << room.width() << "x" << room.height();
    EXPECT_GT(std::max(double(page.width()) / room.width(), double(page.height()) / room.height()),
              0.9);
    EXPECT_TRUE(messages.isEmpty());

    // Rows wider than the page: one message, and nothing is spooled.
    TheView()->m_settings.m_nBarWidth = 100;
    const QString refused = pdfAt("refused.pdf");
    WithModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); },
              [&] { Action("ID_FILE_PRINT")->trigger(); });
    EXPECT_FALSE(QFile::exists(refused));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Cannot print: the rows do not fit on the page"))
        << messages[0].toStdString();
}

// OK brings values within the bounds tavik-batch has too, and the status bar
// says which; no message box.
TEST_F(ShellTest, ClampedSettingsAreNotedOnTheStatusBar) {
    ASSERT_TRUE(Start());
    CTavikView* view = TheView();
    {
        ModalStep<CDia_Bar> step([](CDia_Bar& d) {
            SetEdit(d, "IDC_BAR_WIDTH", QStringLiteral("99999999999"));
            SetEdit(d, "IDC_BAR_HEIGHT", QStringLiteral("99999999999A€日本"));
            SetEdit(d, "IDC_ORIGIN_X", QStringLiteral("-20000"));
            SetEdit(d, "IDC_REPEAT", QStringLiteral("0"));
            Click(d, "IDOK");
        });
        view->OnShowSettings();
    }
    const BarcodeSettings& s = view->m_settings;
    EXPECT_EQ(s.m_nBarWidth, 100);
    EXPECT_EQ(s.m_nBarHeight, 10000);
    EXPECT_EQ(s.m_nOriginX, -10000);
    EXPECT_EQ(s.m_nRepeat, 1);
    EXPECT_EQ(frame->findChild<CStatusBar*>()->GetPaneText(0),
              "Barline Width 99999999999 set to 100; Barline Hight 99999999999 set to 10000; "
              "Origin X -20000 set to -10000");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ShellTest, ExitClosesEverything) {
    ASSERT_TRUE(Start());
    Command(ID_WINDOW_NEW);
    Command(ID_APP_EXIT);
    EXPECT_FALSE(frame->isVisible());
    QTRY_COMPARE(DocumentCount(), 0u);
    EXPECT_TRUE(messages.isEmpty()); // nothing asks to be saved
}

} // namespace
