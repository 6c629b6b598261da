#pragma once
// Labels: window-less controls that show a line or a paragraph of text. TCustomLabel does the
// work; TLabel publishes it.

#include <optional>
#include <string>

#include "platform/controls/GraphicControl.h"

ENUMERATION(TTextLayout, tlTop, tlCenter, tlBottom)

// What a parent gives the labels on it while it shows one row of a list of rows (an output page, a
// mark editor showing a shipment's values). In a caption, "{n}" and "{N}" become the row's position
// and the number of rows, "{name}" the row's value of the field `name` (formatted as
// Placeholders.h describes), and doubled braces single ones; a name the rows lack stays as typed.
// Without a row shown, captions stay as typed.
class TLabelRow {
 public:
  // False when no row is shown.
  virtual bool LabelRowNumbers(int& position, int& count) const = 0;
  // The value of field `name` in the row shown, as a data text shows it; nothing when the rows
  // have no such field.
  virtual std::optional<std::string> LabelFieldValue(const std::string& name) const = 0;

 protected:
  ~TLabelRow() = default;
};

// The row `control`'s nearest parent that gives rows shows, or null when it shows none.
const TLabelRow* RowShownFor(const TControl* control);

// `text` with its placeholders filled from the row `row` shows.
std::string WithRowValues(const std::string& text, const TLabelRow& row);

class TCustomLabel : public TGraphicControl {
  DECLARE_CLASS(TCustomLabel)

 public:
  void Create(TComponent* owner) override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  // Keeps the label as large as its text: the left edge stays put, or the right edge for
  // right-justified text; a word-wrapped label keeps its width as the limit of its lines.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  // Whether "&" underlines the next character (and "&&" shows one "&").
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  // A transparent label lets its parent's painting show between the letters.
  bool Transparent() const { return !controlStyle_.Contains(csOpaque); }
  void SetTransparent(bool v);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

  // Stored conditions of the inherited colour and font.
  bool IsColorStored() const { return !ParentColor(); }
  bool IsFontStored() const { return !ParentFont(); }

  void Dispatch(TMessage& message) override;

 protected:
  void Loaded() override;
  void Paint() override;
  // Draws the label text into `rect` on the canvas with the label's font, or with DT_CALCRECT
  // only measures it into `rect`. Disabled text is drawn embossed.
  virtual void DoDrawText(TRect& rect, unsigned flags);
  // The text to show: the caption, with the row numbers of the nearest parent that gives them,
  // unless a descendant shows something else.
  virtual std::string GetLabelText();
  // Fits the bounds to the text when AutoSize is on (not while the label is being read).
  void AdjustBounds();

 private:
  TAlignment alignment_ = taLeftJustify;
  bool autoSize_ = true;
  bool showAccelChar_ = true;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
};

class TLabel : public TCustomLabel {
  DECLARE_CLASS(TLabel)
};
