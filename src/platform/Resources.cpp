#include "Resources.h"

#define AFX_NAME(id)                                                                               \
    { id, #id }

CResources::CResources()
    : commandNames{
          AFX_NAME(ID_FILE_NEW),
          AFX_NAME(ID_FILE_OPEN),
          AFX_NAME(ID_FILE_CLOSE),
          AFX_NAME(ID_FILE_SAVE),
          AFX_NAME(ID_FILE_SAVE_AS),
          AFX_NAME(ID_FILE_PAGE_SETUP),
          AFX_NAME(ID_FILE_PRINT_SETUP),
          AFX_NAME(ID_FILE_PRINT),
          AFX_NAME(ID_FILE_PRINT_DIRECT),
          AFX_NAME(ID_FILE_PRINT_PREVIEW),
          AFX_NAME(ID_EDIT_COPY),
          AFX_NAME(ID_EDIT_CUT),
          AFX_NAME(ID_EDIT_PASTE),
          AFX_NAME(ID_EDIT_UNDO),
          AFX_NAME(ID_WINDOW_NEW),
          AFX_NAME(ID_WINDOW_ARRANGE),
          AFX_NAME(ID_WINDOW_CASCADE),
          AFX_NAME(ID_WINDOW_TILE_HORZ),
          AFX_NAME(ID_APP_ABOUT),
          AFX_NAME(ID_APP_EXIT),
          AFX_NAME(ID_HELP_FINDER),
          AFX_NAME(ID_CONTEXT_HELP),
          AFX_NAME(ID_HELP),
          AFX_NAME(ID_DEFAULT_HELP),
          AFX_NAME(ID_NEXT_PANE),
          AFX_NAME(ID_PREV_PANE),
          AFX_NAME(ID_VIEW_TOOLBAR),
          AFX_NAME(ID_VIEW_STATUS_BAR),
          AFX_NAME(ID_INDICATOR_CAPS),
          AFX_NAME(ID_INDICATOR_NUM),
          AFX_NAME(ID_INDICATOR_SCRL),
      } {
    for (UINT i = 0; ID_FILE_MRU_FILE1 + i <= ID_FILE_MRU_FILE16; ++i) {
        commandNames[ID_FILE_MRU_FILE1 + i] = "ID_FILE_MRU_FILE" + std::to_string(i + 1);
    }
}

QString CResources::LoadString(UINT id) const {
    const auto it = strings.find(id);
    return it == strings.end() ? QString() : it->second;
}

QIcon CResources::LoadIcon(UINT id) const {
    const auto it = icons.find(id);
    return it == icons.end() ? QIcon() : QIcon(it->second);
}

QString CResources::CommandName(UINT id) const {
    const auto it = commandNames.find(id);
    return it == commandNames.end() ? QStringLiteral("ID_%1").arg(id)
                                    : QString::fromStdString(it->second);
}

QString CResources::StatusPrompt(UINT id) const {
    return LoadString(id).section(u'\n', 0, 0);
}

QString CResources::ToolTip(UINT id) const {
    return LoadString(id).section(u'\n', 1, 1);
}

CResources& AfxGetResources() {
    static CResources resources;
    return resources;
}
