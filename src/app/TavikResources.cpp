#include "Resource.h"
#include "Resources.h"

namespace {

constexpr MenuItemRes Separator{};

// Menu 128: the main frame's, while no document is open.
MenuRes MainFrameMenu() {
    return {
        {"&File",
         {{ID_FILE_NEW, "&New\tCtrl+N"},
          {ID_FILE_OPEN, "&Open...\tCtrl+O"},
          Separator,
          {ID_FILE_PRINT_SETUP, "P&rint Setup..."},
          Separator,
          {ID_FILE_MRU_FILE1, "Recent File"},
          Separator,
          {ID_FILE_CLOSE, "&Close"},
          {ID_APP_EXIT, "E&xit"},
          Separator,
          {ID_FILE_NEW_SEQUENCE, "New Se&quence..."}}},
        {"&View", {{ID_VIEW_TOOLBAR, "&Toolbar"}, {ID_VIEW_STATUS_BAR, "&Status Bar"}}},
        {"&Help", {{ID_HELP_FINDER, "&Help Topics"}, Separator, {ID_APP_ABOUT, "&About Tavik..."}}},
    };
}

// Menu 129: the document windows'.
MenuRes DocumentMenu() {
    return {
        {"&File",
         {{ID_FILE_NEW, "&New\tCtrl+N"},
          {ID_FILE_OPEN, "&Open...\tCtrl+O"},
          {ID_FILE_CLOSE, "&Close"},
          Separator,
          {ID_FILE_PRINT, "&Print...\tCtrl+P"},
          {ID_FILE_PRINT_PREVIEW, "Print Pre&view"},
          {ID_FILE_PRINT_SETUP, "P&rint Setup..."},
          Separator,
          {ID_FILE_MRU_FILE1, "Recent File"},
          Separator,
          {ID_APP_EXIT, "E&xit"},
          Separator,
          {ID_FILE_NEW_SEQUENCE, "New Se&quence..."}}},
        {"&View",
         {{ID_VIEW_TOOLBAR, "&Toolbar"},
          {ID_VIEW_STATUS_BAR, "&Status Bar"},
          Separator,
          {ID_SHOW_SETTINGS, "Show Settings"}}},
        {"&Window",
         {{ID_WINDOW_NEW, "&New Window"},
          {ID_WINDOW_CASCADE, "&Cascade"},
          {ID_WINDOW_TILE_HORZ, "&Tile"},
          {ID_WINDOW_ARRANGE, "&Arrange Icons"}}},
        {"&Help", {{ID_HELP_FINDER, "&Help Topics"}, Separator, {ID_APP_ABOUT, "&About Tavik..."}}},
    };
}

std::vector<AccelRes> Accelerators() {
    return {
        {Qt::CTRL | Qt::Key_N, ID_FILE_NEW},         {Qt::CTRL | Qt::Key_O, ID_FILE_OPEN},
        {Qt::CTRL | Qt::Key_S, ID_FILE_SAVE},        {Qt::CTRL | Qt::Key_P, ID_FILE_PRINT},
        {Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},        {Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},
        {Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},        {Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},
        {Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO}, {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
        {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},   {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
        {QKeyCombination(Qt::Key_F6), ID_NEXT_PANE}, {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
        {Qt::SHIFT | Qt::Key_F1, ID_CONTEXT_HELP},   {QKeyCombination(Qt::Key_F1), ID_HELP},
    };
}

ToolBarRes ToolBar() {
    return {{ID_FILE_NEW, ID_FILE_OPEN, ID_SEPARATOR, ID_SHOW_SETTINGS, ID_FILE_PRINT_PREVIEW,
             ID_FILE_PRINT},
            {QStringLiteral(":/icons/new.svg"), QStringLiteral(":/icons/open.svg"),
             QStringLiteral(":/icons/settings.svg"), QStringLiteral(":/icons/preview.svg"),
             QStringLiteral(":/icons/print.svg")}};
}

// Command prompts are "status-bar text\ntooltip".
std::map<UINT, QString> Strings() {
    std::map<UINT, QString> s = {
        {IDR_MAINFRAME, "Tavik"},
        {IDR_TavikTYPE, "\nTavik\nTavik\n\n\nTavik.Document\nTavik.Document"},
        {ID_SHOW_SETTINGS, "Show Settings Dialod\nShow Settings Dialod"},
        {ID_FILE_NEW_SEQUENCE, "Create a document of numbered rows\nNew Sequence"},
        {AFX_IDS_APP_TITLE, "Tavik"},
        {AFX_IDS_IDLEMESSAGE, " "},
        {AFX_IDS_HELPMODEMESSAGE, "Select an object on which to get Help"},
        {57600, "Create a new document\nNew"},
        {57601, "Open an existing document\nOpen"},
        {57602, "Close the active document\nClose"},
        {57603, "Save the active document\nSave"},
        {57604, "Save the active document with a new name\nSave As"},
        {57605, "Change the printing options\nPage Setup"},
        {57606, "Change the printer and printing options\nPrint Setup"},
        {57607, "Print the active document\nPrint"},
        {57609, "Display full pages\nPrint Preview"},
        {57632, "Erase the selection\nErase"},
        {57633, "Erase everything\nErase All"},
        {57634, "Copy the selection and put it on the Clipboard\nCopy"},
        {57635, "Cut the selection and put it on the Clipboard\nCut"},
        {57636, "Find the specified text\nFind"},
        {57637, "Insert Clipboard contents\nPaste"},
        {57640, "Repeat the last action\nRepeat"},
        {57641, "Replace specific text with different text\nReplace"},
        {57642, "Select the entire document\nSelect All"},
        {57643, "Undo the last action\nUndo"},
        {57644, "Redo the previously undone action\nRedo"},
        {57648, "Open another window for the active document\nNew Window"},
        {57649, "Arrange icons at the bottom of the window\nArrange Icons"},
        {57650, "Arrange windows so they overlap\nCascade Windows"},
        {57651, "Arrange windows as non-overlapping tiles\nTile Windows"},
        {57652, "Arrange windows as non-overlapping tiles\nTile Windows"},
        {57653, "Split the active window into panes\nSplit"},
        {57664, "Display program information, version number and copyright\nAbout"},
        {57665, "Quit the application; prompts to save documents\nExit"},
        {57666, "Opens Help\nHelp Topics"},
        {57667, "List Help topics\nHelp Topics"},
        {57668, "Display instructions about how to use help\nHelp"},
        {57669, "Display help for clicked on buttons, menus and windows\nHelp"},
        {57670, "Display help for current task or command\nHelp"},
        {57680, "Switch to the next window pane\nNext Pane"},
        {57681, "Switch back to the previous window pane\nPrevious Pane"},
        {59136, "EXT"},
        {59137, "CAP"},
        {59138, "NUM"},
        {59139, "SCRL"},
        {59140, "OVR"},
        {59141, "REC"},
        {59392, "Show or hide the toolbar\nToggle ToolBar"},
        {59393, "Show or hide the status bar\nToggle Status Bar"},
        {61184, "Change the window size"},
        {61185, "Change the window position"},
        {61186, "Reduce the window to an icon"},
        {61187, "Enlarge the window to full size"},
        {61188, "Switch to the next document window"},
        {61189, "Switch to the previous document window"},
        {61190, "Close the active window and prompts to save the documents"},
        {61202, "Restore the window to normal size"},
        {61203, "Activate Task List"},
        {61215, "Activate this window"},
        {61445, "Close print preview mode\nCancel Preview"},
    };
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE16; ++id) {
        s[id] = QStringLiteral("Open this document");
    }
    return s;
}

} // namespace

void LoadTavikResources() {
    Q_INIT_RESOURCE(shell);
    CResources& res = AfxGetResources();
    res.menus[IDR_MAINFRAME] = MainFrameMenu();
    res.menus[IDR_TavikTYPE] = DocumentMenu();
    res.accelerators[IDR_MAINFRAME] = Accelerators();
    res.toolbars[IDR_MAINFRAME] = ToolBar();
    res.strings = Strings();
    res.icons[IDR_MAINFRAME] = QStringLiteral(":/icons/tavik.svg");
    res.icons[IDR_TavikTYPE] = QStringLiteral(":/icons/document.svg");
    res.commandNames[ID_SHOW_SETTINGS] = "ID_SHOW_SETTINGS";
    res.commandNames[ID_FILE_NEW_SEQUENCE] = "ID_FILE_NEW_SEQUENCE";
}
