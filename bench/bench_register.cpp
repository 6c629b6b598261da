// The mark editor's register on a large stage: design mode switched on and off over 1,000 labels
// and 100 edit fields (each edit field gets a design agent, the labels are found under the mouse),
// a paste of 1,000 copied labels, and dragging, banding and clicking among 1,000 labels; with the
// mark editor's inspector, its common properties of 1,000 banded labels and one caption written
// to all of them. And the undo history of such a stage: a move of 1,000 selected labels recorded
// and undone (the repaint apart), and what 100 such steps cost in memory.
//
// Run: build-rel/bin/bench_register [--benchmark_repetitions=5]

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "design/inspector/DsnProp.h"
#include "design/inspector/DsnSpctr.h"
#include "design/select/DsnHistory.h"
#include "design/select/DsnRegister.h"
#include "design/select/DsnSubGr.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Form.h"
#include "platform/controls/Grids.h"
#include "platform/rtl/StringList.h"
#include "platform/controls/Label.h"
#include "platform/controls/StdControls.h"
#include "platform/win/Windows.h"
#include "tests/support/QtApp.h"

namespace {

struct Design {
  TForm* form;
  TDsnStage* stage;
  TDsnDpRegister* reg;
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
  auto* reg = New<TDsnDpRegister>(form);  // the mark editor's register
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

// The mark editor's register on a stage of 1,000 labels, design mode on.
struct MarkStage {
  TForm* form;
  TDsnStage* stage;
  TDsnDpRegister* reg;
};

MarkStage BuildMarkStage(bool inspector = false) {
  Design design = BuildDesign(1000, 0);
  if (inspector) {
    // Configured as the mark editor's.
    auto* dsnInspector = New<TDsnInspector>(design.form);
    dsnInspector->ShowProps()->aCaption = true;
    dsnInspector->ShowProps()->aColor = true;
    dsnInspector->ShowProps()->aFont = true;
    dsnInspector->SelfProps()->SetText("datafield\nkind\n");
    dsnInspector->BtnProps()->SetText("Color\nFont\nDataField\n");
    design.reg->SetDsnInspector(dsnInspector);
  }
  design.reg->SetDesigning(true);
  DispatchPostedMessages();
  return {design.form, design.stage, design.reg};
}

void SelectAll(MarkStage& m) {
  m.reg->SelectComponent(m.stage->Controls(0));
  for (int i = 1; i < m.stage->ControlCount(); ++i)
    if (auto* label = dynamic_cast<TLabel*>(m.stage->Controls(i))) m.reg->Targets()->AddTarget(label);
  m.reg->RefreshTargets();
}

// One mouse move while 1,000 selected labels are dragged: the outlines erased and drawn again.
void BM_DragMove(benchmark::State& state) {
  MarkStage m = BuildMarkStage();
  SelectAll(m);
  TControl* first = m.stage->Controls(0);
  m.reg->MoveBegin(m.stage, first, {}, {first->Left() + 2, first->Top() + 2});
  int step = 0;
  for (auto _ : state) {
    ++step;
    m.reg->MoveDrag({first->Left() + 2 + 8 * (step % 4), first->Top() + 2}, TShiftState{ssLeft});
  }
  m.reg->MoveEnd({first->Left() + 2, first->Top() + 2}, TShiftState{});
  m.reg->SetDesigning(false);
  m.form->Free();
}

// The drop of 1,000 selected labels: bounds applied, the squares painted again.
void BM_Drop(benchmark::State& state) {
  MarkStage m = BuildMarkStage();
  SelectAll(m);
  TControl* first = m.stage->Controls(0);
  int dx = 8;
  for (auto _ : state) {
    state.PauseTiming();
    m.reg->MoveBegin(m.stage, first, {}, {first->Left() + 2, first->Top() + 2});
    m.reg->MoveDrag({first->Left() + 2 + dx, first->Top() + 2}, TShiftState{ssLeft});
    state.ResumeTiming();
    m.reg->MoveEnd({first->Left() + 2 + dx, first->Top() + 2}, TShiftState{});
    QApplication::processEvents();  // the repaint with the squares
    dx = -dx;
  }
  m.reg->SetDesigning(false);
  m.form->Free();
}

// A rubber band over the whole stage of 1,000 labels: the selection on release.
void BM_Band(benchmark::State& state) {
  MarkStage m = BuildMarkStage();
  for (auto _ : state) {
    state.PauseTiming();
    m.reg->ClearSelection();
    m.reg->BandStart(m.stage, m.stage, {870, 670}, TShiftState{});
    m.reg->BandDrag(m.stage, {1, 1}, TShiftState{ssLeft});
    state.ResumeTiming();
    m.reg->BandEnd(m.stage, {1, 1}, TShiftState{});
  }
  state.counters["selected"] = m.reg->SelectedCount();
  m.reg->SetDesigning(false);
  m.form->Free();
}

// The band over 1,000 labels and everything it leads to, the stage's repaint included; with the
// argument 1 the mark editor's inspector gathers and shows the common properties as well.
void BM_BandRepaint(benchmark::State& state) {
  MarkStage m = BuildMarkStage(state.range(0) == 1);
  for (auto _ : state) {
    state.PauseTiming();
    m.reg->ClearSelection();
    DispatchPostedMessages();
    QApplication::processEvents();
    m.reg->BandStart(m.stage, m.stage, {870, 670}, TShiftState{});
    m.reg->BandDrag(m.stage, {1, 1}, TShiftState{ssLeft});
    state.ResumeTiming();
    m.reg->BandEnd(m.stage, {1, 1}, TShiftState{});
    DispatchPostedMessages();
    QApplication::processEvents();
  }
  m.reg->SetDesigning(false);
  m.form->Free();
}

// The inspector's own part of selecting 1,000 labels: the common properties merged one target
// at a time, the grid filled and painted.
void BM_InspectorGather(benchmark::State& state) {
  MarkStage m = BuildMarkStage(true);
  auto* inspector = static_cast<TDsnInspector*>(m.reg->DsnInspector());
  auto* props = static_cast<TMultiProps*>(inspector->CreateMultiProps());
  std::vector<TComponent*> labels;
  for (int i = 0; i < m.stage->ControlCount(); ++i) labels.push_back(m.stage->Controls(i));
  for (auto _ : state) {
    props->ClearTargets();
    for (TComponent* label : labels) props->AddTarget(label);
    props->TargetsChanged();
    QApplication::processEvents();
  }
  state.counters["rows"] = inspector->Window()->StringGrid1->RowCount() - 1;
  props->Free();
  m.reg->SetDesigning(false);
  m.form->Free();
}

// One caption typed into the inspector for 1,000 selected labels: written to each, the selection
// refreshed, the stage painted again.
void BM_CaptionToAll(benchmark::State& state) {
  MarkStage m = BuildMarkStage(true);
  SelectAll(m);
  DispatchPostedMessages();
  QApplication::processEvents();
  TCustomInspector* inspector = m.reg->DsnInspector();
  int i = 0;
  for (auto _ : state) {
    inspector->ApplyValue("Caption", ++i % 2 ? "PO/NO" : "C/NO.");
    DispatchPostedMessages();
    QApplication::processEvents();
  }
  m.reg->SetDesigning(false);
  m.form->Free();
}

// Clicking one label after another: the handles move to it and the receivers are told.
void BM_SelectNext(benchmark::State& state) {
  MarkStage m = BuildMarkStage();
  int i = 0;
  for (auto _ : state) {
    TControl* label = m.stage->Controls(i % 1000);
    const TPoint at{label->Left() + 2, label->Top() + 2};
    m.reg->MouseDown(m.stage, label, TShiftState{ssLeft}, at);
    m.reg->MouseUp(m.stage, at, TShiftState{});
    i += 7;
  }
  m.reg->SetDesigning(false);
  m.form->Free();
}

// The resident memory of the process, in bytes.
double ResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) * 1024.0;
  return 0;
}

// A move of all 1,000 selected labels by one grid step, as a drop makes it.
void MoveAll(MarkStage& m, int dx) {
  TControl* first = m.stage->Controls(0);
  m.reg->MoveBegin(m.stage, first, {}, {first->Left() + 2, first->Top() + 2});
  m.reg->MoveDrag({first->Left() + 2 + dx, first->Top() + 2}, TShiftState{ssLeft});
  m.reg->MoveEnd({first->Left() + 2 + dx, first->Top() + 2}, TShiftState{});
}

// Recording the step of a move of 1,000 selected labels: the design written, compared and the
// one before kept, compressed.
void BM_HistoryRecordMove(benchmark::State& state) {
  MarkStage m = BuildMarkStage();
  SelectAll(m);
  auto* history = New<TDsnHistory>(m.stage, m.reg);
  int dx = 8;
  for (auto _ : state) {
    state.PauseTiming();
    MoveAll(m, dx);
    dx = -dx;
    state.ResumeTiming();
    history->Commit();
  }
  history->Free();
  m.reg->SetDesigning(false);
  m.form->Free();
}

// Undoing that move: the design before it read back onto the stage and its 1,000 labels selected
// again. The repaint that follows is BM_Drop's.
void BM_HistoryUndoMove(benchmark::State& state) {
  MarkStage m = BuildMarkStage();
  SelectAll(m);
  auto* history = New<TDsnHistory>(m.stage, m.reg);
  for (auto _ : state) {
    state.PauseTiming();
    MoveAll(m, 8);
    history->Commit();
    state.ResumeTiming();
    history->Undo();
  }
  state.counters["selected"] = m.reg->SelectedCount();
  history->Free();
  m.reg->SetDesigning(false);
  m.form->Free();
}

// 100 steps, each a move of all 1,000 labels: the bytes the history holds and what the process
// grew by.
void BM_HistoryHundredSteps(benchmark::State& state) {
  MarkStage m = BuildMarkStage();
  SelectAll(m);
  for (auto _ : state) {
    auto* history = New<TDsnHistory>(m.stage, m.reg);
    const double before = ResidentBytes();
    for (int step = 0; step < 100; ++step) {
      MoveAll(m, step % 2 == 0 ? 8 : -8);
      history->Commit();
    }
    state.counters["history_MiB"] = static_cast<double>(history->Bytes()) / (1 << 20);
    state.counters["growth_MiB"] = (ResidentBytes() - before) / (1 << 20);
    state.counters["steps"] = history->UndoCount();
    history->Free();
  }
  m.reg->SetDesigning(false);
  m.form->Free();
}

BENCHMARK(BM_HistoryRecordMove)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryUndoMove)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryHundredSteps)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Drop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Band)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BandRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InspectorGather)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CaptionToAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectNext)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DesignOn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignOff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
