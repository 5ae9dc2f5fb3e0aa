#include "Dia_Bar.h"
#include "DialogTestSupport.h"
#include "TavikDoc.h"
#include "TavikView.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

class MouseDrag : public ShownViewTest {
protected:
    void Send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QWidget* vp = view->viewport();
        QMouseEvent e(type, QPointF(pos), QPointF(vp->mapToGlobal(pos)), button, buttons, keys);
        QCoreApplication::sendEvent(vp, &e);
    }
    void Press(QPoint p) { Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
    void Release(QPoint p) { Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
    void Move(QPoint p, Qt::MouseButtons buttons = Qt::LeftButton,
              Qt::KeyboardModifiers keys = Qt::NoModifier) {
        Send(QEvent::MouseMove, p, Qt::NoButton, buttons, keys);
    }

    bool Idle() const { return !view->m_bMovingOrigin && !view->m_bResizingHeight; }
};

// Handles at the initial origin (10, 10): the bars' bottom line at y 60 across
// the whole width (lines mode only, tested first), the 19 x 19 origin square.
TEST_F(MouseDrag, PressHitTests) {
    const struct {
        bool trueType;
        int barHeight;
        QPoint press;
        bool resizing;
        bool moving;
    } cases[] = {
        {false, 50, {300, 55}, true, false},  {false, 50, {15, 15}, false, true},
        {false, 50, {15, 40}, false, false},  {true, 50, {300, 55}, false, false},
        {true, 50, {15, 15}, false, true},    {true, 50, {15, 40}, false, false},
        {false, 5, {10, 10}, true, false},    {true, 5, {10, 10}, false, true},
        {false, 50, {0, 69}, true, false},    {false, 50, {499, 51}, true, false},
        {false, 50, {300, 70}, false, false}, {false, 50, {300, 50}, false, false},
        {false, 50, {1, 1}, false, true},     {false, 50, {19, 19}, false, true},
        {false, 50, {20, 10}, false, false},  {false, 50, {10, 0}, false, false},
    };
    for (const auto& c : cases) {
        S().m_bTrueType = c.trueType;
        S().m_nBarHeight = c.barHeight;
        Press(c.press);
        EXPECT_EQ(view->m_bResizingHeight, c.resizing) << c.press.x() << "," << c.press.y();
        EXPECT_EQ(view->m_bMovingOrigin, c.moving) << c.press.x() << "," << c.press.y();
        Release(c.press);
        EXPECT_TRUE(Idle());
    }
}

// The bottom follows the pointer; the drag's scroll sizes stand after its paint.
TEST_F(MouseDrag, HeightDragFollowsThePointer) {
    Press({300, 55});
    Move({300, 80});
    EXPECT_EQ(S().m_nBarHeight, 70);
    EXPECT_EQ(view->GetTotalSize(), QSize(10 * 41 + 10, 10 + 70 + 20));
    const QImage image = view->viewport()->grab().toImage();
    EXPECT_EQ(image.pixel(10, 79), qRgb(0, 0, 0)); // the first bar's last row
    EXPECT_EQ(image.pixel(10, 80), qRgb(255, 255, 255));
    Move({300, 5});
    EXPECT_EQ(S().m_nBarHeight, -5); // no lower limit
    Release({300, 5});
    EXPECT_EQ(S().m_nGuardExtra, 0);
}

TEST_F(MouseDrag, OriginJumpsToThePointer) {
    Press({17, 4});
    Move({100, 120});
    EXPECT_EQ(S().m_nOriginX, 100);
    EXPECT_EQ(S().m_nOriginY, 120);
    EXPECT_EQ(view->GetTotalSize(), QSize(10 * 41 + 100, 120 + 50 + 20));
    Release({100, 120});
    Move({200, 200});
    EXPECT_EQ(S().m_nOriginX, 100);
}

TEST_F(MouseDrag, TrueTypeSizesUseTheFontOffset) {
    S().m_bTrueType = true;
    Press({15, 15});
    Move({20, 20});
    EXPECT_EQ(view->GetTotalSize(), QSize(10 * 41 + 20, 20 + 29 + 20));
}

// Moves act with exactly the left button: no other button, no Shift, no Ctrl;
// the drag goes on as soon as that holds again.
TEST_F(MouseDrag, MovesActOnlyWithTheLeftButtonAlone) {
    const struct {
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers keys;
        bool acts;
    } cases[] = {
        {Qt::LeftButton, Qt::NoModifier, true},
        {Qt::LeftButton, Qt::ShiftModifier, false},
        {Qt::LeftButton, Qt::ControlModifier, false},
        {Qt::LeftButton | Qt::RightButton, Qt::NoModifier, false},
        {Qt::LeftButton | Qt::MiddleButton, Qt::NoModifier, false},
        {Qt::NoButton, Qt::NoModifier, false},
        {Qt::LeftButton, Qt::AltModifier, true},
    };
    for (const auto& c : cases) {
        S().m_nBarHeight = 50;
        Press({300, 55});
        Move({300, 80}, c.buttons, c.keys);
        EXPECT_EQ(S().m_nBarHeight, c.acts ? 70 : 50) << int(c.buttons) << " " << int(c.keys);
        Move({300, 90});
        EXPECT_EQ(S().m_nBarHeight, 80);
        Release({300, 90});
    }
}

TEST_F(MouseDrag, MovesWithoutADragChangeNothing) {
    const QSize sizes = view->GetTotalSize();
    Press({15, 40}); // no handle
    Move({100, 100});
    Release({100, 100});
    Move({60, 60});
    EXPECT_EQ(S().m_nOriginX, 10);
    EXPECT_EQ(S().m_nOriginY, 10);
    EXPECT_EQ(S().m_nBarHeight, 50);
    EXPECT_EQ(view->GetTotalSize(), sizes);
}

// Handles are found at their document positions in a scrolled view.
TEST_F(MouseDrag, ScrolledView) {
    S().m_nRepeat = 5;
    view->resize(300, 120);
    QApplication::processEvents();
    view->SetLayoutScrollSizes(); // the repeat count was changed directly
    view->ScrollToPosition({0, 30});
    ASSERT_EQ(view->GetScrollPosition(), QPoint(0, 30));
    Press({15, 15}); // the origin's client position, now document y 45
    EXPECT_TRUE(Idle());
    Release({15, 15});
    Press({200, 25}); // document y 55
    EXPECT_TRUE(view->m_bResizingHeight);
    Move({200, 50});
    EXPECT_EQ(S().m_nBarHeight, 70);
    Release({200, 50});
}

// The release ends a drag wherever it happens: the press grabbed the mouse,
// so the release outside the view still reaches it.
TEST_F(MouseDrag, ReleaseOutsideTheViewEndsTheDrag) {
    view.reset();
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* other = new QLabel(QStringLiteral("elsewhere"), &window);
    other->setMinimumSize(200, 200);
    view = std::make_unique<CTavikView>(&window);
    view->SetDialogs(BarcodeDialogs());
    doc.AddView(view.get());
    view->OnInitialUpdate();
    layout->addWidget(view.get());
    layout->addWidget(other);
    window.resize(700, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWindow* handle = window.windowHandle();
    const auto at = [&](QPoint client) { return view->viewport()->mapTo(&window, client); };
    const QPoint outside[] = {other->geometry().center(), QPoint(-40, 500)};
    for (const QPoint release : outside) {
        S().m_nBarHeight = 50;
        QTest::mousePress(handle, Qt::LeftButton, {}, at({300, 55}));
        ASSERT_TRUE(view->m_bResizingHeight);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, release);
        EXPECT_TRUE(Idle());
        // Back over the view without a new press, nothing is dragged.
        const int height = S().m_nBarHeight;
        QTest::mouseMove(handle, at({300, 120}));
        EXPECT_EQ(S().m_nBarHeight, height);
    }
    view.reset(); // before the window that holds it
}

// The first press may start a drag, its release ends it, the double click
// opens the Settings dialog, the last release ends again.
TEST_F(MouseDrag, DoubleClickOnAHandle) {
    Press({15, 15});
    EXPECT_TRUE(view->m_bMovingOrigin);
    Release({15, 15});
    {
        ModalStep<CDia_Bar> step([this](CDia_Bar& d) {
            EXPECT_TRUE(Idle());
            d.reject();
        });
        Send(QEvent::MouseButtonDblClick, {15, 15}, Qt::LeftButton, Qt::LeftButton);
    }
    Release({15, 15});
    EXPECT_TRUE(Idle());
    EXPECT_EQ(S().m_nOriginX, 10);
}

// Other buttons neither start a drag nor open the dialog.
TEST_F(MouseDrag, OtherButtonsAreNotLeftButtonMessages) {
    for (const Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
        Send(QEvent::MouseButtonPress, {15, 15}, b, b);
        EXPECT_TRUE(Idle());
        Send(QEvent::MouseButtonDblClick, {15, 15}, b, b); // would hang if it opened the dialog
        Send(QEvent::MouseButtonRelease, {15, 15}, b, Qt::NoButton);
    }
    EXPECT_TRUE(Idle());
}

} // namespace
