#pragma once
// TSpeedButton: a window-less tool button with a glyph and a caption, drawn by the Qt style so that
// it looks like the desktop's own buttons. Buttons of one parent that share a non-zero GroupIndex
// act as a group: pressing one keeps it down and raises the others, and unless AllowAllUp the
// group always keeps one down.

#include <QImage>

#include <string>

#include "platform/controls/GraphicControl.h"
#include "platform/graphics/Bitmap.h"

ENUMERATION(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)

// How a button face looks; also the index of the image in a glyph that holds several.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Where a glyph of `glyph` pixels and a caption measuring `text` go inside `client`. A Margin of
// -1 centres glyph and caption together, else it is the distance from the edge the glyph sits on.
// A Spacing of -1 spreads them out evenly, else it is the gap between glyph and caption.
struct TButtonPlacement {
  TPoint GlyphPos;
  TRect TextBounds;
};
TButtonPlacement CalcButtonLayout(const TRect& client, TSize glyph, TSize text, TButtonLayout layout,
                                  int margin, int spacing);

class TSpeedButton : public TGraphicControl {
  DECLARE_CLASS(TSpeedButton)

 public:
  void Create(TComponent* owner) override;

  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  // A button in no group never stays down; one that is down in a group can only be raised by
  // another of its group, unless AllowAllUp.
  bool Down() const { return down_; }
  void SetDown(bool v);
  // A flat button shows its face only while it is down or the mouse is over it.
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  TBitmap* Glyph() const { return glyph_; }
  void SetGlyph(TBitmap* v) { glyph_->Assign(v); }
  // A registered vector glyph (Glyphs.h), drawn for the pixel ratio of the device painted on; a
  // known name takes the place of Glyph.
  const std::string& GlyphName() const { return glyphName_; }
  void SetGlyphName(const std::string& v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  int Margin() const { return margin_; }
  void SetMargin(int v);
  // How many images side by side the glyph holds: up, disabled, down, exclusive (down and
  // staying down). Missing ones are made from the up image.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);

  // How the face is drawn now.
  TButtonState State() const { return Enabled() ? state_ : bsDisabled; }
  bool IsFontStored() const { return !ParentFont(); }

  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void GlyphChanged();
  // Tells the other buttons of the parent that this one went down, or that the group's
  // AllowAllUp changed: CM_BUTTONPRESSED with the group in WParam and this button in LParam.
  void UpdateExclusive();
  void ButtonPressed(TMessage& message);
  bool ContainsPoint(int x, int y) const;
  // The glyph's image for a state, with its transparent colour made transparent; a named glyph is
  // drawn for `ratio`.
  QImage GlyphImage(TButtonState state, qreal ratio);
  bool HasGlyph() const;

  bool allowAllUp_ = false;
  int groupIndex_ = 0;
  bool down_ = false;
  bool flat_ = false;
  TBitmap* glyph_ = nullptr;
  std::string glyphName_;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int numGlyphs_ = 1;
  int spacing_ = 4;

  TButtonState state_ = bsUp;  // up, down or exclusive; State() adds disabled
  bool dragging_ = false;  // the left button went down on this button and is still down
  bool mouseInControl_ = false;
  QImage maskedGlyph_;  // the whole glyph with transparency applied, until it changes
};
