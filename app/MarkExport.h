#pragma once
// The command line's output: writes the stored marks of one customer's mark to a PDF, SVG or PNG
// file without opening a window or needing a display, and says in one line what went wrong.

#include "app/CommandLine.h"

// Runs `markedit --export ...`: 0 when the file (or files) were written, 1 with the reason on
// standard error otherwise. Makes the program's default data first, as a start of the editor does.
int ExportMarksFromCommandLine(const TProgramOptions& options, const char* program);
