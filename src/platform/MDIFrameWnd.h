#pragma once

#include "CmdTarget.h"
#include "ScrollView.h"

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

#include <map>
#include <vector>

class CDocument;
class CMDIChildWnd;
class QMdiArea;
class QMenu;

// What a child frame needs of the template that made it; CMultiDocTemplate is one.
class CFrameTemplate {
public:
    // Menu and icon of its frames.
    virtual UINT GetResourceId() const = 0;
    // The command to view, then to its document doc (may be null); false when
    // neither knows it.
    virtual bool RouteCommand(UINT id, CCmdUI* ui, CScrollView& view, CDocument* doc) const = 0;
    // One more frame and view on doc, initialised and shown.
    virtual CMDIChildWnd* CreateNewFrame(CDocument* doc) = 0;
    // Called by a frame while it is destroyed.
    virtual void OnFrameDestroyed(CMDIChildWnd* frame) = 0;

protected:
    virtual ~CFrameTemplate() = default;
};

// A document window inside the main frame: one view, titled after its
// document ("title:n" when the document has several windows).
class CMDIChildWnd : public QMdiSubWindow, public CCmdTarget {
    Q_OBJECT

public:
    explicit CMDIChildWnd(QWidget* parent = nullptr);
    ~CMDIChildWnd() override;

    // The frame shows view, which belongs to template's document class.
    void Attach(CFrameTemplate* tmpl, CScrollView* view);
    CFrameTemplate* GetTemplate() const { return m_pTemplate; }
    CScrollView* GetActiveView() const { return m_pView; }
    CDocument* GetActiveDocument() const;

    // View, then document, then the frame's own map.
    bool OnCmdMsg(UINT id, CCmdUI* ui) override;

    void OnUpdateFrameTitle();
    // The title as shown (windowTitle() holds it escaped for Qt).
    const QString& GetTitle() const { return m_strTitle; }
    // Closed or being destroyed: no longer the active window.
    bool IsClosing() const { return m_bClosing; }

    int m_nWindow = 0; // window number shown after the title, 0 for none

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CFrameTemplate* m_pTemplate = nullptr;
    QPointer<CScrollView> m_pView;
    QString m_strTitle;
    bool m_bClosing = false;
};

// The main window: an MDI area, the menu of the active window (the frame's own
// while none is open), accelerators, control bars, status prompts and titles.
// Every command is a QAction whose objectName is the command's name.
class CMDIFrameWnd : public QMainWindow, public CCmdTarget, public CCommandActions {
    Q_OBJECT

public:
    explicit CMDIFrameWnd(QWidget* parent = nullptr);
    ~CMDIFrameWnd() override;

    // Menu, accelerators, title and icon of resource id, then OnCreate.
    bool LoadFrame(UINT resourceId, unsigned long style);
    // Creates the control bars; -1 cancels the frame.
    virtual int OnCreate() { return 0; }

    QMdiArea* MDIClient() const { return m_mdiArea; }
    CMDIChildWnd* MDIGetActive() const;
    void MDIActivate(CMDIChildWnd* child);
    // Open document windows in the order they were made.
    std::vector<CMDIChildWnd*> GetChildren() const;
    // Takes a new child frame (already holding its view), hidden.
    void AddChild(CMDIChildWnd* child);
    // Places, shows and activates it.
    void ShowChild(CMDIChildWnd* child);
    void OnChildDestroyed(CMDIChildWnd* child);

    // Active child (view, document, frame), then this frame, then the application.
    bool OnCmdMsg(UINT id, CCmdUI* ui) override;
    // Carries out a command as its menu item or key would.
    void OnCommand(UINT id);

    QAction* CommandAction(UINT id) override;
    void UpdateCommandUI() override;
    // Rebuilds the menu bar: the active window's menu with the recent files
    // and the window list.
    void RecalcMenu();
    void OnUpdateFrameTitle();
    // After a title, the window list or the active window changed.
    void OnChildrenChanged();

    // Message pane text; the idle text when empty.
    void SetMessageText(const QString& text);

    void EnableDocking(unsigned long) {}
    // Docks bar in the top area of the frame.
    void DockControlBar(QToolBar* bar) { addToolBar(Qt::TopToolBarArea, bar); }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    void OnBarCheck(UINT id);
    void OnWindowNew();
    void OnMDIWindowCmd(UINT id);

private:
    void AddMenuItem(QMenu* menu, UINT id, const char* text);
    void AddRecentFiles(QMenu* menu, const char* placeholder);
    void AddWindowList(QMenu* menu);
    void ShowMoreWindows();
    void TileHorizontally();
    void ArrangeIcons();
    void PlaceChild(CMDIChildWnd* child);
    QWidget* GetControlBar(UINT id) const;

    QMdiArea* m_mdiArea;
    UINT m_nIDResource = 0;
    bool m_bAddToTitle = false;
    bool m_bDestroying = false;
    QString m_strTitle;
    std::map<UINT, QAction*> m_actions;
    std::vector<QPointer<QMenu>> m_menus;
    std::vector<QPointer<CMDIChildWnd>> m_children;
    QPointer<CMDIChildWnd> m_pLastActive;
};
