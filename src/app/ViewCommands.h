#pragma once

#include "CmdTarget.h"

class CScrollView;

// The barcode view's message map: Print, direct Print, Print Preview and Show Settings.
void MapTavikViewCommands(CCommandMap<CScrollView&>& map);
