#pragma once

#include "AfxRes.h"

#include <QStatusBar>
#include <QToolBar>

#include <vector>

class CCommandActions;
class QLabel;
class QMainWindow;

// A toolbar of command buttons, dockable on any side of its frame.
class CToolBar : public QToolBar {
    Q_OBJECT

public:
    explicit CToolBar(QWidget* parent = nullptr);

    // Puts the bar at the top of frame, its buttons being commands' actions;
    // id names it among the frame's bars.
    bool CreateEx(QMainWindow* frame, CCommandActions& commands, UINT id = AFX_IDW_TOOLBAR);
    // Buttons, images and tooltips from toolbar resource id; false when missing.
    bool LoadToolBar(UINT id);
    void EnableDocking(unsigned long) { setAllowedAreas(Qt::AllToolBarAreas); }

private:
    CCommandActions* m_pCommands = nullptr;
};

// The status bar: a message pane, then indicator panes that show their text
// (from the string table) while their lock key is on.
class CStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit CStatusBar(QWidget* parent = nullptr);

    bool Create(QMainWindow* frame, UINT id = AFX_IDW_STATUS_BAR);
    // ID_SEPARATOR is the message pane; other ids are indicators.
    bool SetIndicators(const UINT* ids, int count);

    void SetPaneText(int index, const QString& text);
    QString GetPaneText(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateIndicators();

    std::vector<UINT> m_ids;
    std::vector<QLabel*> m_panes;
};

// Whether Caps Lock, Num Lock and Scroll Lock are on (all off where the
// windowing system cannot tell).
struct LockKeyState {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};
LockKeyState GetLockKeyState();
