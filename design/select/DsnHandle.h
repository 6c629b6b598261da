#pragma once
// The grab handles of the selection. TMultiHandler is a receiver of the register's target list that
// keeps one handle set (THandlerRect) per selected control. A set is four small square windows
// (TSmallRect) at the control's corners, children of the control's parent that belong to no owner,
// so they are never saved with a design. Dragging a handle shows an XOR outline of the new bounds
// and, on release, resizes the control. With one control selected its handles are black and
// active; with several, every handle is grey and ignores the mouse.

#include <unordered_set>
#include <vector>

#include "design/select/DsnList.h"
#include "platform/controls/GraphicControl.h"
#include "platform/graphics/Cursors.h"
#include "platform/rtl/IntegerConsts.h"

class THandlerRect;
class TMultiShape;

// What a handler hands each of its handle sets, and a set each of its handles: the handle size, the
// grid of handle drags, the two handle colours and the drag outline's colour and pen.
struct THandleStyle {
  int HandleSize = 6;
  int StepX = 6;
  int StepY = 6;
  TColor ActiveColor = clBlack;
  TColor InactiveColor = clGray;
  TColor OutlineColor = clGray;
  int OutlineWidth = 2;
};

// One handle. The handle classes differ only in the edges of the target they move; where a handle
// sits (at those edges, or midway along the others) and its cursor follow from them.
class TSmallRect : public TCustomControl {
  DECLARE_CLASS(TSmallRect)

 public:
  void Create(TControl* target, const THandleStyle& style);

  TControl* Target() const { return target_.get(); }
  void SetTarget(TControl* value) { target_ = value; }
  THandlerRect* HandlerRect() const { return handlerRect_; }
  void SetHandlerRect(THandlerRect* value) { handlerRect_ = value; }
  const THandleStyle& Style() const { return style_; }
  // The drag outline; null while no drag is in progress.
  TMultiShape* Shape() const { return shape_; }

  virtual TMultiShape* CreateShape();
  // Places the handle on the target's edges that it moves, centred along the others.
  virtual void SetControl();

 protected:
  // Which edges of the target a drag of this handle moves, and the cursor it shows.
  struct TEdges {
    bool left, top, right, bottom;
  };
  virtual TEdges Edges() const = 0;
  // A diagonal size cursor for a corner, a vertical or horizontal one for a side.
  virtual TCursor HandleCursor() const;

  void Destroy() override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  int HandleSize() const { return style_.HandleSize; }

 private:
  TPoint Snap(int x, int y) const;
  // The target's bounds a release at (x, y) would give, before negative extents are normalised.
  TRect Dragged(int x, int y) const;
  void EndDrag();

  TWeak<TControl> target_;
  THandlerRect* handlerRect_ = nullptr;
  TMultiShape* shape_ = nullptr;
  int pressX_ = 0;
  int pressY_ = 0;
  THandleStyle style_;
};

class TMigiueRect : public TSmallRect {  // upper right
  DECLARE_CLASS(TMigiueRect)

 protected:
  TEdges Edges() const override { return {false, true, true, false}; }
};

class TMigishitaRect : public TSmallRect {  // lower right
  DECLARE_CLASS(TMigishitaRect)

 protected:
  TEdges Edges() const override { return {false, false, true, true}; }
};

class THidariueRect : public TSmallRect {  // upper left
  DECLARE_CLASS(THidariueRect)

 protected:
  TEdges Edges() const override { return {true, true, false, false}; }
};

class THidarishitaRect : public TSmallRect {  // lower left
  DECLARE_CLASS(THidarishitaRect)

 protected:
  TEdges Edges() const override { return {true, false, false, true}; }
};

// The handles of one target.
class THandlerRect : public TObject {
  DECLARE_CLASS(THandlerRect)

 public:
  void Create(TControl* target, const THandleStyle& style);

  TControl* Target() const { return target_.get(); }
  // Forgets the target; the handles stay until the set is freed.
  void ForgetTarget();
  const std::vector<TSmallRect*>& Handles() const { return handles_; }
  // Set by a handle destroyed from outside (its parent window went first): from then on the set
  // neither places nor frees its handles.
  bool HandlesGone() const { return handlesGone_; }
  void SetHandlesGone() { handlesGone_ = true; }
  // The bounds remembered at a press and after a release.
  TRect Saved() const { return saved_; }
  void SetSaved(const TRect& value) { saved_ = value; }

  virtual void CreateHandles();
  virtual void RefreshHandles();
  // Every handle grey, with the default cursor.
  void Deactivate();

 protected:
  void Destroy() override;
  // Makes a handle of class T for the target with the set's style and appends it.
  template <class T>
  void Append() {
    handles_.push_back(New<T>(Target(), style_));
  }

  THandleStyle style_;

 private:
  TWeak<TControl> target_;
  std::vector<TSmallRect*> handles_;
  bool handlesGone_ = false;
  TRect saved_;
};

class TMultiHandler : public TReceiveTargets {
  DECLARE_CLASS(TMultiHandler)

 public:
  void ForgetTarget(int index) override;
  void AddTarget(TComponent* target) override;
  void ClearTargets() override;
  void DeleteTarget(int index) override;
  void TargetsChanged() override;

  virtual THandlerRect* CreateHandlerRect(TControl* target);

  // One set per target, in target order.
  const std::vector<THandlerRect*>& Handlers() const { return handlers_; }

  // The style every new handle set takes; the register sets the grid and the outline.
  const THandleStyle& Style() const { return style_; }
  int HandleSize() const { return style_.HandleSize; }
  int StepX() const { return style_.StepX; }
  void SetStepX(int value) { style_.StepX = value; }
  int StepY() const { return style_.StepY; }
  void SetStepY(int value) { style_.StepY = value; }
  TColor OutlineColor() const { return style_.OutlineColor; }
  void SetOutlineColor(TColor value) { style_.OutlineColor = value; }
  int OutlineWidth() const { return style_.OutlineWidth; }
  void SetOutlineWidth(int value) { style_.OutlineWidth = value; }

 protected:
  void Destroy() override;
  // Tells the agent where `target` sits that handles were placed (DM_HANDLESSHOWN).
  static void AnnounceHandles(TControl* target);
  // Whether `target` has a set already (found by a lookup: a selection of thousands is added one
  // target at a time), and the record of that for a set just added.
  bool Marks(const TControl* target) {
    if (stale_) Remark();
    return marked_.count(target) > 0;
  }
  void Added(THandlerRect* set, TControl* target) {
    handlers_.push_back(set);
    marked_.insert(target);
  }

  std::vector<THandlerRect*> handlers_;

 private:
  void FreeHandlers();
  // Takes the record of marked targets anew from the sets. A set that lost its target (it reads
  // null by then) leaves the record stale until it is next asked: a selection freed element by
  // element then costs one pass, not one per element.
  void Remark();
  bool stale_ = false;

  THandleStyle style_;
  // The targets of handlers_.
  std::unordered_set<const TControl*> marked_;
};
