#pragma once

struct BatchOptions;

// --dump: prints the element bytes of every row; returns the exit status.
int Dump(const BatchOptions& options);
