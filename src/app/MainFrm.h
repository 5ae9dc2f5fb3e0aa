#pragma once

#include "ControlBars.h"
#include "MDIFrameWnd.h"

#include <QList>
#include <QUrl>

// The main window with its toolbar and status bar.
class CMainFrame : public CMDIFrameWnd {
public:
    CMainFrame();

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
