#pragma once

// The framework's standard command, control-bar and string ids.

using UINT = unsigned int;

constexpr UINT ID_SEPARATOR = 0;

constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_CLOSE = 57602;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;
constexpr UINT ID_FILE_PAGE_SETUP = 57605;
constexpr UINT ID_FILE_PRINT_SETUP = 57606;
constexpr UINT ID_FILE_PRINT = 57607;
constexpr UINT ID_FILE_PRINT_DIRECT = 57608;
constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
constexpr UINT ID_FILE_MRU_FILE1 = 57616;
constexpr UINT ID_FILE_MRU_FILE16 = 57631;

constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_UNDO = 57643;

constexpr UINT ID_WINDOW_NEW = 57648;
constexpr UINT ID_WINDOW_ARRANGE = 57649;
constexpr UINT ID_WINDOW_CASCADE = 57650;
constexpr UINT ID_WINDOW_TILE_HORZ = 57651;

constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_HELP_FINDER = 57667;
constexpr UINT ID_CONTEXT_HELP = 57669;
constexpr UINT ID_HELP = 57670;
constexpr UINT ID_DEFAULT_HELP = 57671;

constexpr UINT ID_NEXT_PANE = 57680;
constexpr UINT ID_PREV_PANE = 57681;

constexpr UINT ID_INDICATOR_CAPS = 59137;
constexpr UINT ID_INDICATOR_NUM = 59138;
constexpr UINT ID_INDICATOR_SCRL = 59139;

constexpr UINT ID_VIEW_TOOLBAR = 59392;
constexpr UINT ID_VIEW_STATUS_BAR = 59393;
constexpr UINT AFX_IDW_TOOLBAR = 59392;
constexpr UINT AFX_IDW_STATUS_BAR = 59393;

constexpr UINT AFX_IDS_APP_TITLE = 57344;
constexpr UINT AFX_IDS_IDLEMESSAGE = 57345;
constexpr UINT AFX_IDS_HELPMODEMESSAGE = 57346;

// Prompts of the window menu's commands and of the window list.
constexpr UINT AFX_IDS_SCSIZE = 61184;
constexpr UINT AFX_IDS_SCMOVE = 61185;
constexpr UINT AFX_IDS_SCMINIMIZE = 61186;
constexpr UINT AFX_IDS_SCMAXIMIZE = 61187;
constexpr UINT AFX_IDS_SCCLOSE = 61190;
constexpr UINT AFX_IDS_SCRESTORE = 61202;
constexpr UINT AFX_IDS_MDICHILD = 61215;

// Frame styles.
constexpr unsigned long WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr unsigned long FWS_ADDTOTITLE = 0x00008000;
