#pragma once
// What a mark may hold when it comes from elsewhere: a stored mark read from the shared database,
// or elements another editor (or another program) put on the clipboard.

#include "platform/stream/ReadPolicy.h"

// The mark elements (labels, shape labels, data texts, each with its own font), no events, and no
// reference to anything outside the mark but the editor's design menu, "pop", which every element
// gets. The list is kept here rather than taken from the palette or the class registry: an editor
// opened without the main window's palette refuses the same.
const TReadPolicy& MarkReadPolicy();
// The name of that menu.
inline constexpr const char* kMarkMenuName = "pop";
