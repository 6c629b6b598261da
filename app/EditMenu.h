#pragma once
// The main window's Edit menu acts on the active mark editor: undo and redo, named by the step
// they take back or make again, the clipboard commands on its stage while it is designed (an edit
// box with the focus keeps its own), select all, and the layout commands on its selection.

#include <functional>

#include "design/select/DsnAlign.h"

class TComponent;
class TMenuItem;
class Tfmmain;

// Adds the actions and items to the window's Edit menu; once, as the window is made.
void BuildEditMenu(Tfmmain& window);

// Fills `submenu` with the layout commands in their groups (align, distribute, size), each item
// made with `owner`, tagged with its TAlignCommand and handed to `bind`, which says what it runs.
// The Edit menu's and the design menu's 對齊 are made by it.
void FillAlignMenu(TMenuItem& submenu, TComponent* owner, const std::function<void(TMenuItem&, TAlignCommand)>& bind);
