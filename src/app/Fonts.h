#pragma once

// Makes the bundled Code 39 font stand in for the barcode face "Free 3 of 9"
// unless a font of that name is installed. Safe to call more than once.
void RegisterBundledFonts();
