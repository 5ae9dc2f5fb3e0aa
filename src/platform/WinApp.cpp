#include "WinApp.h"

#include "DocTemplate.h"
#include "Document.h"
#include "MDIFrameWnd.h"
#include "MessageBox.h"
#include "PrintLoop.h"
#include "PrinterResolution.h"
#include "Resources.h"
#include "ScrollView.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSettings>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>

namespace {

CWinApp*& CurrentApp() {
    static CWinApp* app = nullptr;
    return app;
}

constexpr int kMaxRecentFiles = 16;

} // namespace

// --------------------------------------------------------------- command line

void CCommandLineInfo::ParseArguments(const QStringList& args) {
    QStringList files;
    bool options = true;
    m_nShellCommand = FileNew;
    for (const QString& arg : args) {
        if (options && arg == QStringLiteral("--")) {
            options = false;
        } else if (options && (arg == QStringLiteral("--help") || arg == QStringLiteral("-h"))) {
            m_nShellCommand = Help;
            return;
        } else if (options && arg == QStringLiteral("--version")) {
            m_nShellCommand = Version;
            return;
        } else if (options && arg == QStringLiteral("--print")) {
            m_nShellCommand = FilePrint;
        } else if (options && arg == QStringLiteral("--print-to")) {
            m_nShellCommand = FilePrintTo;
        } else if (options && arg.startsWith(u'-') && arg.size() > 1) {
            m_nShellCommand = Error;
            m_strError = QStringLiteral("unknown option \"%1\"").arg(arg);
            return;
        } else {
            files.append(arg);
        }
    }
    const qsizetype wanted = m_nShellCommand == FilePrintTo ? 2 : 1;
    if (m_nShellCommand == FileNew && files.isEmpty()) {
        return;
    }
    if (files.size() != wanted) {
        m_strError = m_nShellCommand == FilePrintTo
                         ? QStringLiteral("--print-to needs FILE and PRINTER")
                     : files.isEmpty() ? QStringLiteral("--print needs FILE")
                                       : QStringLiteral("one FILE at most");
        m_nShellCommand = Error;
        return;
    }
    if (m_nShellCommand == FileNew) {
        m_nShellCommand = FileOpen;
    }
    m_strFileName = files[0];
    if (m_nShellCommand == FilePrintTo) {
        m_strPrinterName = files[1];
    }
}

// ---------------------------------------------------------------- application

CWinApp::CWinApp(QStringList arguments) : m_arguments(std::move(arguments)) {
    CurrentApp() = this;
    SetCurrent(this);
    m_messageMap.On(ID_APP_EXIT, [this] { OnAppExit(); });
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        m_messageMap.On(
            ID_FILE_MRU_FILE1 + static_cast<UINT>(i), [this, i] { OnOpenRecentFile(i); },
            [this, i](CCmdUI& ui) {
                ui.Enable(m_pRecentFileList != nullptr && i < m_pRecentFileList->GetCount());
            });
    }
}

CWinApp::~CWinApp() {
    DestroyMainFrame();
    if (CurrentApp() == this) {
        CurrentApp() = nullptr;
        SetCurrent(nullptr);
    }
}

bool CWinApp::InitInstance() {
    return true;
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    DestroyMainFrame();
    return m_nExitCode;
}

int CWinApp::Run() {
    if (InitInstance() && m_pMainWnd != nullptr) {
        QApplication::exec();
    }
    return ExitInstance();
}

void CWinApp::SetRegistryKey(const QString& company) {
    m_pszRegistryKey = company;
}

void CWinApp::LoadStdProfileSettings(int maxMRU) {
    m_pRecentFileList = std::make_unique<CRecentFileList>(QStringLiteral("Recent File List"),
                                                          QStringLiteral("File%1"), maxMRU);
    QSettings settings(m_pszRegistryKey, m_pszAppName);
    m_pRecentFileList->ReadList(settings);
    m_savedRecentFiles = m_pRecentFileList->Files();
}

void CWinApp::SaveStdProfileSettings() {
    // Unchanged, it is not written: another instance may have changed it since.
    if (m_pRecentFileList == nullptr || m_pRecentFileList->Files() == m_savedRecentFiles) {
        return;
    }
    QSettings settings(m_pszRegistryKey, m_pszAppName);
    m_pRecentFileList->WriteList(settings);
    m_savedRecentFiles = m_pRecentFileList->Files();
}

void CWinApp::AddDocTemplate(std::unique_ptr<CMultiDocTemplate> tmpl) {
    m_templates.push_back(std::move(tmpl));
}

CMultiDocTemplate* CWinApp::GetDocTemplate() const {
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

void CWinApp::SetMainFrame(std::unique_ptr<CMDIFrameWnd> frame) {
    m_pMainWnd = std::move(frame);
}

// reset() clears the pointer before the frame is destroyed, so windows going
// with it find no main frame to report to.
void CWinApp::DestroyMainFrame() {
    m_pMainWnd.reset();
}

void CWinApp::OnFileNew() {
    if (CMultiDocTemplate* tmpl = GetDocTemplate()) {
        tmpl->OpenDocumentFile(QString());
    }
}

void CWinApp::OnFileOpen() {
    const QString path = PromptOpenFileName();
    if (!path.isEmpty()) {
        OpenDocumentFile(path);
    }
}

// With no filter in the document string only "All Files" is offered.
QString CWinApp::PromptOpenFileName() {
    QFileDialog dialog(m_pMainWnd.get(), QStringLiteral("Open"), m_strLastDirectory,
                       QStringLiteral("All Files (*)"));
    dialog.setObjectName(QStringLiteral("FileOpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString path = dialog.selectedFiles().constFirst();
    m_strLastDirectory = QFileInfo(path).absolutePath();
    return path;
}

void CWinApp::OnFilePrintSetup() {
    QPrintDialog dialog(&GetPrinter(), m_pMainWnd.get());
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    // It only chooses: its button does not print.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
            ok->setText(QStringLiteral("OK"));
        }
        for (const CPrintSetupButton& extra : m_printSetupButtons) {
            if (std::function<void(QWidget*)> act = extra.action ? extra.action() : nullptr) {
                QPushButton* button = buttons->addButton(extra.text, QDialogButtonBox::ActionRole);
                button->setObjectName(extra.objectName);
                QObject::connect(button, &QPushButton::clicked, &dialog,
                                 [act, &dialog] { act(&dialog); });
            }
        }
    }
    dialog.exec();
}

void CWinApp::AddPrintSetupButton(CPrintSetupButton button) {
    m_printSetupButtons.push_back(std::move(button));
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->close();
    }
}

// An entry that no longer opens leaves the list.
void CWinApp::OnOpenRecentFile(int index) {
    if (m_pRecentFileList == nullptr || index < 0 || index >= m_pRecentFileList->GetCount()) {
        return;
    }
    const QString path = (*m_pRecentFileList)[index];
    if (OpenDocumentFile(path) == nullptr) {
        const int now = static_cast<int>(m_pRecentFileList->Files().indexOf(path));
        m_pRecentFileList->Remove(now);
        if (m_pMainWnd != nullptr) {
            m_pMainWnd->OnChildrenChanged();
        }
    }
}

void CWinApp::HtmlHelp() {
    if (m_pHelpWindow != nullptr) {
        m_pHelpWindow->show();
        m_pHelpWindow->raise();
        m_pHelpWindow->activateWindow();
        return;
    }
    if (!QFile::exists(m_strHelpFilePath)) {
        AfxMessageBox(QStringLiteral("Cannot find the help file \"%1\".").arg(m_strHelpFilePath));
        return;
    }
    auto* window = new QDialog(m_pMainWnd.get(), Qt::Window);
    window->setObjectName(QStringLiteral("HelpWindow"));
    window->setWindowTitle(QStringLiteral("%1 Help").arg(m_pszAppName));
    auto* browser = new QTextBrowser(window);
    browser->setOpenExternalLinks(true);
    const QString path = m_strHelpFilePath;
    browser->setSource(path.startsWith(u':') ? QUrl(QStringLiteral("qrc") + path)
                                             : QUrl::fromLocalFile(path));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    window->resize(560, 480);
    m_pHelpWindow = window;
    window->show();
}

CDocument* CWinApp::OpenDocumentFile(const QString& path) {
    CMultiDocTemplate* tmpl = GetDocTemplate();
    CDocument* doc = tmpl != nullptr ? tmpl->OpenDocumentFile(path) : nullptr;
    if (doc != nullptr) {
        AddToRecentFileList(path);
    }
    return doc;
}

void CWinApp::AddToRecentFileList(const QString& path) {
    if (m_pRecentFileList == nullptr) {
        return;
    }
    m_pRecentFileList->Add(path);
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->RecalcMenu();
        m_pMainWnd->UpdateCommandUI();
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const {
    info.ParseArguments(m_arguments.mid(1));
}

bool CWinApp::ProcessShellCommand(const CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return GetDocTemplate() != nullptr && !GetDocTemplate()->GetDocuments().empty();
    case CCommandLineInfo::FileOpen:
        if (OpenDocumentFile(info.m_strFileName) == nullptr) {
            m_nExitCode = 1;
            return false;
        }
        return true;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        PrintFromCommandLine(info);
        return false;
    case CCommandLineInfo::Help:
        std::fprintf(stdout,
                     "Usage: %s [FILE]\n"
                     "  or:  %s --print FILE\n"
                     "  or:  %s --print-to FILE PRINTER\n"
                     "Opens FILE in a window, or a new document without FILE.\n"
                     "\n"
                     "Options:\n"
                     "  --print FILE             print FILE on the default printer, then end\n"
                     "  --print-to FILE PRINTER  print FILE on PRINTER, then end\n"
                     "  -h, --help               show this help and end\n"
                     "  --version                show the version and end\n"
                     "  --                       end of the options: what follows is a FILE\n",
                     qPrintable(ProgramName()), qPrintable(ProgramName()),
                     qPrintable(ProgramName()));
        return false;
    case CCommandLineInfo::Version:
        std::fprintf(stdout, "%s %s\n", qPrintable(ProgramName()),
                     qPrintable(QCoreApplication::applicationVersion()));
        return false;
    case CCommandLineInfo::Error:
        ReportError(info.m_strError + QStringLiteral(" (see --help)"));
        m_nExitCode = 2;
        return false;
    }
    return false;
}

// The file opens in a window that is never shown and prints on the printer
// without a dialog; the program then ends.
bool CWinApp::PrintFromCommandLine(const CCommandLineInfo& info) {
    const bool toDefault = info.m_nShellCommand == CCommandLineInfo::FilePrint;
    QString error;
    const QPrinterInfo target =
        CommandLinePrinter(toDefault ? std::nullopt : std::optional(info.m_strPrinterName), &error);
    if (target.isNull()) {
        ReportError(error);
        m_nExitCode = 2;
        return false;
    }
    CMultiDocTemplate* tmpl = GetDocTemplate();
    CDocument* doc =
        tmpl != nullptr ? tmpl->OpenDocumentFile(info.m_strFileName, false, &error) : nullptr;
    if (doc == nullptr || doc->GetViews().empty()) {
        ReportError(error.isEmpty() ? QStringLiteral("cannot open \"%1\"").arg(info.m_strFileName)
                                    : error);
        m_nExitCode = 1;
        return false;
    }
    QPrinter& printer = GetPrinter();
    printer.setPrinterName(target.printerName());
    UseQueueResolution(printer);
    CScrollView& view = *ScrollViewOf(doc->GetViews().front());
    view.PreparePrinter(printer);
    CViewPages pages(view);
    const CommandLinePrint run = ::PrintFromCommandLine(
        pages, printer, view.BarReduction(), [&] { return view.CheckPrintable(printer); },
        [&] {
            return view.ReportPrintGaps(printer, [](const QString& line) {
                std::fprintf(stderr, "%s\n", qPrintable(line));
            });
        });
    if (!run.refusal.isEmpty()) {
        ReportError(run.refusal);
        m_nExitCode = 2;
        return false;
    }
    if (!run.printed.ok) {
        ReportError(
            QStringLiteral("printing on \"%1\" failed").arg(target.printerName()) +
            (run.printed.error.isEmpty() ? QString() : QStringLiteral(": ") + run.printed.error));
        m_nExitCode = 1;
        return false;
    }
    // Only a file that was printed is one the user may want again; a refused one is not.
    AddToRecentFileList(info.m_strFileName);
    m_nExitCode = run.allRows ? 0 : 1;
    return true;
}

void CWinApp::ReportError(const QString& text) const {
    std::fprintf(stderr, "%s: %s\n", qPrintable(ProgramName()), qPrintable(text));
}

QString CWinApp::ProgramName() const {
    return m_arguments.isEmpty() ? m_pszAppName.toLower() : QFileInfo(m_arguments[0]).fileName();
}

QPrinter& CWinApp::GetPrinter() {
    if (m_pPrinter == nullptr) {
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_pPrinter;
}

CWinApp* AfxGetApp() {
    return CurrentApp();
}

bool InitCommonControls() {
    return true;
}

bool AfxOleInit() {
    return true;
}

void AfxEnableControlContainer() {}
