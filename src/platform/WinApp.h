#pragma once

#include "FrameApp.h"
#include "RecentFileList.h"

#include <QCoreApplication>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CDocument;
class CMDIFrameWnd;
class CMultiDocTemplate;
class QPrinter;
class QWidget;

// What the command line asks for:
//   (nothing)                 a new document
//   FILE                      open FILE
//   --print FILE              print FILE on the default printer, then end
//   --print-to FILE PRINTER   print FILE on PRINTER, then end
//   --help                    usage on standard output
//   --version                 name and version on standard output
// "--" ends the options. Anything else is a usage error.
class CCommandLineInfo {
public:
    enum Command { FileNew, FileOpen, FilePrint, FilePrintTo, Help, Version, Error };

    void ParseArguments(const QStringList& args); // without the program name

    Command m_nShellCommand = FileNew;
    QString m_strFileName;
    QString m_strPrinterName;
    QString m_strError;
};

// A button that Print Setup shows beside its own: its text, its objectName, and
// what a click does, given the Print Setup dialog as parent. While action gives
// nothing (no window it applies to, say) the button is left out.
struct CPrintSetupButton {
    QString text;
    QString objectName;
    std::function<std::function<void(QWidget* dialog)>()> action;
};

// The application: start-up, the recent-file list kept in the user's
// settings, the document templates, the printer set-up shared by every print
// job, the main frame, the application's commands and help.
class CWinApp : public CFrameApp {
public:
    // arguments include the program name.
    explicit CWinApp(QStringList arguments = QCoreApplication::arguments());
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // False ends the program.
    virtual bool InitInstance();
    virtual int ExitInstance();
    // InitInstance, the event loop while the main frame is open, ExitInstance;
    // returns the exit status.
    int Run();

    // Settings live under organisation company, application m_pszAppName.
    void SetRegistryKey(const QString& company);
    // Loads the recent-file list of at most maxMRU entries.
    void LoadStdProfileSettings(int maxMRU);
    // Writes the list back when it changed since it was loaded.
    void SaveStdProfileSettings();

    void AddDocTemplate(std::unique_ptr<CMultiDocTemplate> tmpl);
    CMultiDocTemplate* GetDocTemplate() const;

    CMDIFrameWnd* GetMainFrame() const override { return m_pMainWnd.get(); }
    void SetMainFrame(std::unique_ptr<CMDIFrameWnd> frame);
    void DestroyMainFrame();

    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void AddPrintSetupButton(CPrintSetupButton button);
    void OnAppExit();
    void OnOpenRecentFile(int index);
    void HtmlHelp();

    // Opens path in a new window (or activates the window that has it) and
    // puts it first in the recent files; a message box on failure.
    CDocument* OpenDocumentFile(const QString& path);
    void AddToRecentFileList(const QString& path);
    const CRecentFileList* GetRecentFileList() const override { return m_pRecentFileList.get(); }

    void ParseCommandLine(CCommandLineInfo& info) const;
    // Carries out what the command line asks; false ends the program (with
    // m_nExitCode set).
    bool ProcessShellCommand(const CCommandLineInfo& info);

    // The printer set up by Print Setup, used by Print and Print Preview.
    QPrinter& GetPrinter();

    QString m_pszAppName;      // the application title
    QString m_pszRegistryKey;  // the settings' organisation
    QString m_strHelpFilePath; // the help page
    int m_nExitCode = 0;

protected:
    // Asks for a file to open; empty when cancelled.
    virtual QString PromptOpenFileName();

private:
    bool PrintFromCommandLine(const CCommandLineInfo& info);
    void ReportError(const QString& text) const;
    QString ProgramName() const;

    QStringList m_arguments;
    QString m_strLastDirectory;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    QStringList m_savedRecentFiles; // the list as the settings hold it
    std::unique_ptr<QPrinter> m_pPrinter;
    std::vector<CPrintSetupButton> m_printSetupButtons;
    std::vector<std::unique_ptr<CMultiDocTemplate>> m_templates;
    QPointer<QWidget> m_pHelpWindow;
    // Declared last: the frame goes before the templates whose windows it holds.
    std::unique_ptr<CMDIFrameWnd> m_pMainWnd;
};

// The running application (the one most recently constructed).
CWinApp* AfxGetApp();

// Start-up steps that need nothing on this platform; they succeed.
bool InitCommonControls();
bool AfxOleInit();
void AfxEnableControlContainer();
