#pragma once

#include "ControlBars.h"
#include "MDIFrameWnd.h"

// The main window with its toolbar and status bar.
class CMainFrame : public CMDIFrameWnd {
public:
    CMainFrame();

    int OnCreate() override;

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
};
