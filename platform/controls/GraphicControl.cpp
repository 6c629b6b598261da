#include "platform/controls/GraphicControl.h"

#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(TGraphicControl, TControl) {}
DEFINE_CLASS(TCustomControl, TWinControl) {}

namespace {
// Lends the device context to the canvas for one paint, whatever the painting raises.
class CanvasHandle {
 public:
  CanvasHandle(TCanvas* canvas, HDC dc) : canvas_(canvas) { canvas_->SetHandle(dc); }
  ~CanvasHandle() { canvas_->SetHandle(0); }
  CanvasHandle(const CanvasHandle&) = delete;
  CanvasHandle& operator=(const CanvasHandle&) = delete;

 private:
  TCanvas* canvas_;
};
}  // namespace

void TGraphicControl::Create(TComponent* owner) {
  TControl::Create(owner);
  canvas_ = New<TCanvas>();
}

void TGraphicControl::Destroy() {
  FreeAndNil(canvas_);
  TControl::Destroy();
}

void TGraphicControl::Dispatch(TMessage& message) {
  if (message.Msg != WM_PAINT) {
    TControl::Dispatch(message);
    return;
  }
  // The parent sends the device context of its paint, already moved and clipped to this control.
  CanvasHandle lend(canvas_, static_cast<HDC>(message.WParam));
  Paint();
}

void TCustomControl::Create(TComponent* owner) {
  TWinControl::Create(owner);
  canvas_ = New<TCanvas>();
}

void TCustomControl::Destroy() {
  FreeAndNil(canvas_);
  TWinControl::Destroy();
}

void TCustomControl::PaintWindow(HDC dc) {
  CanvasHandle lend(canvas_, dc);
  Paint();
}
