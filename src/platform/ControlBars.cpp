#include "ControlBars.h"

#include "CmdTarget.h"
#include "Resources.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLibrary>
#include <QMainWindow>
#include <QtGui/qguiapplication_platform.h>

namespace {

void NameBar(QWidget* bar, UINT id) {
    bar->setProperty("afxControlBarId", id);
    bar->setObjectName(id == AFX_IDW_TOOLBAR      ? QStringLiteral("AFX_IDW_TOOLBAR")
                       : id == AFX_IDW_STATUS_BAR ? QStringLiteral("AFX_IDW_STATUS_BAR")
                                                  : QStringLiteral("AFX_IDW_%1").arg(id));
}

} // namespace

// -------------------------------------------------------------------- toolbar

CToolBar::CToolBar(QWidget* parent) : QToolBar(parent) {
    setAllowedAreas(Qt::TopToolBarArea);
}

bool CToolBar::CreateEx(QMainWindow* frame, CCommandActions& commands, UINT id) {
    if (frame == nullptr) {
        return false;
    }
    m_pCommands = &commands;
    NameBar(this, id);
    setWindowTitle(QStringLiteral("Toolbar"));
    setIconSize(QSize(16, 16));
    frame->addToolBar(Qt::TopToolBarArea, this);
    // Hidden or shown from its own context menu too: the View menu follows.
    connect(this, &QToolBar::visibilityChanged, frame, [&commands] { commands.UpdateCommandUI(); });
    return true;
}

bool CToolBar::LoadToolBar(UINT id) {
    const CResources& res = AfxGetResources();
    const auto it = res.toolbars.find(id);
    if (m_pCommands == nullptr || it == res.toolbars.end()) {
        return false;
    }
    std::size_t image = 0;
    for (const UINT command : it->second.buttons) {
        if (command == ID_SEPARATOR) {
            addSeparator();
            continue;
        }
        QAction* action = m_pCommands->CommandAction(command);
        if (image < it->second.images.size()) {
            action->setIcon(QIcon(it->second.images[image++]));
        }
        addAction(action);
    }
    return true;
}

// ----------------------------------------------------------------- status bar

CStatusBar::CStatusBar(QWidget* parent) : QStatusBar(parent) {}

bool CStatusBar::Create(QMainWindow* frame, UINT id) {
    if (frame == nullptr) {
        return false;
    }
    NameBar(this, id);
    setSizeGripEnabled(true);
    frame->setStatusBar(this);
    return true;
}

bool CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (ids == nullptr || count <= 0 || !m_panes.empty()) {
        return false;
    }
    const CResources& res = AfxGetResources();
    for (int i = 0; i < count; ++i) {
        const UINT id = ids[i];
        auto* pane = new QLabel(this);
        pane->setObjectName(i == 0 ? QStringLiteral("AFX_IDW_STATUS_BAR_PANE0")
                                   : res.CommandName(id));
        if (id == ID_SEPARATOR) {
            pane->setText(res.LoadString(AFX_IDS_IDLEMESSAGE));
            addWidget(pane, 1);
        } else {
            // Room for the text whether it shows or not.
            pane->setAlignment(Qt::AlignCenter);
            pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(res.LoadString(id)) + 8);
            addPermanentWidget(pane);
        }
        m_ids.push_back(id);
        m_panes.push_back(pane);
    }
    UpdateIndicators();
    qApp->installEventFilter(this);
    return true;
}

void CStatusBar::SetPaneText(int index, const QString& text) {
    if (index >= 0 && index < static_cast<int>(m_panes.size())) {
        m_panes[static_cast<std::size_t>(index)]->setText(text);
    }
}

QString CStatusBar::GetPaneText(int index) const {
    return index >= 0 && index < static_cast<int>(m_panes.size())
               ? m_panes[static_cast<std::size_t>(index)]->text()
               : QString();
}

// Lock keys change with key presses and while another program has the focus.
bool CStatusBar::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::ApplicationStateChange:
    case QEvent::WindowActivate:
        UpdateIndicators();
        break;
    default:
        break;
    }
    return QStatusBar::eventFilter(watched, event);
}

void CStatusBar::UpdateIndicators() {
    const LockKeyState keys = GetLockKeyState();
    const CResources& res = AfxGetResources();
    for (std::size_t i = 0; i < m_ids.size(); ++i) {
        bool on = false;
        switch (m_ids[i]) {
        case ID_INDICATOR_CAPS:
            on = keys.caps;
            break;
        case ID_INDICATOR_NUM:
            on = keys.num;
            break;
        case ID_INDICATOR_SCRL:
            on = keys.scroll;
            break;
        default:
            continue;
        }
        m_panes[i]->setText(on ? res.LoadString(m_ids[i]) : QString());
    }
}

// On X11 the keyboard's indicator lights tell; libX11 is loaded when needed.
LockKeyState GetLockKeyState() {
    LockKeyState state;
#if QT_CONFIG(xcb)
    const auto* x11 =
        qApp != nullptr ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->display() == nullptr) {
        return state;
    }
    using GetIndicatorState = int (*)(Display*, unsigned int, unsigned int*);
    static const auto query = reinterpret_cast<GetIndicatorState>(
        QLibrary::resolve(QStringLiteral("X11"), 6, "XkbGetIndicatorState"));
    constexpr unsigned int kCoreKeyboard = 0x100; // XkbUseCoreKbd
    unsigned int lights = 0;
    if (query != nullptr && query(x11->display(), kCoreKeyboard, &lights) == 0) {
        state.caps = (lights & 1U) != 0;
        state.num = (lights & 2U) != 0;
        state.scroll = (lights & 4U) != 0;
    }
#endif
    return state;
}
