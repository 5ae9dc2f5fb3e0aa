#pragma once

#include "AfxRes.h"

#include <QIcon>
#include <QKeyCombination>
#include <QString>

#include <map>
#include <string>
#include <vector>

// One menu item; a separator has id ID_SEPARATOR and no text.
struct MenuItemRes {
    UINT id = ID_SEPARATOR;
    const char* text = nullptr;
};

struct PopupRes {
    const char* text;
    std::vector<MenuItemRes> items;
};

using MenuRes = std::vector<PopupRes>;

struct AccelRes {
    QKeyCombination key;
    UINT id;
};

// Buttons in order (ID_SEPARATOR for a gap) and one image per button.
struct ToolBarRes {
    std::vector<UINT> buttons;
    std::vector<QString> images;
};

// The program's resources, looked up by id: menus, accelerator tables,
// toolbars, the string table, icons (image files) and the names that command
// ids carry as objectNames of their actions.
class CResources {
public:
    CResources();

    std::map<UINT, MenuRes> menus;
    std::map<UINT, std::vector<AccelRes>> accelerators;
    std::map<UINT, ToolBarRes> toolbars;
    std::map<UINT, QString> strings;
    std::map<UINT, QString> icons;
    std::map<UINT, std::string> commandNames;

    // Empty when the id has no entry.
    QString LoadString(UINT id) const;
    QIcon LoadIcon(UINT id) const;
    // The command's name, or "ID_<number>" for an unnamed one.
    QString CommandName(UINT id) const;
    // A command prompt "status text\ntooltip" split in two.
    QString StatusPrompt(UINT id) const;
    QString ToolTip(UINT id) const;
};

// The resources of the running program.
CResources& AfxGetResources();
