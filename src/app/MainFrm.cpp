#include "MainFrm.h"

#include "Resource.h"
#include "TavikView.h"
#include "WinApp.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>

#include <algorithm>

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
    setAcceptDrops(true);
}

namespace {

bool HasLocalFile(const QMimeData* data) {
    const QList<QUrl> urls = data != nullptr ? data->urls() : QList<QUrl>();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); });
}

} // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (HasLocalFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (!HasLocalFile(event->mimeData())) {
        return;
    }
    event->acceptProposedAction();
    OpenDroppedFiles(event->mimeData()->urls());
}

void CMainFrame::OpenDroppedFiles(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            AfxGetApp()->OpenDocumentFile(url.toLocalFile());
        }
    }
}

namespace {

// The status-bar pane of that name, made on first use, with text, shown or hidden.
void ShowStatusPane(QStatusBar* bar, const QString& name, const QString& text, bool shown) {
    auto* label = bar->findChild<QLabel*>(name);
    if (label == nullptr) {
        label = new QLabel(bar); // the status bar owns it
        label->setObjectName(name);
        bar->addPermanentWidget(label);
    }
    label->setText(text);
    label->setVisible(shown);
}

} // namespace

// The bar, not the frame: views report while the frame is destroyed and its
// status bar is still there.
void CMainFrame::ConnectView(CTavikView& view) {
    view.SetStatusReport([bar = QPointer<QStatusBar>(statusBar())](
                             const QString& name, const QString& text, bool shown) {
        if (bar != nullptr) {
            ShowStatusPane(bar, name, text, shown);
        }
    });
}

int CMainFrame::OnCreate() {
    if (CMDIFrameWnd::OnCreate() == -1) {
        return -1;
    }
    if (!m_wndToolBar->CreateEx(this, *this, AFX_IDW_TOOLBAR) ||
        !m_wndToolBar->LoadToolBar(IDR_MAINFRAME)) {
        return -1;
    }
    if (!m_wndStatusBar->Create(this, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar->SetIndicators(indicators, static_cast<int>(std::size(indicators)))) {
        return -1;
    }
    m_wndToolBar->EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(m_wndToolBar);
    return 0;
}
