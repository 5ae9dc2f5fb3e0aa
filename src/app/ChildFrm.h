#pragma once

#include "MDIFrameWnd.h"

// A document window; it adds nothing to the framework's.
class CChildFrame : public CMDIChildWnd {
public:
    using CMDIChildWnd::CMDIChildWnd;
};
