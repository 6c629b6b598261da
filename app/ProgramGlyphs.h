#pragma once
// The program's pictures, drawn as vectors so that they are sharp at every scale: the glyphs of the
// palette, the tool bars, the menus and the property window's buttons (named in the layouts), and
// the program's icon, a carton with a shipping mark on its side. The installed icon files are drawn
// from the same source by the build (tools/icons).

class QIcon;

// Registers every glyph the layouts name. Called once before the first layout is read; calling
// it again changes nothing.
void RegisterProgramGlyphs();

// The icon the window manager shows for every window of the program (registers the glyphs).
QIcon ProgramIcon();
