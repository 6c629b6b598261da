// A mark's design stage saved to a design stream and loaded back, with 1,000 and 10,000 labels on
// it. Both must grow linearly with the number of labels.
//
// Run: build-rel/bin/bench_stage [--benchmark_repetitions=5]

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <string>

#include "design/DsnUnit.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/StdControls.h"
#include "platform/rtl/Stream.h"
#include "platform/win/Windows.h"
#include "tests/support/QtApp.h"

namespace {

const char* const kCaptions[] = {"C/NO.", "PO/NO", "MADE IN TAIWAN", "正嘜", "N.W.", "G.W."};

struct Design {
  TForm* form;
  TDsnStage* stage;
};

// A hidden window with a stage holding `count` labels, as a large mark would.
Design BuildDesign(int count) {
  TestApp();
  RegisterStandardControls();  // the labels' class must be known to the reader
  TForm* form = New<TForm>(nullptr);
  auto* stage = New<TDsnStage>(form);
  stage->SetName("DsnStage1");
  stage->SetParent(form);
  stage->SetBounds(0, 0, 800, 600);
  for (int i = 0; i < count; ++i) {
    auto* label = New<TLabel>(form);
    label->SetName("Label" + std::to_string(i + 1));
    label->SetParent(stage);
    label->SetBounds(8 + (i % 40) * 16, 8 + (i / 40) % 60 * 8, 64, 16);
    label->SetCaption(kCaptions[i % 6]);
  }
  return {form, stage};
}

void BM_StageSave(benchmark::State& state) {
  Design design = BuildDesign(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TMemoryStream stream;
    design.stage->SaveToStream(stream);
    benchmark::DoNotOptimize(stream.Memory());
  }
  design.form->Free();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_StageLoad(benchmark::State& state) {
  Design design = BuildDesign(static_cast<int>(state.range(0)));
  TMemoryStream saved;
  design.stage->SaveToStream(saved);
  for (auto _ : state) {
    saved.SetPosition(0);
    design.stage->LoadFromStream(saved);
    state.PauseTiming();
    DispatchPostedMessages();  // the loaded notices, not part of the read
    state.ResumeTiming();
  }
  design.form->Free();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_StageSave)->Arg(1000)->Arg(2000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StageLoad)->Arg(1000)->Arg(2000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
