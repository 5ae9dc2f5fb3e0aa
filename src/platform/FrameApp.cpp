#include "FrameApp.h"

namespace {

CFrameApp*& Current() {
    static CFrameApp* app = nullptr;
    return app;
}

} // namespace

void CFrameApp::SetCurrent(CFrameApp* app) {
    Current() = app;
}

CFrameApp* AfxGetFrameApp() {
    return Current();
}

CMDIFrameWnd* AfxGetMainWnd() {
    const CFrameApp* app = AfxGetFrameApp();
    return app != nullptr ? app->GetMainFrame() : nullptr;
}
