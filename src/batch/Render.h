#pragma once

struct BatchOptions;

// -o OUT: draws the rows as the barcode view shows them into a PNG or SVG file;
// returns the exit status.
int Render(const BatchOptions& options);
