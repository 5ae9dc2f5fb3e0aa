#include "ShellFixture.h"

#include "ControlBars.h"
#include "RecentFileList.h"
#include "Resource.h"

#include "support/QtTryGTest.h"
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMimeData>

namespace {

QStringList RecentFiles(const CWinApp& app) {
    return app.GetRecentFileList()->Files();
}

TEST_F(ShellTest, RecentFilesNewestFirstEachOnce) {
    ASSERT_TRUE(Start());
    const QString a = WriteFile("a.txt", "A\n"), b = WriteFile("b.txt", "B\n"),
                  c = WriteFile("c.txt", "C\n");
    for (const QString& path : {a, b, c}) {
        ASSERT_NE(app->OpenDocumentFile(path), nullptr);
    }
    EXPECT_EQ(RecentFiles(*app), (QStringList{c, b, a}));
    EXPECT_EQ(MenuItems("&File").mid(8, 3), (QStringList{"&1 " + c, "&2 " + b, "&3 " + a}));

    // Opening a file that is open activates its window and moves it first.
    ASSERT_NE(app->OpenDocumentFile(a), nullptr);
    EXPECT_EQ(RecentFiles(*app), (QStringList{a, c, b}));
    EXPECT_EQ(DocumentCount(), 4u);
    EXPECT_EQ(frame->MDIGetActive()->GetTitle(), "a.txt");
}

TEST_F(ShellTest, RecentFilesKeepSixteen) {
    ASSERT_TRUE(Start());
    QStringList paths;
    for (int i = 1; i <= 18; ++i) {
        paths.append(WriteFile(QStringLiteral("f%1.txt").arg(i), "X\n"));
        ASSERT_NE(app->OpenDocumentFile(paths.last()), nullptr);
    }
    const QStringList recent = RecentFiles(*app);
    ASSERT_EQ(recent.size(), 16);
    EXPECT_EQ(recent.first(), paths[17]);
    EXPECT_EQ(recent.last(), paths[2]);
    EXPECT_EQ(Action("ID_FILE_MRU_FILE16")->text(), "16 " + paths[2]);
    EXPECT_EQ(Action("ID_FILE_MRU_FILE10")->text(), "1&0 " + paths[8]);
    EXPECT_TRUE(Action("ID_FILE_MRU_FILE16")->isEnabled());
}

TEST_F(ShellTest, FileThatFailsToOpenIsNotAdded) {
    ASSERT_TRUE(Start());
    const QString missing = dir.filePath("missing.txt");
    const QString folder = dir.path();
    for (const QString& path : {missing, folder}) {
        messages.clear();
        EXPECT_EQ(app->OpenDocumentFile(path), nullptr) << path.toStdString();
        ASSERT_EQ(messages.size(), 1) << path.toStdString();
        EXPECT_TRUE(messages[0].contains(path)) << messages[0].toStdString();
    }
    EXPECT_TRUE(RecentFiles(*app).isEmpty());
    EXPECT_EQ(DocumentCount(), 1u);
    EXPECT_EQ(frame->GetChildren().size(), 1u);
}

TEST_F(ShellTest, RecentFilesKeptAcrossARestart) {
    ASSERT_TRUE(Start());
    const QString a = WriteFile("a.txt", "A\n"), b = WriteFile("b.txt", "B\n");
    app->OpenDocumentFile(a);
    app->OpenDocumentFile(b);
    Stop();
    EXPECT_EQ(QSettings("Korvalin", "Tavik").value("Recent File List/File1").toString(), b);

    ASSERT_TRUE(Start());
    ASSERT_EQ(RecentFiles(*app), (QStringList{b, a}));
    EXPECT_EQ(Action("ID_FILE_MRU_FILE1")->text(), "&1 " + b);
    Action("ID_FILE_MRU_FILE2")->trigger();
    EXPECT_EQ(frame->MDIGetActive()->GetTitle(), "a.txt");
}

TEST_F(ShellTest, RecentEntryThatNoLongerOpensIsDropped) {
    ASSERT_TRUE(Start());
    const QString a = WriteFile("a.txt", "A\n"), b = WriteFile("b.txt", "B\n");
    app->OpenDocumentFile(a);
    app->OpenDocumentFile(b);
    Command(ID_FILE_CLOSE);
    QTRY_COMPARE(DocumentCount(), 2u);
    ASSERT_TRUE(QFile::remove(b));
    Action("ID_FILE_MRU_FILE1")->trigger();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(RecentFiles(*app), QStringList{a});
    EXPECT_EQ(DocumentCount(), 2u);
}

TEST_F(ShellTest, FileOpenOffersAllFiles) {
    ASSERT_TRUE(Start());
    const QString path = WriteFile("codes.dat", "123\n456\n");
    QStringList filters;
    WithModal(
        [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            filters = dialog->nameFilters();
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, virtually
        },
        [&] { Action("ID_FILE_OPEN")->trigger(); });
    EXPECT_EQ(filters, QStringList{"All Files (*)"});
    EXPECT_EQ(frame->MDIGetActive()->GetTitle(), "codes.dat");
    EXPECT_EQ(RecentFiles(*app), QStringList{path});
}

TEST(RecentFileList, MenuTexts) {
    CRecentFileList list(QStringLiteral("Recent File List"), QStringLiteral("File%1"), 12);
    const QString deep = "/srv/" + QString(70, u'd') + "/last.txt";
    const QString paths[] = {"/x/12.txt", "/x/11.txt", "/x/10.txt",  "/x/9.txt",
                             "/x/8.txt",  "/x/7.txt",  "/x/6.txt",   "/x/5.txt",
                             "/x/4.txt",  "/x/3.txt",  "/x/R&D.txt", deep};
    for (const QString& p : paths) {
        list.Add(p);
    }
    const struct {
        int index;
        QString text;
    } cases[] = {
        {1, "&2 /x/R&&D.txt"}, {8, "&9 /x/9.txt"}, {9, "1&0 /x/10.txt"}, {11, "12 /x/12.txt"}};
    for (const auto& c : cases) {
        EXPECT_EQ(list.MenuText(c.index), c.text) << c.index;
    }
    const QString elided = list.MenuText(0);
    EXPECT_TRUE(elided.startsWith("&1 /srv/ddd")) << elided.toStdString();
    EXPECT_TRUE(elided.endsWith("\u2026/last.txt")) << elided.toStdString();
    EXPECT_LE(elided.size(), 3 + 60);
}

} // namespace

// Files dropped on the main window open as File > Open opens them, recent
// files included; what is not a local file is ignored.
TEST_F(ShellTest, DroppedFilesOpen) {
    ASSERT_TRUE(Start());
    const QString a = WriteFile("a.txt", "123\n");
    const QString b = WriteFile("b.txt", "456\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(a), QUrl(QStringLiteral("https://example.org/c.txt")),
                  QUrl::fromLocalFile(b)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &drop);
    QTRY_COMPARE(DocumentCount(), 3u); // the new document and the two dropped
    EXPECT_EQ(frame->MDIGetActive()->GetTitle(), "b.txt");
    EXPECT_EQ(RecentFiles(*app), (QStringList{b, a}));
}

// Ctrl+C of the accelerator table copies the active view's drawing.
TEST_F(ShellTest, CopyCommandReachesTheView) {
    ASSERT_TRUE(Start());
    QApplication::clipboard()->clear();
    QAction* copy = Action("ID_EDIT_COPY");
    ASSERT_TRUE(copy->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_C)));
    frame->UpdateCommandUI();
    ASSERT_TRUE(copy->isEnabled());
    copy->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasImage());
    EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
}

// The status bar shows the active view's zoom while it is not 1.
TEST_F(ShellTest, StatusBarShowsTheZoom) {
    ASSERT_TRUE(Start());
    QWidget* view = frame->MDIGetActive()->widget();
    view->findChild<QAction*>(QStringLiteral("viewZoomIn"))->trigger();
    auto* label = frame->findChild<QLabel*>(QStringLiteral("zoomIndicator"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isVisibleTo(frame));
    EXPECT_EQ(label->text(), QStringLiteral("Zoom 2x"));
    view->findChild<QAction*>(QStringLiteral("viewActualSize"))->trigger();
    EXPECT_FALSE(label->isVisibleTo(frame));
}

namespace {

// The status-bar pane counts the active view's problem rows, and F8 walks them
// from the top row down, wrapping around, naming each row's line and reason.
TEST_F(ShellTest, RowCheckPaneAndNextProblemRow) {
    ASSERT_TRUE(Start());
    QByteArray list;
    for (int i = 1; i <= 40; ++i) {
        list += i == 2    ? "abc\n"
                : i == 20 ? "A#B\n"
                : i == 30 ? "\n"
                : i == 35 ? "A*B\n"
                          : "ROW" + QByteArray::number(i) + "\n";
    }
    ASSERT_NE(app->OpenDocumentFile(WriteFile(QStringLiteral("rows.txt"), list)), nullptr);
    QWidget* view = frame->MDIGetActive()->widget();
    QLabel* pane = nullptr;
    QTRY_VERIFY((pane = frame->findChild<QLabel*>(QStringLiteral("rowCheckIndicator"))) != nullptr);
    QTRY_COMPARE(pane->text(), QStringLiteral("40 lines, 2 refused, 2 differ"));
    QAction* next = view->findChild<QAction*>(QStringLiteral("viewNextProblem"));
    ASSERT_TRUE(next->shortcuts().contains(QKeySequence(Qt::Key_F8)));
    const QString expected[] = {
        QStringLiteral("Line 2: reads as \"ABC\""),
        QStringLiteral("Line 20: refused: Character 2, \"#\", is not in Code 39 (0-9, A-Z, a-z, "
                       "space, - . $ / + % *)."),
        QStringLiteral("Line 30: empty line"),
        QStringLiteral("Line 35: not one symbol: Reading stops at element 20 of 50: a start/stop "
                       "character inside the symbol."),
        QStringLiteral("Line 2: reads as \"ABC\""),
    };
    for (const QString& message : expected) {
        next->trigger();
        EXPECT_EQ(frame->findChild<CStatusBar*>()->GetPaneText(0), message);
    }
}

} // namespace
