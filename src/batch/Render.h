#pragma once

struct BatchOptions;

// -o OUT or --print: draws the rows as the barcode view shows them into a PNG
// or SVG file, or prints its pages into a PDF or on a printer; returns the exit status.
int Render(const BatchOptions& options);
