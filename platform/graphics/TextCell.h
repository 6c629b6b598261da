#pragma once
// The cell of a line of text: the rows above and below the baseline that a line takes.
//
// Fonts report their ascent and descent rounded, and the ideographs of the Ming faces reach a row
// beyond them at some sizes. A cell that clipped them would cut the top off every character of a
// label sized to fit its text, so the cell also holds the hinted ink of a sample of tall and deep
// characters, Latin and Chinese. Text extents, line heights and baselines all come from here.

#include <QFont>

class QPaintDevice;

struct TextCell {
  int Ascent = 0;
  int Descent = 0;
  int Height() const { return Ascent + Descent; }
};

TextCell TextCellOf(const QFont& font, const QPaintDevice* device);
