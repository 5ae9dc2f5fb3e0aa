#pragma once

#include "ViewDialogs.h"

// The Settings and Page Layout dialogs, as the barcode view opens them.
ViewDialogs BarcodeDialogs();
