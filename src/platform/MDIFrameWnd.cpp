#include "MDIFrameWnd.h"

#include "ControlBars.h"
#include "Document.h"
#include "FrameApp.h"
#include "RecentFileList.h"
#include "Resources.h"
#include "ScrollView.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLayout>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr UINT kFirstWindowCommand = 57648; // the Window menu's command range
constexpr UINT kLastWindowCommand = 57663;
constexpr int kListedWindows = 9;

// "[*]" in a window title is Qt's modified marker; a doubled one shows as text.
QString EscapeTitle(QString title) {
    return title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

QString EscapeMnemonic(QString text) {
    return text.replace(u'&', QStringLiteral("&&"));
}

} // namespace

// ---------------------------------------------------------------- child frame

CMDIChildWnd::CMDIChildWnd(QWidget* parent) : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
}

CMDIChildWnd::~CMDIChildWnd() {
    m_bClosing = true;
    if (m_pTemplate != nullptr) {
        m_pTemplate->OnFrameDestroyed(this);
    }
    if (CMDIFrameWnd* main = AfxGetMainWnd()) {
        main->OnChildDestroyed(this);
    }
}

void CMDIChildWnd::Attach(CFrameTemplate* tmpl, CScrollView* view) {
    m_pTemplate = tmpl;
    m_pView = view;
    setWidget(view);
    const CResources& res = AfxGetResources();
    setWindowIcon(res.LoadIcon(tmpl->GetResourceId()));
    // The window menu's items, in Qt's order, with the framework's prompts.
    const UINT prompts[] = {AFX_IDS_SCRESTORE,  AFX_IDS_SCMOVE,     AFX_IDS_SCSIZE,
                            AFX_IDS_SCMINIMIZE, AFX_IDS_SCMAXIMIZE, AFX_IDS_SCCLOSE};
    if (const QMenu* menu = systemMenu()) {
        std::size_t next = 0;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator() || item->isCheckable() || next == std::size(prompts)) {
                continue; // "Stay on Top" has no prompt
            }
            item->setStatusTip(res.LoadString(prompts[next++]));
        }
    }
}

CDocument* CMDIChildWnd::GetActiveDocument() const {
    return m_pView != nullptr ? m_pView->GetDocument() : nullptr;
}

bool CMDIChildWnd::OnCmdMsg(UINT id, CCmdUI* ui) {
    if (m_pTemplate != nullptr && m_pView != nullptr &&
        m_pTemplate->RouteCommand(id, ui, *m_pView, GetActiveDocument())) {
        return true;
    }
    return CCmdTarget::OnCmdMsg(id, ui);
}

void CMDIChildWnd::OnUpdateFrameTitle() {
    const CDocument* doc = GetActiveDocument();
    QString title = doc != nullptr ? doc->GetTitle() : QString();
    if (m_nWindow > 0) {
        title += QStringLiteral(":%1").arg(m_nWindow);
    }
    m_strTitle = title;
    setWindowTitle(EscapeTitle(title));
}

void CMDIChildWnd::closeEvent(QCloseEvent* event) {
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted()) {
        m_bClosing = true;
        if (CMDIFrameWnd* main = AfxGetMainWnd()) {
            main->OnChildrenChanged();
        }
    }
}

// Qt titles the main frame after a maximised window itself, once it has
// changed its state: the frame's title follows afterwards.
void CMDIChildWnd::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    CMDIFrameWnd* main = AfxGetMainWnd();
    if (event->type() == QEvent::WindowStateChange && main != nullptr) {
        QMetaObject::invokeMethod(
            main, [main] { main->OnUpdateFrameTitle(); }, Qt::QueuedConnection);
    }
}

// ----------------------------------------------------------------- main frame

CMDIFrameWnd::CMDIFrameWnd(QWidget* parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this)) {
    m_mdiArea->setObjectName(QStringLiteral("AFX_IDW_PANE_FIRST"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] { OnChildrenChanged(); });

    for (const UINT bar : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        m_messageMap.On(
            bar, [this, bar] { OnBarCheck(bar); },
            [this, bar](CCmdUI& ui) {
                const QWidget* w = GetControlBar(bar);
                ui.Enable(w != nullptr);
                ui.SetCheck(w != nullptr && w->isVisibleTo(this));
            });
    }
    m_messageMap.On(
        ID_WINDOW_NEW, [this] { OnWindowNew(); },
        [this](CCmdUI& ui) {
            const CMDIChildWnd* child = MDIGetActive();
            ui.Enable(child != nullptr && child->GetActiveDocument() != nullptr);
        });
    for (const UINT cmd : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE}) {
        m_messageMap.On(
            cmd, [this, cmd] { OnMDIWindowCmd(cmd); },
            [this](CCmdUI& ui) { ui.Enable(MDIGetActive() != nullptr); });
    }
}

// The children go first, while this frame can still take their notices.
CMDIFrameWnd::~CMDIFrameWnd() {
    m_bDestroying = true;
    qDeleteAll(m_mdiArea->subWindowList());
    // The bars, its children, go after this part of the frame: they stop calling it.
    for (QToolBar* bar : findChildren<QToolBar*>()) {
        QObject::disconnect(bar, nullptr, this, nullptr);
    }
}

bool CMDIFrameWnd::LoadFrame(UINT resourceId, unsigned long style) {
    const CResources& res = AfxGetResources();
    if (res.menus.find(resourceId) == res.menus.end()) {
        return false;
    }
    m_nIDResource = resourceId;
    m_bAddToTitle = (style & FWS_ADDTOTITLE) != 0;
    m_strTitle = res.LoadString(resourceId);
    setWindowIcon(res.LoadIcon(resourceId));

    std::map<UINT, QList<QKeySequence>> keys;
    if (const auto it = res.accelerators.find(resourceId); it != res.accelerators.end()) {
        for (const AccelRes& accel : it->second) {
            keys[accel.id].append(QKeySequence(accel.key));
        }
    }
    for (const auto& [id, sequences] : keys) {
        CommandAction(id)->setShortcuts(sequences);
    }

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        resize(screen->availableSize() * 3 / 4);
    }
    if (OnCreate() == -1) {
        return false;
    }
    OnChildrenChanged();
    return true;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const {
    auto usable = [](QMdiSubWindow* w) {
        auto* child = qobject_cast<CMDIChildWnd*>(w);
        return child != nullptr && !child->IsClosing() && !child->isHidden() ? child : nullptr;
    };
    if (CMDIChildWnd* current = usable(m_mdiArea->currentSubWindow())) {
        return current;
    }
    const QList<QMdiSubWindow*> history =
        m_mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        if (CMDIChildWnd* child = usable(*it)) {
            return child;
        }
    }
    return nullptr;
}

void CMDIFrameWnd::MDIActivate(CMDIChildWnd* child) {
    if (child->isMinimized()) {
        child->showNormal();
    }
    m_mdiArea->setActiveSubWindow(child);
    if (QWidget* view = child->widget()) {
        view->setFocus();
    }
    OnChildrenChanged();
}

std::vector<CMDIChildWnd*> CMDIFrameWnd::GetChildren() const {
    std::vector<CMDIChildWnd*> children;
    for (const QPointer<CMDIChildWnd>& child : m_children) {
        if (child != nullptr && !child->IsClosing() && !child->isHidden()) {
            children.push_back(child);
        }
    }
    return children;
}

void CMDIFrameWnd::AddChild(CMDIChildWnd* child) {
    m_mdiArea->addSubWindow(child);
    child->hide();
    m_children.emplace_back(child);
}

void CMDIFrameWnd::ShowChild(CMDIChildWnd* child) {
    const CMDIChildWnd* active = MDIGetActive();
    if (active != nullptr && active->isMaximized()) {
        child->showMaximized();
    } else {
        PlaceChild(child);
        child->show();
    }
    MDIActivate(child);
}

void CMDIFrameWnd::OnChildDestroyed(CMDIChildWnd* child) {
    m_children.erase(std::remove(m_children.begin(), m_children.end(), child), m_children.end());
    OnChildrenChanged();
}

// New windows cascade from the top-left corner, each three quarters of the area.
void CMDIFrameWnd::PlaceChild(CMDIChildWnd* child) {
    // Before the frame is first shown only the area's own geometry is laid out.
    if (layout() != nullptr) {
        layout()->activate();
    }
    const QSize area = m_mdiArea->contentsRect().size();
    const QSize size(std::max(area.width() * 3 / 4, 240), std::max(area.height() * 3 / 4, 160));
    const int step = std::max(8, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, child));
    const int room = std::min(area.width() - size.width(), area.height() - size.height());
    const int positions = std::max(1, room / step + 1);
    const int k = static_cast<int>(GetChildren().size()) % positions;
    child->setGeometry(QRect(QPoint(k * step, k * step), size));
}

bool CMDIFrameWnd::OnCmdMsg(UINT id, CCmdUI* ui) {
    if (CMDIChildWnd* child = MDIGetActive(); child != nullptr && child->OnCmdMsg(id, ui)) {
        return true;
    }
    if (CCmdTarget::OnCmdMsg(id, ui)) {
        return true;
    }
    CFrameApp* app = AfxGetFrameApp();
    return app != nullptr && app->OnCmdMsg(id, ui);
}

void CMDIFrameWnd::OnCommand(UINT id) {
    OnCmdMsg(id, nullptr);
    if (!m_bDestroying) {
        UpdateCommandUI();
    }
}

QAction* CMDIFrameWnd::CommandAction(UINT id) {
    if (const auto it = m_actions.find(id); it != m_actions.end()) {
        return it->second;
    }
    const CResources& res = AfxGetResources();
    auto* action = new QAction(this);
    action->setObjectName(res.CommandName(id));
    action->setStatusTip(res.StatusPrompt(id));
    if (const QString tip = res.ToolTip(id); !tip.isEmpty()) {
        action->setToolTip(tip);
    }
    action->setIconVisibleInMenu(false);
    addAction(action); // its keys work wherever the focus is in this window
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_actions.emplace(id, action);
    return action;
}

void CMDIFrameWnd::UpdateCommandUI() {
    if (m_bDestroying) {
        return;
    }
    for (const auto& [id, action] : m_actions) {
        CCmdUI ui(id);
        const bool handled = OnCmdMsg(id, &ui);
        action->setEnabled(handled && ui.m_bEnabled);
        if (ui.m_checked.has_value()) {
            action->setCheckable(true);
            action->setChecked(*ui.m_checked);
        }
    }
}

void CMDIFrameWnd::RecalcMenu() {
    if (m_bDestroying) {
        return;
    }
    const CResources& res = AfxGetResources();
    const CMDIChildWnd* child = MDIGetActive();
    auto menuRes = res.menus.find(m_nIDResource);
    if (child != nullptr && child->GetTemplate() != nullptr) {
        if (const auto own = res.menus.find(child->GetTemplate()->GetResourceId());
            own != res.menus.end()) {
            menuRes = own;
        }
    }
    menuBar()->clear();
    for (const QPointer<QMenu>& old : m_menus) {
        if (old != nullptr) {
            old->deleteLater(); // it may be the menu whose item is being handled
        }
    }
    m_menus.clear();
    if (menuRes == res.menus.end()) {
        return;
    }
    for (const PopupRes& popup : menuRes->second) {
        auto* menu = new QMenu(QString::fromUtf8(popup.text), this);
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });
        bool windowMenu = false;
        for (const MenuItemRes& item : popup.items) {
            if (item.id == ID_SEPARATOR) {
                menu->addSeparator();
            } else if (item.id == ID_FILE_MRU_FILE1) {
                AddRecentFiles(menu, item.text);
            } else {
                AddMenuItem(menu, item.id, item.text);
                windowMenu |= item.id >= kFirstWindowCommand && item.id <= kLastWindowCommand;
            }
        }
        if (windowMenu) {
            AddWindowList(menu);
        }
        menuBar()->addMenu(menu);
        m_menus.emplace_back(menu);
    }
}

void CMDIFrameWnd::AddMenuItem(QMenu* menu, UINT id, const char* text) {
    QAction* action = CommandAction(id);
    action->setText(QString::fromUtf8(text));
    menu->addAction(action);
}

// The recent files in place of the placeholder item, which stays (disabled)
// while the list is empty.
void CMDIFrameWnd::AddRecentFiles(QMenu* menu, const char* placeholder) {
    const CFrameApp* app = AfxGetFrameApp();
    const CRecentFileList* list = app != nullptr ? app->GetRecentFileList() : nullptr;
    if (list == nullptr || list->GetCount() == 0) {
        AddMenuItem(menu, ID_FILE_MRU_FILE1, placeholder);
        return;
    }
    for (int i = 0; i < list->GetCount(); ++i) {
        QAction* action = CommandAction(ID_FILE_MRU_FILE1 + static_cast<UINT>(i));
        action->setText(list->MenuText(i));
        menu->addAction(action);
    }
}

// Below the Window menu's commands: the open windows, the active one checked.
void CMDIFrameWnd::AddWindowList(QMenu* menu) {
    const std::vector<CMDIChildWnd*> children = GetChildren();
    if (children.empty()) {
        return;
    }
    menu->addSeparator();
    const CMDIChildWnd* active = MDIGetActive();
    const int listed = std::min<int>(kListedWindows, static_cast<int>(children.size()));
    for (int i = 0; i < listed; ++i) {
        CMDIChildWnd* child = children[static_cast<std::size_t>(i)];
        QAction* action = menu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(EscapeMnemonic(child->GetTitle())));
        action->setObjectName(QStringLiteral("AFX_IDM_FIRST_MDICHILD_%1").arg(i + 1));
        action->setStatusTip(AfxGetResources().LoadString(AFX_IDS_MDICHILD));
        action->setCheckable(true);
        action->setChecked(child == active);
        const QPointer<CMDIChildWnd> target(child);
        connect(action, &QAction::triggered, this, [this, target] {
            if (target != nullptr) {
                MDIActivate(target);
            }
        });
    }
    if (static_cast<int>(children.size()) > kListedWindows) {
        QAction* more = menu->addAction(QStringLiteral("&More Windows..."));
        more->setObjectName(QStringLiteral("AFX_IDM_MORE_WINDOWS"));
        connect(more, &QAction::triggered, this, [this] { ShowMoreWindows(); });
    }
}

void CMDIFrameWnd::ShowMoreWindows() {
    const std::vector<CMDIChildWnd*> children = GetChildren();
    QStringList titles;
    int current = 0;
    for (const CMDIChildWnd* child : children) {
        if (child == MDIGetActive()) {
            current = static_cast<int>(titles.size());
        }
        titles.append(child->GetTitle());
    }
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(this, QStringLiteral("Select Window"),
                              QStringLiteral("&Select Window:"), titles, current, false, &ok);
    const auto index = titles.indexOf(chosen);
    // The list may have changed while the dialog was open.
    const std::vector<CMDIChildWnd*> now = GetChildren();
    if (ok && index >= 0 && index < static_cast<qsizetype>(now.size()) && now == children) {
        MDIActivate(now[static_cast<std::size_t>(index)]);
    }
}

void CMDIFrameWnd::OnUpdateFrameTitle() {
    if (m_bDestroying) {
        return;
    }
    // With a maximised window Qt adds " - [window title]" to the frame's own.
    QString title = m_strTitle;
    const CMDIChildWnd* child = MDIGetActive();
    const CDocument* doc = child != nullptr ? child->GetActiveDocument() : nullptr;
    if (m_bAddToTitle && doc != nullptr && !child->isMaximized()) {
        title += QStringLiteral(" - ") + doc->GetTitle();
    }
    setWindowTitle(EscapeTitle(title));
}

void CMDIFrameWnd::OnChildrenChanged() {
    if (m_bDestroying) {
        return;
    }
    OnUpdateFrameTitle();
    RecalcMenu();
    UpdateCommandUI();
}

void CMDIFrameWnd::SetMessageText(const QString& text) {
    if (auto* bar = qobject_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR))) {
        bar->SetPaneText(0,
                         text.isEmpty() ? AfxGetResources().LoadString(AFX_IDS_IDLEMESSAGE) : text);
    }
}

bool CMDIFrameWnd::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        SetMessageText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// Documents are never modified, so nothing asks to be saved: every window
// closes, and with them the program's other top-level windows.
void CMDIFrameWnd::closeEvent(QCloseEvent* event) {
    for (CMDIChildWnd* child : GetChildren()) {
        child->close();
    }
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() && w->isVisible()) {
            w->close();
        }
    }
    event->accept();
}

QWidget* CMDIFrameWnd::GetControlBar(UINT id) const {
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->property("afxControlBarId").toUInt() == id) {
            return w;
        }
    }
    return nullptr;
}

void CMDIFrameWnd::OnBarCheck(UINT id) {
    if (QWidget* bar = GetControlBar(id)) {
        bar->setVisible(!bar->isVisibleTo(this));
    }
}

void CMDIFrameWnd::OnWindowNew() {
    CMDIChildWnd* active = MDIGetActive();
    if (active == nullptr || active->GetTemplate() == nullptr) {
        return;
    }
    if (CDocument* doc = active->GetActiveDocument()) {
        active->GetTemplate()->CreateNewFrame(doc);
    }
}

void CMDIFrameWnd::OnMDIWindowCmd(UINT id) {
    switch (id) {
    case ID_WINDOW_CASCADE:
        m_mdiArea->cascadeSubWindows();
        break;
    case ID_WINDOW_TILE_HORZ:
        TileHorizontally();
        break;
    case ID_WINDOW_ARRANGE:
        ArrangeIcons();
        break;
    default:
        break;
    }
}

// Columns of full-height strips: the root of the count in columns, the later
// columns taking the remainder, each window as wide as its column.
void CMDIFrameWnd::TileHorizontally() {
    std::vector<CMDIChildWnd*> windows;
    for (CMDIChildWnd* child : GetChildren()) {
        if (!child->isMinimized()) {
            windows.push_back(child);
        }
    }
    const int n = static_cast<int>(windows.size());
    if (n == 0) {
        return;
    }
    const QSize area = m_mdiArea->viewport()->size();
    const int columns = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
    int index = 0;
    for (int c = 0; c < columns; ++c) {
        const int rows = n / columns + (c >= columns - n % columns ? 1 : 0);
        const int left = area.width() * c / columns;
        const int width = area.width() * (c + 1) / columns - left;
        for (int r = 0; r < rows; ++r, ++index) {
            const int top = area.height() * r / rows;
            const int height = area.height() * (r + 1) / rows - top;
            CMDIChildWnd* w = windows[static_cast<std::size_t>(index)];
            w->showNormal();
            w->setGeometry(left, top, width, height);
        }
    }
}

// Minimised windows in a row along the bottom edge.
void CMDIFrameWnd::ArrangeIcons() {
    const QSize area = m_mdiArea->viewport()->size();
    int x = 0;
    for (CMDIChildWnd* child : GetChildren()) {
        if (child->isMinimized()) {
            const QSize size = child->size();
            child->move(x, area.height() - size.height());
            x += size.width();
        }
    }
}
