#pragma once
// Conversions between the framework's colours and Qt's.
//
// A TColor is 0x00BBGGRR for an RGB value or 0x80000000 | index for a system colour. System colours
// follow the application's palette while a QGuiApplication exists, so that windows match the desktop
// theme; without one (tools, early start-up) they take the classic grey scheme.

#include <QColor>

#include "platform/rtl/IntegerConsts.h"

// The RGB value of a colour: system colours are resolved, RGB values pass unchanged. clNone and
// clDefault have no RGB value and pass unchanged too.
TColor ColorToRGB(TColor color);

// The Qt colour of a colour, always opaque; clNone gives a fully transparent colour and clDefault
// the colour of clWindow.
QColor ColorToQColor(TColor color);

// The RGB value of an opaque Qt colour; alpha is dropped.
TColor QColorToColor(const QColor& color);

// The classic value of a system colour by index (0 for clScrollBar, 15 for clBtnFace …), as used
// when no application palette exists; black for an unknown index.
TColor ClassicSysColor(int index);
