// The register on a large stage: design mode switched on and off over 1,000 labels and 100 edit
// fields (each edit field gets a design agent, the labels are found under the mouse), and a paste of
// 1,000 copied labels.
//
// Run: build-rel/bin/bench_register [--benchmark_repetitions=5]

#include <benchmark/benchmark.h>

#include <string>

#include "design/select/DsnRegister.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/StdControls.h"
#include "platform/win/Windows.h"
#include "tests/support/QtApp.h"

namespace {

struct Design {
  TForm* form;
  TDsnStage* stage;
  TDsnRegister* reg;
};

// A shown window with a stage of `labels` labels and `edits` edit fields, and its register.
Design BuildDesign(int labels, int edits) {
  TestApp();
  RegisterStandardControls();
  TForm* form = New<TForm>(nullptr);
  form->SetBounds(0, 0, 900, 700);
  auto* stage = New<TDsnStage>(form);
  stage->SetName("DsnStage1");
  stage->SetParent(form);
  stage->SetBounds(0, 0, 880, 680);
  for (int i = 0; i < labels; ++i) {
    auto* label = New<TLabel>(form);
    label->SetName("Label" + std::to_string(i + 1));
    label->SetParent(stage);
    label->SetBounds(8 + (i % 40) * 20, 8 + (i / 40) % 30 * 20, 16, 16);
    label->SetCaption("C/NO.");
  }
  for (int i = 0; i < edits; ++i) {
    auto* edit = New<TEdit>(form);
    edit->SetName("Edit" + std::to_string(i + 1));
    edit->SetParent(stage);
    edit->SetBounds(8 + (i % 10) * 80, 620 + (i / 10) % 3 * 20, 70, 18);
  }
  auto* reg = New<TDsnRegister>(form);
  reg->SetDsnStage(stage);
  form->Show();
  DispatchPostedMessages();
  return {form, stage, reg};
}

void BM_DesignOn(benchmark::State& state) {
  Design design = BuildDesign(1000, 100);
  int agents = 0;
  for (auto _ : state) {
    design.reg->SetDesigning(true);
    state.PauseTiming();
    agents = design.reg->AgentCount();
    design.reg->SetDesigning(false);
    state.ResumeTiming();
  }
  state.counters["agents"] = agents;
  design.form->Free();
}

void BM_DesignOff(benchmark::State& state) {
  Design design = BuildDesign(1000, 100);
  for (auto _ : state) {
    state.PauseTiming();
    design.reg->SetDesigning(true);
    state.ResumeTiming();
    design.reg->SetDesigning(false);
  }
  design.form->Free();
}

void BM_Paste(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Design design = BuildDesign(count, 0);
  design.reg->SetDesigning(true);
  design.reg->SelectComponent(design.stage->Controls(0));
  for (int i = 1; i < count; ++i) design.reg->Targets()->AddTarget(design.stage->Controls(i));
  design.reg->CopySelection();
  for (auto _ : state) {
    design.reg->ClearSelection();
    design.reg->PasteSelection();
    state.PauseTiming();
    DispatchPostedMessages();
    design.reg->DeleteSelection();  // the pasted copies go again
    state.ResumeTiming();
  }
  design.reg->SetDesigning(false);
  design.form->Free();
  state.SetItemsProcessed(state.iterations() * count);
}

}  // namespace

BENCHMARK(BM_DesignOn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignOff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
