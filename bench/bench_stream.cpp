// Throughput of the binary component stream: designs of 1,000 to 10,000 labels written to bytes,
// the bytes read back into a fresh form, and a plain memcpy of the same size for scale. The several
// sizes show whether the cost per label stays the same as the design grows.
//
// Every label differs from its defaults in position, size, caption, font (name, height, colour,
// character set, style set) and alignment; one caption in eight is Chinese, so the strings go
// through both vaString and vaUTF8String. In the linked design one label in eight also refers to
// the label before it, so the reader resolves references after the read.
//
// Run: build-rel/bin/bench_stream [--benchmark_filter=Read] [--benchmark_repetitions=5]

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/rtl/IntegerConsts.h"
#include "platform/rtl/Prefetch.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"
#include "tests/support/SampleComponents.h"

namespace {

// The design sizes of a benchmark; BENCH_STREAM_COUNT replaces them by one size, so that a
// profiler runs the same code on the design it wants.
void Counts(benchmark::internal::Benchmark* b, std::initializer_list<int> counts) {
  if (const char* env = std::getenv("BENCH_STREAM_COUNT")) {
    if (int n = std::atoi(env); n > 0) {
      b->Arg(n);
      return;
    }
  }
  for (int n : counts) b->Arg(n);
}

struct FormDeleter {
  void operator()(TSampleForm* form) const { form->Free(); }
};
using FormPtr = std::unique_ptr<TSampleForm, FormDeleter>;

FormPtr NewForm() {
  FormPtr form(New<TSampleForm>(nullptr));
  form->SetName("Design");
  return form;
}

const char* const kChineseCaptions[] = {"嘜頭", "出貨嘜頭", "箱號", "淨重／毛重", "產地：臺灣"};
const char* const kFontNames[] = {"MS Sans Serif", "Arial", "細明體", "Courier New"};
const TColor kColors[] = {clRed, clBlack, clNavy, clWindowText};

// The design: `count` labels owned by the form, each with its own values.
FormPtr BuildDesign(int count, bool linked) {
  FormPtr form = NewForm();
  TSampleLabel* previous = nullptr;
  for (int i = 0; i < count; ++i) {
    auto* label = New<TSampleLabel>(form.get());
    if (linked && i % 8 == 5) label->SetBuddy(previous);
    previous = label;
    label->SetName("Mark" + std::to_string(i + 1));
    label->SetLeft(8 + (i % 40) * 24);
    label->SetTop(8 + (i / 40) * 20);
    label->SetWidth(60 + i % 300);
    label->SetHeight(13 + i % 7);
    if (i % 8 == 3)
      label->SetCaption(kChineseCaptions[(i / 8) % 5]);
    else
      label->SetCaption("SHIPPING MARK No. " + std::to_string(i + 1) + (i % 3 ? " / C/NO. 1-UP" : ""));
    label->SetAlignment(static_cast<TSampleAlign>(1 + i % 2));
    TSampleFont* font = label->Font();
    font->SetName(kFontNames[i % 4]);
    font->SetHeight(-11 - i % 9);
    font->SetColor(kColors[i % 4]);
    font->SetCharset(i % 2 ? CHINESEBIG5_CHARSET : DEFAULT_CHARSET);
    font->SetStyle(i % 3 ? TSampleStyles{smpBold} : TSampleStyles{smpBold, smpUnderline});
  }
  return form;
}

// A design stream: one signed block per component, then the end marker.
void WriteDesign(TSampleForm* form, TMemoryStream& ms) {
  TWriter end(ms, 4096);
  const auto& components = form->ComponentList();
  for (size_t i = 0; i < components.size(); ++i) {
    if (i + 1 < components.size()) PrefetchObject(components[i + 1]);
    TWriter w(ms, 4096);
    w.SetRoot(form);
    w.WriteSignature();
    w.WriteComponent(components[i]);
  }
  end.WriteListEnd();
}

void ReadDesign(TMemoryStream& ms, TSampleForm* form) {
  ms.SetPosition(0);
  TReader r(ms, 4096);
  r.OnError = [](TReader&, const std::string& message, bool& handled) {
    std::cerr << "bench_stream: read error: " << message << '\n';
    handled = true;
  };
  r.ReadComponents(form, form, nullptr);
}

// A design and its stream, made once per size and shared by the benchmarks.
struct Fixture {
  Fixture(int n, bool linked) : count(n), design(BuildDesign(n, linked)) {
    WriteDesign(design.get(), stream);
  }
  int count;
  FormPtr design;
  TMemoryStream stream;
};

Fixture& Shared(const benchmark::State& state, bool linked = false) {
  static std::map<std::pair<int64_t, bool>, std::unique_ptr<Fixture>> fixtures;
  auto& fixture = fixtures[{state.range(0), linked}];
  if (!fixture) fixture = std::make_unique<Fixture>(static_cast<int>(state.range(0)), linked);
  return *fixture;
}

std::string BuddyName(const TSampleLabel* label) {
  return label->Buddy() ? label->Buddy()->Name() : std::string();
}

// Reads the shared stream once and compares the result with the design; a benchmark that
// measured a broken reader would be meaningless.
bool VerifyRoundTrip(Fixture& f, std::string& problem) {
  FormPtr form = NewForm();
  try {
    ReadDesign(f.stream, form.get());
  } catch (const Exception& e) {
    problem = std::string("read failed: ") + e.what();
    return false;
  }
  if (form->ComponentCount() != f.count) {
    problem = "read " + std::to_string(form->ComponentCount()) + " components, wrote " +
              std::to_string(f.count);
    return false;
  }
  for (int i = 0; i < f.count; ++i) {
    auto* a = static_cast<TSampleLabel*>(f.design->Components(i));
    auto* b = dynamic_cast<TSampleLabel*>(form->Components(i));
    if (!b || b->Name() != a->Name() || b->Caption() != a->Caption() || b->Left() != a->Left() ||
        b->Top() != a->Top() || b->Width() != a->Width() || b->Height() != a->Height() ||
        b->Alignment() != a->Alignment() || b->Font()->Name() != a->Font()->Name() ||
        b->Font()->Height() != a->Font()->Height() || b->Font()->Color() != a->Font()->Color() ||
        b->Font()->Charset() != a->Font()->Charset() || b->Font()->Style() != a->Font()->Style() ||
        BuddyName(b) != BuddyName(a)) {
      problem = "component " + std::to_string(i) + " differs after reading";
      return false;
    }
  }
  return true;
}

void ReportSize(benchmark::State& state, int64_t bytes, int components) {
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["stream_bytes"] = benchmark::Counter(static_cast<double>(bytes));
  if (components > 0)
    state.counters["components/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * components, benchmark::Counter::kIsRate);
}

void BM_WriteDesign(benchmark::State& state) {
  Fixture& f = Shared(state);
  for (auto _ : state) {
    TMemoryStream ms;
    WriteDesign(f.design.get(), ms);
    benchmark::DoNotOptimize(ms.Memory());
  }
  ReportSize(state, f.stream.Size(), f.count);
}

// Reading into a fresh form each time. Creating the empty form is timed (it is cheap); freeing it
// with its components is not: teardown has its own benchmark below.
void MeasureRead(benchmark::State& state, Fixture& f) {
  std::string problem;
  if (!VerifyRoundTrip(f, problem)) {
    state.SkipWithError(problem.c_str());
    return;
  }
  for (auto _ : state) {
    FormPtr form = NewForm();
    ReadDesign(f.stream, form.get());
    benchmark::DoNotOptimize(form.get());
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  ReportSize(state, f.stream.Size(), f.count);
}

void BM_ReadDesign(benchmark::State& state) { MeasureRead(state, Shared(state)); }
void BM_ReadLinkedDesign(benchmark::State& state) { MeasureRead(state, Shared(state, true)); }

// Freeing a form that holds the design just read: what BM_ReadDesign leaves out.
void BM_FreeDesign(benchmark::State& state) {
  Fixture& f = Shared(state);
  for (auto _ : state) {
    state.PauseTiming();
    FormPtr form = NewForm();
    ReadDesign(f.stream, form.get());
    state.ResumeTiming();
    form.reset();
  }
  state.counters["components/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * f.count, benchmark::Counter::kIsRate);
}

void BM_Memcpy(benchmark::State& state) {
  Fixture& f = Shared(state);
  const auto size = static_cast<size_t>(f.stream.Size());
  std::vector<uint8_t> target(size);
  for (auto _ : state) {
    std::memcpy(target.data(), f.stream.Memory(), size);
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  ReportSize(state, f.stream.Size(), 0);
}

BENCHMARK(BM_WriteDesign)->Apply([](auto* b) { Counts(b, {1000, 10000}); })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDesign)
    ->Apply([](auto* b) { Counts(b, {1000, 2000, 5000, 10000}); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLinkedDesign)->Apply([](auto* b) { Counts(b, {1000, 10000}); })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreeDesign)->Apply([](auto* b) { Counts(b, {1000, 10000}); })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy)->Apply([](auto* b) { Counts(b, {10000}); })->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
