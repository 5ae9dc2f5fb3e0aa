#pragma once

#include "ControlBars.h"
#include "MDIFrameWnd.h"

#include <QList>
#include <QUrl>

class CTavikView;

// The main window with its toolbar and status bar.
class CMainFrame : public CMDIFrameWnd {
    Q_OBJECT

public:
    CMainFrame();

    // The view's status goes to panes of this frame's status bar.
    void ConnectView(CTavikView& view);

    int OnCreate() override;
    // Files dropped anywhere on the window open as File > Open opens them.
    void OpenDroppedFiles(const QList<QUrl>& urls);

    // Owned by the frame, as its children.
    CStatusBar* m_wndStatusBar = new CStatusBar(this);
    CToolBar* m_wndToolBar = new CToolBar(this);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
