#include "ViewCommands.h"

#include "Resource.h"
#include "TavikView.h"
#include "ViewPrint.h"
#include "WinApp.h"

namespace {

QPrinter& AppPrinter() {
    return AfxGetApp()->GetPrinter();
}

// Show Settings runs the view's OnShowSettings once the view has a public one;
// until then the command has no handler, so its menu item and button stay
// disabled.
template <class View> void MapShowSettings(CCommandMap<CScrollView&>& map) {
    if constexpr (requires(View & v) { v.OnShowSettings(); }) {
        map.On(ID_SHOW_SETTINGS, [](CScrollView& v) { static_cast<View&>(v).OnShowSettings(); });
    }
}

} // namespace

void MapTavikViewCommands(CCommandMap<CScrollView&>& map) {
    map.On(ID_FILE_PRINT, [](CScrollView& v) { OnFilePrint(v, AppPrinter(), false); });
    map.On(ID_FILE_PRINT_DIRECT, [](CScrollView& v) { OnFilePrint(v, AppPrinter(), true); });
    map.On(ID_FILE_PRINT_PREVIEW, [](CScrollView& v) { OnFilePrintPreview(v, AppPrinter()); });
    MapShowSettings<CTavikView>(map);
    map.On(
        ID_EDIT_COPY, [](CScrollView& v) { static_cast<CTavikView&>(v).OnEditCopy(); },
        [](CCmdUI& ui, CScrollView& v) { ui.Enable(!v.GetTotalSize().isEmpty()); });
}
