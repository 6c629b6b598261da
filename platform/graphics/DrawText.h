#pragma once
// Formatted text in a rectangle: alignment, line breaks, word wrap, tab stops and the underlined
// accelerator character, with a measuring mode that reports the rectangle the text needs.

#include <string>

#include "platform/rtl/Types.h"
#include "platform/win/DeviceContext.h"

constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;   // with DT_SINGLELINE only
constexpr unsigned DT_BOTTOM = 0x8;    // with DT_SINGLELINE only
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;

// Draws UTF-8 text into `rect` on the device context with the font, text colour (the pen's) and
// background (the brush: a solid brush fills each line's extent, no brush leaves it) that its
// painter holds; a canvas selects its own into the painter whenever its Handle is asked for.
//
// Lines break at line feeds unless DT_SINGLELINE. DT_WORDBREAK also breaks where a line would
// grow wider than the rectangle: at spaces, which are dropped at the break, and between
// ideographs, though not before closing punctuation. A word wider than the rectangle stays whole.
// Tabs without DT_EXPANDTABS are drawn as spaces; with it they advance to the next multiple of
// eight average character widths. Unless DT_NOPREFIX, "&" underlines the character that follows
// and "&&" is a literal "&". Unless DT_NOCLIP the drawing is clipped to the rectangle.
//
// With DT_CALCRECT nothing is drawn: rect.Right becomes rect.Left plus the widest line and
// rect.Bottom rect.Top plus the height of all lines, laid out exactly as drawing would lay them out.
// Returns the height of the text; with DT_VCENTER or DT_BOTTOM, the distance from rect.Top to the
// bottom of the text. Returns 0 for an empty text or a device context without a painter.
int DrawText(HDC dc, const std::string& text, TRect& rect, unsigned flags);
