#pragma once

#include "Dialog.h"

// The About box: the program's icon, name and version, and OK. Without a
// parent it is owned by the active window.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
