// Message throughput through a subclassed window, and the cost of moving an XOR outline on the
// screen device context, as the designer does while a control is dragged.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <memory>

#include "platform/graphics/Canvas.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/Windows.h"
#include "tests/support/QtApp.h"

namespace {

// A shown 800 x 600 top-level window whose procedure chain is two subclassing procedures in front
// of the native one, each passing every message on.
class ChainedWindow {
 public:
  ChainedWindow() {
    TestApp();
    widget_ = std::make_unique<QWidget>();
    widget_->setGeometry(50, 50, 800, 600);
    window_ = CreateWindowHandle(widget_.get(), 0);
    for (Link& link : links_) {
      Link* self = &link;
      link.proc = MakeObjectInstance([this, self](TMessage& m) {
        if (m.Msg >= WM_USER) ++handled_;  // the benchmark's own, not the window's paint and size
        m.Result = CallWindowProc(self->next, window_, m.Msg, m.WParam, m.LParam);
      });
      link.next = SetWindowLong(window_, GWL_WNDPROC, link.proc);
    }
    widget_->show();
    while (!widget_->windowHandle() || !widget_->windowHandle()->isExposed()) QApplication::processEvents();
  }
  ~ChainedWindow() {
    DestroyWindow(window_);
    for (Link& link : links_) FreeObjectInstance(link.proc);
  }
  HWND Window() const { return window_; }
  int64_t Handled() const { return handled_; }

 private:
  struct Link {
    WNDPROC proc = 0;
    WNDPROC next = 0;
  };
  std::unique_ptr<QWidget> widget_;
  HWND window_ = 0;
  Link links_[2];
  int64_t handled_ = 0;
};

void BM_SendMessage(benchmark::State& state) {
  ChainedWindow chain;
  WPARAM n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(SendMessage(chain.Window(), WM_USER + 1, ++n, 0));
  if (chain.Handled() != 2 * static_cast<int64_t>(state.iterations())) state.SkipWithError("a link was skipped");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendMessage);

void BM_PostMessage(benchmark::State& state) {
  ChainedWindow chain;
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int i = 0; i < count; ++i) PostMessage(chain.Window(), WM_USER + 2, static_cast<WPARAM>(i), 0);
    DispatchPostedMessages();
  }
  if (chain.Handled() != 2 * count * static_cast<int64_t>(state.iterations())) state.SkipWithError("a message was lost");
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PostMessage)->Arg(1000);

// One step of a dragged outline: the old 200 x 100 frame is drawn again to erase it, then the
// frame at its new place, each as four lines of a two-pixel XOR pen on the screen. With
// `repaint`, the windows under it also composite the change before the next step.
void XorOutlineMove(benchmark::State& state, bool repaint) {
  ChainedWindow window;
  HDC dc = GetDC(0);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Pen()->SetMode(pmXor);
  canvas.Pen()->SetColor(clWhite);
  canvas.Pen()->SetWidth(2);
  auto frame = [&canvas](int x, int y) {
    canvas.MoveTo(x, y);
    canvas.LineTo(x + 199, y);
    canvas.MoveTo(x + 199, y);
    canvas.LineTo(x + 199, y + 99);
    canvas.MoveTo(x + 199, y + 99);
    canvas.LineTo(x, y + 99);
    canvas.MoveTo(x, y + 99);
    canvas.LineTo(x, y);
  };
  int x = 100, y = 100;
  frame(x, y);
  for (auto _ : state) {
    frame(x, y);
    x = 100 + (x - 99) % 400;
    y = 100 + (y - 99) % 300;
    frame(x, y);
    if (repaint) QApplication::processEvents();
  }
  frame(x, y);
  canvas.SetHandle(0);
  ReleaseDC(0, dc);
  QApplication::processEvents();
  state.SetItemsProcessed(state.iterations());
}

void BM_XorOutlineMove(benchmark::State& state) { XorOutlineMove(state, false); }
void BM_XorOutlineMoveAndRepaint(benchmark::State& state) { XorOutlineMove(state, true); }
BENCHMARK(BM_XorOutlineMove);
BENCHMARK(BM_XorOutlineMoveAndRepaint);

}  // namespace

BENCHMARK_MAIN();
