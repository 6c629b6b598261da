#pragma once
// The program's icon, shown by the window manager for every window of the program: a carton with
// a shipping mark on its side. It is drawn, not read from a file, at the sizes window managers ask
// for.

class QIcon;

QIcon ProgramIcon();
