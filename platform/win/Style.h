#pragma once
// The application's style: the platform's own, except that the standard icons it hands out are
// decoded when they are first drawn or measured, not when they are asked for.
//
// Qt asks the style for a handful of icons as each document window and menu bar is made (the
// items of a document window's system menu, the menu bar's overflow button) and decodes every one
// of them at once, though most are never seen. Deferring them takes that work off the start of
// the program; an icon that is drawn looks exactly as the platform's style draws it.

// Makes the application use that style; does nothing without a widget application or when it
// already does.
void UseDeferredIconStyle();
