#pragma once

#include "CmdTarget.h"

class CScrollView;

// The barcode view's message map: Print, direct Print, Print Preview, Show Settings
// and Copy (the accelerators' Ctrl+C).
void MapTavikViewCommands(CCommandMap<CScrollView&>& map);
