#pragma once

#include "Sequence.h"
#include "WinApp.h"

// The Tavik application: its start-up and its own commands.
class CTavikApp : public CWinApp {
public:
    explicit CTavikApp(QStringList arguments = QCoreApplication::arguments());

    bool InitInstance() override;
    void OnAppAbout();
    // File > New Sequence...: asks for the numbers and the pattern, then opens their rows.
    void OnFileNewSequence();
    // A new document window of the sequence's rows; no file is read or written.
    CDocument* NewSequenceDocument(const NumberSequence& sequence);
};
