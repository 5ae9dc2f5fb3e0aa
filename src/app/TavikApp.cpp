#include "TavikApp.h"

#include "AboutDlg.h"
#include "BarcodeDialogs.h"
#include "ChildFrm.h"
#include "DocTemplate.h"
#include "Fonts.h"
#include "MainFrm.h"
#include "MessageBox.h"
#include "Resource.h"
#include "Resources.h"
#include "TavikDoc.h"
#include "TavikView.h"
#include "ViewCommands.h"

#include <QApplication>
#include <QInputDialog>
#include <QPointer>

#include <functional>

namespace {

// Opens the Page Layout of the view active now; nothing while none is.
std::function<void(QWidget*)> PageLayoutOfActiveView() {
    CMDIFrameWnd* frame = AfxGetMainWnd();
    CMDIChildWnd* child = frame != nullptr ? frame->MDIGetActive() : nullptr;
    auto* view = child != nullptr ? dynamic_cast<CTavikView*>(child->GetActiveView()) : nullptr;
    if (view == nullptr) {
        return {};
    }
    return [view = QPointer<CTavikView>(view)](QWidget* dialog) {
        if (view) {
            view->OnPageLayout(dialog);
        }
    };
}

} // namespace

CTavikApp::CTavikApp(QStringList arguments) : CWinApp(std::move(arguments)) {
    LoadTavikResources();
    m_pszAppName = AfxGetResources().LoadString(AFX_IDS_APP_TITLE);
    m_strHelpFilePath = QStringLiteral(":/help/%1.html").arg(m_pszAppName);
    m_messageMap.On(ID_APP_ABOUT, [this] { OnAppAbout(); });
    m_messageMap.On(ID_FILE_NEW, [this] { OnFileNew(); });
    m_messageMap.On(ID_FILE_OPEN, [this] { OnFileOpen(); });
    m_messageMap.On(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    // Print Setup opens the active view's Page Layout.
    AddPrintSetupButton({QStringLiteral("Page &Layout..."), QStringLiteral("pageLayoutButton"),
                         [] { return PageLayoutOfActiveView(); }});
    m_messageMap.On(ID_FILE_NEW_SEQUENCE, [this] { OnFileNewSequence(); });
}

bool CTavikApp::InitInstance() {
    if (!InitCommonControls() || !CWinApp::InitInstance()) {
        return false;
    }
    if (!AfxOleInit()) {
        AfxMessageBox(QStringLiteral("Could not start the program's object services."));
        return false;
    }
    AfxEnableControlContainer();
    QCoreApplication::setApplicationName(m_pszAppName); // message boxes' caption
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVIK_VERSION));
    QApplication::setWindowIcon(AfxGetResources().LoadIcon(IDR_MAINFRAME));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.korvalin.tavik"));
    RegisterBundledFonts();
    SetRegistryKey(QStringLiteral("Korvalin"));
    LoadStdProfileSettings(16);

    auto tmpl = std::make_unique<CMultiDocTemplate>(
        IDR_TavikTYPE, [] { return std::make_unique<CTavikDoc>(); },
        [](QWidget* parent) { return new CChildFrame(parent); },
        [](QWidget* parent) {
            auto* view = new CTavikView(parent);
            view->SetDialogs(BarcodeDialogs());
            if (auto* main = qobject_cast<CMainFrame*>(AfxGetMainWnd())) {
                main->ConnectView(*view);
            }
            return view;
        });
    MapTavikViewCommands(tmpl->m_viewCommands);
    AddDocTemplate(std::move(tmpl));

    auto frame = std::make_unique<CMainFrame>();
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        return false;
    }
    SetMainFrame(std::move(frame));

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo)) {
        return false;
    }
    GetMainFrame()->show();
    return true;
}

namespace {

// Asks for one text, again after a message until parse takes it; false when cancelled.
bool AskUntilValid(const QString& label, QString& text,
                   const std::function<std::string(const std::string&)>& parse) {
    for (;;) {
        bool ok = false;
        text = QInputDialog::getText(AfxGetMainWnd(), QStringLiteral("New Sequence"), label,
                                     QLineEdit::Normal, text, &ok);
        if (!ok) {
            return false;
        }
        const std::string problem = parse(text.toStdString());
        if (problem.empty()) {
            return true;
        }
        AfxMessageBox(QString::fromStdString(problem));
    }
}

} // namespace

void CTavikApp::OnFileNewSequence() {
    NumberSequence sequence;
    QString range = QStringLiteral("1..100");
    QString pattern = QStringLiteral("ITEM-%06d");
    if (AskUntilValid(QStringLiteral("Numbers (FROM..TO or FROM..TO/STEP):"), range,
                      [&](const std::string& v) { return ParseSequenceRange(v, sequence); }) &&
        AskUntilValid(QStringLiteral("Pattern (text with one field such as %06d):"), pattern,
                      [&](const std::string& v) { return ParseSequencePattern(v, sequence); })) {
        NewSequenceDocument(sequence);
    }
}

CDocument* CTavikApp::NewSequenceDocument(const NumberSequence& sequence) {
    CMultiDocTemplate* tmpl = GetDocTemplate();
    return tmpl == nullptr ? nullptr
                           : tmpl->OpenDocumentFile(QString(), true, nullptr, [&](CDocument& doc) {
                                 static_cast<CTavikDoc&>(doc).Generate(sequence);
                             });
}

void CTavikApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
