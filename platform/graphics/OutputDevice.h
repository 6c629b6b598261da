#pragma once
// Drawing for paper and files as well as for the screen. On the screen a canvas draws exact pixels
// (lines and ellipses as runs of pixels, which XOR outlines rely on); on a device that keeps shapes
// (a PDF, a printer, an SVG file) or through a scaling painter, lines and ellipses are drawn as
// lines and paths, so that they stay smooth at any size. An SVG file is a stencil for a cutting
// plotter: its text is drawn as outlines, so that it needs no fonts.

#include <QPointF>
#include <QString>

class QPainter;

bool DrawsVectors(const QPainter& painter);
bool OutlinesText(const QPainter& painter);

// Draws `text` in the painter's font and pen colour with its baseline starting at `at`: as text, or
// as filled outlines where the device wants them.
void DrawTextRun(QPainter& painter, const QPointF& at, const QString& text);
