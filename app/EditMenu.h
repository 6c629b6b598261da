#pragma once
// The main window's Edit menu acts on the active mark editor: undo and redo, named by the step
// they take back or make again, the clipboard commands on its stage while it is designed (an edit
// box with the focus keeps its own), select all, and the layout commands on its selection.

class Tfmmain;

// Adds the actions and items to the window's Edit menu; once, as the window is made.
void BuildEditMenu(Tfmmain& window);
