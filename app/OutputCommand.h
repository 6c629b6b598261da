#pragma once
// The output commands of the main window's File menu and of each mark editor's 輸出 drop-down:
// they ask what to output (OutputDialog.h), take the designs on the editors' stages as the clerk
// sees them, saved or not, and preview, print or write them (MarkOutput.h, PrintModule.h). Errors are
// said in a warning; nothing is changed on the stages.

#include <string>

#include "app/OutputDialog.h"

// `side` ("0" main, "1" side) is the mark the command was given from; the dialog offers it first.
void RunMarkOutput(TOutputKind kind, const std::string& side);
