// The cost of one step of a drag: a group of XOR outlines erased where they were and drawn at the
// next mouse position, as the designer does on every mouse move. One outline is a single dragged
// control or a growing frame; a thousand stand for a large selection moved at once.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <vector>

#include "design/select/DsnShape.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/Panel.h"
#include "tests/support/QtApp.h"

namespace {

// A shown form with a stage panel of `count` window-less controls: one 200 x 100 control, or
// 24 x 16 controls in a grid 40 wide at a 30-pixel pitch.
class Stage {
 public:
  explicit Stage(int count) {
    TestApp();
    form_ = New<TForm>(nullptr);
    form_->SetBounds(20, 20, 1300, 820);
    panel_ = New<TPanel>(form_);
    panel_->SetParent(form_);
    panel_->SetBounds(0, 0, 1280, 800);
    for (int i = 0; i < count; ++i) {
      auto* label = New<TLabel>(form_);
      label->SetParent(panel_);
      if (count == 1) label->SetBounds(100, 100, 200, 100);
      else label->SetBounds(10 + (i % 40) * 30, 10 + (i / 40) * 30, 24, 16);
      controls_.push_back(label);
    }
    form_->Show();
    QWidget* top = WindowWidget(form_->Handle())->window();
    while (!top->windowHandle() || !top->windowHandle()->isExposed()) QApplication::processEvents();
  }
  ~Stage() {
    form_->Free();
    QApplication::processEvents();
  }
  TPanel* Panel() const { return panel_; }
  const std::vector<TControl*>& Controls() const { return controls_; }

 private:
  TForm* form_ = nullptr;
  TPanel* panel_ = nullptr;
  std::vector<TControl*> controls_;
};

// The register's move drag with the editor's rubber band: grey, two pixels wide, solid. With
// `repaint`, the windows beneath also composite each step before the next.
void OutlineMove(benchmark::State& state, bool repaint) {
  Stage stage(static_cast<int>(state.range(0)));
  auto* group = New<TMultiShape>();
  group->SetColor(clGray);
  group->SetPenWidth(2);
  TPoint press = stage.Panel()->ClientToScreen({5, 5});
  group->SetOrigin(press);
  for (TControl* c : stage.Controls()) group->AddControl(c);
  group->ClipTo(stage.Panel());
  int step = 0;
  for (auto _ : state) {
    step = (step + 1) % 16;
    group->MoveTo({press.X + step, press.Y + step / 2});
    if (repaint) QApplication::processEvents();
  }
  group->Finish();
  group->Free();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_OutlineMove(benchmark::State& state) { OutlineMove(state, false); }
void BM_OutlineMoveAndRepaint(benchmark::State& state) { OutlineMove(state, true); }
BENCHMARK(BM_OutlineMove)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OutlineMoveAndRepaint)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
