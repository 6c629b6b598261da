#pragma once
// XOR outlines on the screen: what a drag shows of its future result.
//
// An outline is drawn on the screen device context in XOR, so drawing the same outline again
// erases it and nothing beneath is saved or repainted. TFundamentalShape is one outline;
// TMultiShape is a group of outlines that move together (one per dragged control) or a single
// frame that grows with the mouse (ResetSingle). A group lives for one drag:
//
//   1. create it and set Color, PenWidth (and PenStyle for a dotted rubber band);
//   2. set Origin to the screen point of the press, then AddControl for each dragged control, or
//      ResetSingle for a growing frame;
//   3. ClipTo the control inside which the drag happens;
//   4. on every mouse move, MoveTo(the screen point) (after SetOutlineWidth / SetOutlineHeight for
//      a frame); nothing shows before the first move;
//   5. on release, or when the drag is abandoned, Finish, then Free.
//
// A group freed without Finish still erases what it shows and gives the cursor back if it holds it.

#include <memory>

#include "platform/graphics/Canvas.h"
#include "platform/rtl/List.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"
#include "platform/win/DeviceContext.h"

class TControl;

// One rectangle outline, drawn as four lines that each leave out their end point: with a
// one-pixel pen every pixel of the frame is drawn once, and a wider pen makes the frame that many
// pixels thick, centred on the outline as the canvas centres wide pens, again each pixel once.
// Solid outlines go straight to the device context (XorRects), so a thousand of them move as fast
// as the screen takes pixels; styled one-pixel outlines (a dotted rubber band) go through the
// canvas with its dash patterns.
class TFundamentalShape : public TObject {
  DECLARE_CLASS(TFundamentalShape)

 public:
  // `canvas` is shared with the other outlines of a group and not owned; its device context is
  // the one drawn on.
  void Create(TCanvas* canvas);

  // Erases the rectangle on screen, if any; then, unless the outline is finishing, draws the
  // rectangle at (x, y) + Offset with the size Width x Height and remembers it. DrawState becomes
  // 1 after a draw; with DrawState 2 the outline only erases.
  virtual void Draw(int x, int y);

  // The size; negative values draw the same pixels as the normalised rectangle.
  int Width() const { return width_; }
  void SetWidth(int value) { width_ = value; }
  int Height() const { return height_; }
  void SetHeight(int value) { height_ = value; }
  // The rectangle last drawn, in screen coordinates (DrawnRight = DrawnLeft + Width).
  int DrawnLeft() const { return drawnLeft_; }
  int DrawnTop() const { return drawnTop_; }
  int DrawnRight() const { return drawnRight_; }
  int DrawnBottom() const { return drawnBottom_; }
  TCanvas* Canvas() const { return canvas_; }
  // Where the outline lies relative to the point given to Draw.
  TPoint Offset() const { return offset_; }
  void SetOffset(TPoint value) { offset_ = value; }
  int PenWidth() const { return penWidth_; }
  void SetPenWidth(int value) { penWidth_ = value; }
  TPenStyle PenStyle() const { return penStyle_; }
  void SetPenStyle(TPenStyle value) { penStyle_ = value; }
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  // 0 never drawn, 1 drawn, 2 finishing (a Draw only erases).
  int DrawState() const { return drawState_; }
  void SetDrawState(int value) { drawState_ = value; }
  // Whether the rectangle last drawn is on the screen now.
  bool Visible() const { return visible_; }

 private:
  // The pen an outline was drawn with; it is erased with the same one whatever changed since.
  struct Ink {
    TColor Color = clGray;
    int Width = 2;
    TPenStyle Style = psSolid;
  };
  void Frame(const Ink& ink);

  int width_ = 0;
  int height_ = 0;
  int drawnLeft_ = 0;
  int drawnTop_ = 0;
  int drawnRight_ = 0;
  int drawnBottom_ = 0;
  TCanvas* canvas_ = nullptr;
  HDC dc_ = 0;  // the canvas's device context, asked once
  TPoint offset_;
  int penWidth_ = 2;
  TPenStyle penStyle_ = psSolid;
  TColor color_ = clGray;
  int drawState_ = 0;
  bool visible_ = false;
  Ink drawnInk_;
};

class TMultiShape : public TObject {
  DECLARE_CLASS(TMultiShape)

 public:
  // Takes the screen's device context and a canvas on it for the life of the group.
  void Create();

  // New outlines on the group's canvas: for AddControl and for ResetSingle.
  virtual TFundamentalShape* CreateItem();
  virtual TFundamentalShape* CreateBandItem();
  // Keeps the mouse cursor inside the client area of `control` until Finish.
  virtual void ClipTo(TControl* control);
  // Draws every outline displaced to `p` (screen coordinates), in list order, erasing where each
  // was; the windows beneath are refreshed once for the whole group.
  virtual void MoveTo(TPoint p);
  // Frees the cursor and erases every outline for good.
  virtual void Finish();

  // Adds an outline of `control`'s size at its screen position relative to Origin, with the
  // group's colour and pen. Nothing for null.
  void AddControl(TControl* control);
  // Replaces the outlines by one of size 0 x 0 at Origin, for a frame that grows with the mouse.
  // Outlines still on the screen are erased first.
  void ResetSingle();
  // The size of the first outline (the growing frame); nothing while there is none.
  void SetOutlineWidth(int value);
  void SetOutlineHeight(int value);

  // The outlines, owned; null until the first AddControl or ResetSingle.
  const TList<TFundamentalShape*>* Items() const { return items_.get(); }
  TRect ClipRect() const { return clipRect_; }
  HDC ScreenDC() const { return screenDC_; }
  TCanvas* Canvas() const { return canvas_; }
  TPoint Origin() const { return origin_; }
  void SetOrigin(TPoint value) { origin_ = value; }
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  int PenWidth() const { return penWidth_; }
  void SetPenWidth(int value) { penWidth_ = value; }
  TPenStyle PenStyle() const { return penStyle_; }
  void SetPenStyle(TPenStyle value) { penStyle_ = value; }

 protected:
  void Destroy() override;

 private:
  TFundamentalShape* Append(TFundamentalShape* item);
  void EraseAll();
  void FreeItems();

  std::unique_ptr<TList<TFundamentalShape*>> items_;
  TRect clipRect_;
  HDC screenDC_ = 0;
  TCanvas* canvas_ = nullptr;
  TPoint origin_;
  TColor color_ = clGray;
  int penWidth_ = 2;
  TPenStyle penStyle_ = psSolid;
  bool clipping_ = false;  // this group clipped the cursor and has not let it go yet
};
