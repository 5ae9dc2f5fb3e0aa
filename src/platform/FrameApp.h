#pragma once

#include "CmdTarget.h"

class CMDIFrameWnd;
class CRecentFileList;

// The application as its frames and templates see it: the last command target,
// the main frame and the recent files. CWinApp is the one.
class CFrameApp : public CCmdTarget {
public:
    virtual CMDIFrameWnd* GetMainFrame() const = 0;
    virtual const CRecentFileList* GetRecentFileList() const = 0;

protected:
    // The running application, or null (set by CWinApp while it lives).
    static void SetCurrent(CFrameApp* app);
};

CFrameApp* AfxGetFrameApp();
// The running application's main frame; null while there is none, and while
// it is destroyed.
CMDIFrameWnd* AfxGetMainWnd();
