#pragma once

#include "AfxRes.h"

#include <functional>
#include <map>
#include <optional>

// The state a command target reports for one command (menu item, button).
class CCmdUI {
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}

    void Enable(bool on = true) { m_bEnabled = on; }
    void SetCheck(bool on = true) { m_checked = on; }

    UINT m_nID;
    bool m_bEnabled = true;
    std::optional<bool> m_checked;
};

// A message map: command ids bound to handlers taking Args, each with an
// optional state handler. A command without a state handler is enabled.
template <class... Args> class CCommandMap {
public:
    using Handler = std::function<void(Args...)>;
    using Update = std::function<void(CCmdUI&, Args...)>;

    void On(UINT id, Handler handler, Update update = {}) {
        m_entries[id] = Entry{std::move(handler), std::move(update)};
    }

    // With ui: fills in the command's state. Without: runs the handler
    // unless the state says disabled. False when id has no entry.
    bool Route(UINT id, CCmdUI* ui, Args... args) const {
        const auto it = m_entries.find(id);
        if (it == m_entries.end()) {
            return false;
        }
        CCmdUI state(id);
        CCmdUI& target = ui != nullptr ? *ui : state;
        target.Enable(true);
        if (it->second.update) {
            it->second.update(target, args...);
        }
        if (ui == nullptr && state.m_bEnabled) {
            it->second.handler(args...);
        }
        return true;
    }

private:
    struct Entry {
        Handler handler;
        Update update;
    };
    std::map<UINT, Entry> m_entries;
};

class QAction;

// A window whose commands are actions, shared by its menus and bars.
class CCommandActions {
public:
    // The command's action, made on first use.
    virtual QAction* CommandAction(UINT id) = 0;
    // Enables and checks every action as the command targets report.
    virtual void UpdateCommandUI() = 0;

protected:
    ~CCommandActions() = default;
};

// An object that handles commands through its own message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Handles the command (ui null) or reports its state; false when neither
    // this target nor those it routes to know the command.
    virtual bool OnCmdMsg(UINT id, CCmdUI* ui) { return m_messageMap.Route(id, ui); }

protected:
    CCommandMap<> m_messageMap;
};
