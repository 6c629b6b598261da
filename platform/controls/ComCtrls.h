#pragma once
// The common controls: tool bars with tool buttons, status bars with panels, and page controls
// with tab sheets. Each has its own header; include this one for all of them.

#include "platform/controls/PageControl.h"
#include "platform/controls/StatusBar.h"
#include "platform/controls/ToolBar.h"
