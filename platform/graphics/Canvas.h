#pragma once
// A canvas: drawing with a pen, a brush and a font on a device context.
//
// Figures follow the platform's pixel rules. A line leaves out its end point; a rectangle or an
// ellipse given as (left, top, right, bottom) covers the pixels left..right-1 and top..bottom-1,
// outline included. A pen wider than one pixel is centred on that outline, except psInsideFrame,
// which keeps it inside; a figure drawn without a pen (psClear, pmNop) is filled one pixel smaller
// at the right and the bottom. Lines and figures are aliased and, within one call, touch each pixel
// once, so that an XOR figure drawn twice leaves no trace. The pen mode applies to outlines and to
// the brush inside figures; FillRect, FrameRect and text always copy.
//
// Every drawing call raises Exception("Canvas does not allow drawing") when the canvas has no
// device context and can't make one.

#include <string>
#include <vector>

#include "platform/graphics/Brush.h"
#include "platform/graphics/DrawText.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Pen.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Types.h"
#include "platform/win/DeviceContext.h"

class QPainter;
class TGraphic;

class TCanvas : public TPersistent {
  DECLARE_CLASS(TCanvas)

 public:
  TCanvas();
  ~TCanvas() override;

  // The device context. Asking for it creates it for a canvas that makes its own (a bitmap's) and
  // selects the font, the text colour and the brush into its painter, for DrawText and the like.
  HDC Handle();
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return handle_ != 0; }

  TPen* Pen() const { return pen_; }
  void SetPen(TPen* value) { pen_->Assign(value); }
  TBrush* Brush() const { return brush_; }
  void SetBrush(TBrush* value) { brush_->Assign(value); }
  TFont* Font() const { return font_; }
  void SetFont(TFont* value) { font_->Assign(value); }

  TPoint PenPos() const { return penPos_; }
  void SetPenPos(TPoint value) { penPos_ = value; }
  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  // Draws from the pen position to (x, y), which becomes the pen position and is not drawn.
  void LineTo(int x, int y);
  // Joins the points; every point is drawn once except the last, and a dotted pattern runs on
  // around the corners. The pen position doesn't move.
  void Polyline(const std::vector<TPoint>& points);
  // A closed figure through the points, filled by the even-odd rule.
  void Polygon(const std::vector<TPoint>& points);
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
  void Ellipse(int left, int top, int right, int bottom);
  void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
  // Fills the rectangle with the brush, no outline.
  void FillRect(const TRect& rect);
  // A one-pixel frame just inside the rectangle in the brush colour.
  void FrameRect(const TRect& rect);

  // Text with its top-left corner at (x, y). A solid brush fills the text's cell first; then the
  // pen position moves to the end of the text.
  void TextOut(int x, int y, const std::string& text);
  // Text at (x, y) clipped to the rectangle, which a solid brush fills first.
  void TextRect(const TRect& rect, int x, int y, const std::string& text);
  TSize TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  // ::DrawText with this canvas's font, colour and brush (see DrawText.h).
  int DrawText(const std::string& text, TRect& rect, unsigned flags);

  // Draws a graphic at its own size, or stretched to fill the rectangle.
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& rect, TGraphic* graphic);

  // A single pixel. Reading works on images only; elsewhere it gives -1, as an invalid colour.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);

  // Told before and after every drawing call.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  // A canvas that makes its own device context creates it here and calls SetHandle.
  virtual void CreateHandle() {}
  void Changing() { OnChanging(this); }
  void Changed() { OnChange(this); }

 private:
  friend class TGraphic;
  // The painter of the device context with this canvas's objects selected; raises when there is
  // none.
  QPainter& Painter();
  void Select(QPainter& painter);
  void DrawPolyline(QPainter& painter, const std::vector<TPoint>& points, bool closed);
  void Drawn(const TRect& rect);

  HDC handle_ = 0;
  TPen* pen_ = nullptr;
  TBrush* brush_ = nullptr;
  TFont* font_ = nullptr;
  TPoint penPos_;
};
