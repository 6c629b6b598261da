#pragma once
// Named pictures for palette buttons made in composition: "ARROWBUTTON" for the arrow button, a
// class name in upper case ("TLABEL", "TSHAPE2") for the button of a prototype of that class, and
// "TCOMPONENT" for classes without a picture of their own. Whoever has pictures registers them;
// at run time the buttons' glyphs come from the layouts instead.

#include <QImage>

#include <string_view>

// Names are compared ignoring case. Registering a name again replaces its picture.
void RegisterPaletteBitmap(std::string_view name, const QImage& image);
void UnRegisterPaletteBitmap(std::string_view name);
// The picture of that name; a null image when there is none.
QImage PaletteBitmap(std::string_view name);
