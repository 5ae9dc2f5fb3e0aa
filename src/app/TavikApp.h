#pragma once

#include "WinApp.h"

// The Tavik application: its start-up and its own commands.
class CTavikApp : public CWinApp {
public:
    explicit CTavikApp(QStringList arguments = QCoreApplication::arguments());

    bool InitInstance() override;
    void OnAppAbout();
};
