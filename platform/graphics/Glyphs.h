#pragma once
// Glyphs: small named pictures drawn by code, so that they are sharp at every device pixel ratio
// (1.25, 1.5, 2 …) instead of a 1x bitmap blown up. Buttons name them (GlyphName), image lists list
// them (Glyphs), and the program registers its set once at start.
//
// A glyph draws in logical pixels inside a box of its size; the painter it gets is already scaled
// to the device's pixels. Drawing them costs no image file and no image-format plugin.

#include <QIcon>
#include <QImage>
#include <QSize>

#include <functional>
#include <string>
#include <string_view>

class QPainter;

using TGlyphPainter = std::function<void(QPainter& painter)>;

// Registering a name again replaces its picture (and what was drawn of it).
void RegisterGlyph(std::string_view name, QSize size, TGlyphPainter paint);
bool GlyphExists(std::string_view name);
// The logical size; an empty size for an unknown name.
QSize GlyphSize(std::string_view name);

// The glyph drawn for a device pixel ratio: ceil(size × ratio) pixels, transparent around the
// drawing, with that ratio set, so that QPainter::drawImage places it at its logical size. A null
// image for an unknown name. Images are kept per ratio after the first drawing.
QImage GlyphImage(std::string_view name, qreal devicePixelRatio);

// Draws the glyph on `painter` at its logical size, from the painter's origin (for vector devices
// such as an SVG file). False for an unknown name.
bool DrawGlyph(std::string_view name, QPainter& painter);

// The glyph as an icon for Qt's widgets: each size and ratio asked for is drawn from the vector
// source (menus, tool bars, window icons). A null icon for an unknown name.
QIcon GlyphIcon(std::string_view name);
