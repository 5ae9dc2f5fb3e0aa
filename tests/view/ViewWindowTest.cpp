// The view's window additions: context menu, copy, export, zoom, keys and a
// scroll width that holds still.
#include "LineList.h"
#include "PrintLoop.h"
#include "TavikDoc.h"
#include "TavikView.h"
#include "ViewExport.h"
#include "ViewPrint.h"
#include "ViewRender.h"

#include "support/MessageLog.h"
#include "support/QtTryGTest.h"

#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct Window {
    // A shown view of a list file holding content (a new document when empty).
    explicit Window(const std::string& content = {}) {
        if (content.empty()) {
            doc.OnNewDocument();
        } else {
            path = dir.filePath(QStringLiteral("list.txt"));
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(content.data(), static_cast<qint64>(content.size()));
            f.close();
            EXPECT_TRUE(doc.OnOpenDocument(path));
        }
        doc.AddView(view.get());
        view->OnInitialUpdate();
        view->resize(400, 300);
        view->show();
        QTRY_VERIFY(!view->IsRowPassRunning());
    }
    QAction* Act(const char* name) const {
        return view->findChild<QAction*>(QString::fromLatin1(name));
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(view.get(), &press);
    }
    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QString path;
    CTavikDoc doc;
    std::unique_ptr<CTavikView> view = std::make_unique<CTavikView>();
};

std::string Lines(int count, const std::string& last = {}) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::to_string(100000 + i) + "\n";
    }
    return text + last;
}

std::string Decode(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(grey.bytesPerLine()));
    const ZXing::Result r = ZXing::ReadBarcode(view);
    return r.isValid() ? r.text() : std::string();
}

// Runs answer on the next modal box once action opens it.
void WithModal(const std::function<void(QWidget*)>& answer, const std::function<void()>& action) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            answer(modal);
        }
        ran = true;
    });
    action();
    EXPECT_TRUE(ran);
}

TEST(ViewContextMenu, ItemsAndWhenTheyAreEnabled) {
    Window w;
    const char* names[] = {"viewCopy",    "viewExport",     "viewZoomIn",
                           "viewZoomOut", "viewActualSize", "viewSettings"};
    for (const char* name : names) {
        ASSERT_NE(w.Act(name), nullptr) << name;
    }
    const struct {
        int zoom;
        bool in, out, actual;
    } cases[] = {{1, true, false, false}, {4, true, true, true}, {8, false, true, true}};
    for (const auto& c : cases) {
        w.view->SetZoom(c.zoom);
        EXPECT_EQ(w.Act("viewZoomIn")->isEnabled(), c.in) << c.zoom;
        EXPECT_EQ(w.Act("viewZoomOut")->isEnabled(), c.out) << c.zoom;
        EXPECT_EQ(w.Act("viewActualSize")->isEnabled(), c.actual) << c.zoom;
        EXPECT_TRUE(w.Act("viewCopy")->isEnabled());
    }
    // Nothing to draw: a zero-sized layout cannot be copied or exported.
    w.view->m_settings.m_strText.clear();
    w.view->m_settings.m_nOriginX = 0;
    w.view->m_settings.m_nOriginY = 0;
    w.view->m_settings.m_nRepeat = 0;
    w.view->StartRowPass();
    w.view->UpdateViewActions();
    EXPECT_FALSE(w.Act("viewCopy")->isEnabled());
    EXPECT_FALSE(w.Act("viewExport")->isEnabled());
    // A right click opens the menu with its items in order.
    QStringList shown;
    QTimer::singleShot(0, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            for (QAction* a : popup->actions()) {
                if (!a->isSeparator()) {
                    shown << a->objectName();
                }
            }
            popup->close();
        }
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20),
                            w.view->viewport()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(w.view->viewport(), &click);
    EXPECT_EQ(shown,
              (QStringList{"viewCopy", "viewExport", "viewZoomIn", "viewZoomOut", "viewActualSize",
                           "viewNextProblem", "viewSettings", "pageLayoutAction"}));
    // The actions and Ctrl+wheel reach the zoom.
    w.view->SetZoom(1);
    w.Act("viewZoomIn")->trigger();
    w.Act("viewZoomIn")->trigger();
    EXPECT_EQ(w.view->GetZoom(), 3);
    QWheelEvent wheel(QPointF(20, 20), w.view->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.view->viewport(), &wheel);
    EXPECT_EQ(w.view->GetZoom(), 4);
    w.Act("viewActualSize")->trigger();
    EXPECT_EQ(w.view->GetZoom(), 1);
}

TEST(ViewCopy, ImageAndSvgOfTheBatchDrawing) {
    Window w;
    w.view->SetZoom(3); // the screen's zoom does not reach the copy
    QApplication::clipboard()->clear();
    w.Act("viewCopy")->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasImage());
    const QImage copied = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), RenderViewImage(*w.view, 1));
    EXPECT_EQ(Decode(copied), "0123456789");
    const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
    QByteArray expected;
    ASSERT_TRUE(RenderViewSvg(*w.view, expected, 1));
    EXPECT_EQ(svg, expected);
    EXPECT_TRUE(svg.contains("<svg"));

    // Too large: one message, the clipboard as it was.
    MessageLog log;
    w.view->m_settings.m_nRepeat = 100000;
    w.view->StartRowPass();
    w.Act("viewCopy")->trigger();
    ASSERT_EQ(log.texts.size(), 1u);
    EXPECT_TRUE(log.texts[0].contains(QStringLiteral("too large"))) << log.texts[0].toStdString();
    EXPECT_EQ(QApplication::clipboard()->mimeData()->data(QStringLiteral("image/svg+xml")), svg);
}

TEST(ViewExport, EachFormatReplacingAndFailures) {
    Window w(Lines(3));
    MessageLog log;
    const struct {
        const char* name;
        const char* magic;
    } formats[] = {{"out.png", "\x89PNG"}, {"out.svg", "<?xml"}, {"out.pdf", "%PDF"}};
    for (const auto& f : formats) {
        ASSERT_TRUE(w.view->ExportTo(w.File(f.name))) << f.name;
        QFile file(w.File(f.name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(5).startsWith(f.magic)) << f.name;
    }
    QImage png(w.File("out.png"));
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), RenderViewImage(*w.view, 1));

    // Export... offers the three formats; a name without an extension takes
    // the chosen filter's.
    QStringList filters;
    WithModal(
        [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            filters = dialog->nameFilters();
            dialog->selectNameFilter(filters.value(1));
            dialog->selectFile(w.File("chosen"));
            static_cast<QDialog*>(dialog)->accept();
        },
        [&] { w.Act("viewExport")->trigger(); });
    EXPECT_EQ(filters,
              (QStringList{"PNG image (*.png)", "SVG image (*.svg)", "PDF document (*.pdf)"}));
    EXPECT_TRUE(QFileInfo::exists(w.File("chosen.svg")));

    // Replacing asks first: No keeps the file, Yes replaces it.
    QFile::resize(w.File("out.png"), 3);
    for (const bool yes : {false, true}) {
        bool result = !yes;
        WithModal(
            [&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                ASSERT_NE(box, nullptr);
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            },
            [&] { result = w.view->ExportTo(w.File("out.png")); });
        EXPECT_EQ(result, yes);
        EXPECT_EQ(QFileInfo(w.File("out.png")).size() > 3, yes);
    }
    EXPECT_TRUE(log.texts.empty());

    // Failures: one message naming the file and the reason, and no file left.
    const struct {
        QString path;
        const char* reason;
    } failures[] = {
        {w.path, "opened text file"},
        {w.File("missing/out.png"), "No such file"},
        {w.File("missing/out.pdf"), "No such file"},
    };
    for (const auto& f : failures) {
        log.texts.clear();
        const qint64 before = QFileInfo(f.path).size();
        EXPECT_FALSE(w.view->ExportTo(f.path));
        ASSERT_EQ(log.texts.size(), 1u) << f.reason;
        EXPECT_TRUE(log.texts[0].contains(f.path)) << log.texts[0].toStdString();
        EXPECT_TRUE(log.texts[0].contains(QString::fromLatin1(f.reason)))
            << log.texts[0].toStdString();
        EXPECT_EQ(QFileInfo(f.path).size(), before);
    }
    EXPECT_EQ(QDir(w.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Long work runs off the window's thread: the window handles events meanwhile,
// a second job waits its turn with a message, Cancel leaves no file behind,
// and Print to File writes a whole PDF but never over the open list.
TEST(ViewJobs, ResponsiveCancelledAndNeverOverTheList) {
    Window w(Lines(100000));
    MessageLog log;
    int ticks = 0;
    bool secondRefused = false;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (++ticks == 1) {
            secondRefused = !w.view->ExportTo(w.File("second.png"));
        } else if (ticks == 3) {
            auto* progress = w.view->findChild<QProgressDialog*>("JobProgressDialog");
            ASSERT_NE(progress, nullptr);
            progress->findChild<QPushButton*>()->click();
        }
    });
    tick.start(5);
    EXPECT_FALSE(w.view->ExportTo(w.File("out.pdf")));
    tick.stop();
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(secondRefused);
    ASSERT_EQ(log.texts.size(), 1u);
    EXPECT_TRUE(log.texts[0].contains("still running")) << log.texts[0].toStdString();
    EXPECT_EQ(QDir(w.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.txt"});
    EXPECT_FALSE(w.view->IsJobRunning());

    Window small(Lines(3));
    const QByteArray list = ReadFile(small.path);
    QPrinter printer(QPrinter::HighResolution);
    log.texts.clear();
    printer.setOutputFileName(small.path);
    printer.setOutputFormat(QPrinter::PdfFormat); // as the dialog's Print to File sets it
    EXPECT_FALSE(small.view->PrintPages(printer).ok);
    ASSERT_EQ(log.texts.size(), 1u);
    EXPECT_TRUE(log.texts[0].contains("opened text file")) << log.texts[0].toStdString();
    EXPECT_EQ(ReadFile(small.path), list);
    printer.setOutputFileName(small.File("printed.pdf"));
    EXPECT_TRUE(small.view->PrintPages(printer).ok);
    const QByteArray pdf = ReadFile(small.File("printed.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF") && pdf.trimmed().endsWith("%%EOF"));
    EXPECT_EQ(QDir(small.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_TRUE(log.texts.size() == 1) << log.texts.size();

    // Printed, but with an X below the standard's smallest: the job says so when done.
    small.view->m_settings.m_print.xMm = 0.15;
    EXPECT_TRUE(small.view->PrintPages(printer).ok);
    ASSERT_EQ(log.texts.size(), 2u);
    EXPECT_TRUE(log.texts[1].contains("X below the smallest of Code 39: 0.148 mm"))
        << log.texts[1].toStdString();
}

// Scroll sizes and drags stay in logical units at every zoom.
TEST(ViewZoom, ScrollSizesAndDragInLogicalUnits) {
    Window w(Lines(100));
    const QSize logical = w.view->GetTotalSize();
    const int visible = w.view->viewport()->height();
    for (const int zoom : {1, 2, 3}) {
        w.view->SetZoom(zoom);
        EXPECT_EQ(w.view->GetTotalSize(), logical);
        EXPECT_EQ(w.view->verticalScrollBar()->maximum(), logical.height() - visible / zoom);
    }
    // At zoom 2 the bars' bottom (y 10 + 50) is at pixel 120; dragging it to
    // pixel 160 makes the bars 70 units high.
    w.view->SetZoom(2);
    w.view->ScrollToPosition({0, 0});
    QTest::mousePress(w.view->viewport(), Qt::LeftButton, {}, QPoint(300, 121));
    EXPECT_TRUE(w.view->m_bResizingHeight);
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 160), QPointF(300, 160), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.view->viewport(), &move);
    EXPECT_EQ(w.view->m_settings.m_nBarHeight, 70);
    QTest::mouseRelease(w.view->viewport(), Qt::LeftButton, {}, QPoint(300, 160));
    EXPECT_EQ(w.view->m_settings.m_nBarHeight, 70);
}

TEST(ViewKeys, StepsInALongList) {
    Window w(Lines(100000));
    const int pitch = 69;
    const int visible = w.view->viewport()->height();
    auto y = [&] { return w.view->GetScrollPosition().y(); };
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
        int expected; // -1: the end
    } steps[] = {
        {Qt::Key_Down, Qt::NoModifier, pitch},
        {Qt::Key_Down, Qt::NoModifier, 2 * pitch},
        {Qt::Key_Up, Qt::NoModifier, pitch},
        {Qt::Key_PageDown, Qt::NoModifier, pitch + visible - pitch},
        {Qt::Key_PageUp, Qt::NoModifier, pitch},
        {Qt::Key_End, Qt::ControlModifier, -1},
        {Qt::Key_Home, Qt::ControlModifier, 0},
    };
    for (const auto& s : steps) {
        w.Key(s.key, s.mods);
        EXPECT_EQ(y(), s.expected < 0 ? w.view->verticalScrollBar()->maximum() : s.expected)
            << s.key;
    }
    EXPECT_EQ(w.view->verticalScrollBar()->maximum(), 100000 * pitch + 10 - visible);
    // Home and End go to the left and right edges.
    w.view->resize(100, 300);
    QApplication::processEvents();
    ASSERT_GT(w.view->horizontalScrollBar()->maximum(), 0);
    w.Key(Qt::Key_End);
    EXPECT_EQ(w.view->GetScrollPosition().x(), w.view->horizontalScrollBar()->maximum());
    w.Key(Qt::Key_Home);
    EXPECT_EQ(w.view->GetScrollPosition().x(), 0);
    EXPECT_EQ(w.view->verticalScrollBar()->singleStep(), pitch);
}

// The widest row sets the width, wherever the view is scrolled, and a
// print pass leaves the sizes alone.
TEST(ViewScrollWidth, HoldsAfterScrollingAndPrinting) {
    const std::string wide(60, 'W');
    Window w(Lines(2000, wide + "\n"));
    const QSize total = w.view->GetTotalSize();
    // *WWW...W*: 62 characters of 16 modules, plus x at both sides; far wider
    // than the text-length estimate of 420.
    EXPECT_EQ(total.width(), 10 + 62 * 16 + 10);
    EXPECT_EQ(w.view->DrawnRight() + 10, total.width());
    for (const int y : {0, total.height(), 5000}) {
        w.view->ScrollToPosition({0, y});
        w.view->RedrawWindow();
        EXPECT_EQ(w.view->GetTotalSize(), total) << y;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(w.File("p.pdf"));
    ASSERT_TRUE(RunPrintLoop(*w.view, printer).ok);
    EXPECT_EQ(w.view->GetTotalSize(), total);
    w.view->m_pPrintInfo = nullptr;
    WithModal([](QWidget* preview) { preview->close(); },
              [&] { OnFilePrintPreview(*w.view, printer); });
    EXPECT_NE(w.view->m_pPrintInfo, nullptr) << "the preview drew a page";
    w.view->m_pPrintInfo = nullptr;
    EXPECT_EQ(w.view->GetTotalSize(), total);
    // A new pass starts from the estimate and comes back to the same width.
    w.view->StartRowPass();
    QTRY_COMPARE(w.view->GetTotalSize(), total);
}

} // namespace
