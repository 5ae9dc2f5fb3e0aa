#include "MainFrm.h"

#include "Resource.h"
#include "WinApp.h"

namespace {

// The message pane, then the lock-key indicators.
constexpr UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                               ID_INDICATOR_SCRL};

constexpr unsigned long CBRS_ALIGN_ANY = 0xF000;

} // namespace

CMainFrame::CMainFrame() {
    for (const UINT id : {ID_HELP_FINDER, ID_HELP, ID_CONTEXT_HELP, ID_DEFAULT_HELP}) {
        m_messageMap.On(id, [] { AfxGetApp()->HtmlHelp(); });
    }
}

int CMainFrame::OnCreate() {
    if (CMDIFrameWnd::OnCreate() == -1) {
        return -1;
    }
    if (!m_wndToolBar.CreateEx(this, AFX_IDW_TOOLBAR) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
        return -1;
    }
    if (!m_wndStatusBar.Create(this, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(indicators, static_cast<int>(std::size(indicators)))) {
        return -1;
    }
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    return 0;
}
