// A mark of 1,000 elements saved to the mark table md and loaded back from it, through the mark
// editor's own commands: the design stream, the transaction that replaces the row, the read, the
// load onto the stage and the snapshot that later tells unsaved changes apart.
//
// Run: build-rel/bin/bench_marks [--benchmark_repetitions=5]
// On a database server: MARKEDIT_BENCH_ALIAS=DIR/dbalias.ini (scripts/pg-scratch.sh start DIR) runs
// them on the alias that file names instead of a fresh SQLite file; its table md is emptied first.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QSqlError>
#include <QTimer>
#include <QPixmap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QWidget>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/DefaultData.h"
#include "app/MarkStore.h"
#include "app/ufmmain.h"
#include "app/ufmmd.h"
#include "app/MarkOutput.h"
#include "app/ufmkey.h"
#include "mark/Barcode.h"
#include "app/ufmopen.h"
#include "platform/controls/ComboBox.h"
#include "platform/rtl/StringList.h"
#include "platform/controls/Edit.h"
#include "design/select/DsnRegister.h"
#include "design/palette/DsnPanel.h"
#include "mark/shape2.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Application.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"
#include "platform/controls/StdControls.h"
#include "platform/db/DataControls.h"
#include "platform/db/DatabaseAliases.h"
#include "platform/stream/TextForm.h"
#include "platform/win/Clipboard.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Windows.h"

namespace {

namespace fs = std::filesystem;

const char* const kCaptions[] = {"C/NO.", "PO/NO", "MADE IN TAIWAN", "正嘜", "N.W.", "G.W."};

// The program's windows on a fresh mark database in a temporary folder.
struct Session {
  fs::path folder;
  Tfmmain* main = nullptr;

  Session() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "bench_marks";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    RegisterStandardControls();
    RegisterDataControls();
    RegisterPaletteClasses();
    folder = fs::temp_directory_path() / ("bench-marks-" + std::to_string(getpid()));
    fs::create_directories(folder / "data");
    setenv("WINDIR", folder.c_str(), 1);
    std::ofstream(folder / "win.ini") << "[tavrix]\ndatapath=" << (folder / "data").string() << "\n";
    const char* alias = std::getenv("MARKEDIT_BENCH_ALIAS");
    if (alias && *alias) fs::copy_file(alias, folder / "dbalias.ini");
    std::string error;
    if (!PrepareDefaultData(&error)) std::fprintf(stderr, "bench_marks: %s\n", error.c_str());
    if (alias && *alias) ClearServer();
    // A failure would otherwise wait for a person.
    SetMessageBoxHook([](const std::string& text, const std::string&, UINT) {
      std::fprintf(stderr, "bench_marks: %s\n", text.c_str());
      return IDOK;
    });
    SetCommandLineArguments({"C001", "M01"});
    main = New<Tfmmain>(ApplicationInstance());
    main->Show();
    QApplication::processEvents();
  }
  ~Session() {
    for (int i = main->MDIChildCount() - 1; i >= 0; --i) main->MDIChildren(i)->Free();
    main->Free();
    QApplication::processEvents();
    CloseAliasDatabases();
    SetMessageBoxHook({});
    fs::remove_all(folder);
  }

  // What an earlier run left on the server: the marks and the benchmark's shipments.
  static void ClearServer() {
    QSqlDatabase db = OpenAliasDatabase(kMarkAlias);
    QSqlQuery query(db);
    for (const char* sql : {"delete from md", "delete from \"TRAPACKINGSUB\" where \"SHIPPINGBILLNO\" like 'BN%'",
                            "delete from \"INVENTORYMAIN\" where \"INVENTORYNO\" like 'BI%'",
                            "delete from \"TRABILLMAIN\" where \"SBILL1NO\" like 'BX%'"})
      if (!query.exec(QString::fromUtf8(sql)))
        std::fprintf(stderr, "bench_marks: %s\n", query.lastError().text().toUtf8().constData());
  }

  Tfmmd* MainMark() const {
    for (int i = 0; i < main->MDIChildCount(); ++i)
      if (auto* editor = dynamic_cast<Tfmmd*>(main->MDIChildren(i)); editor && editor->MarkSide() == "0")
        return editor;
    return nullptr;
  }
};

// Labels, shape labels and data texts in the proportions of a busy mark.
void Fill(Tfmmd* editor, int count) {
  for (int i = 0; i < count; ++i) {
    TLabel* element = nullptr;
    if (i % 5 == 3) {
      auto* shape = New<tshape2>(editor);
      shape->Setkind(static_cast<tkind>(i % 5));
      element = shape;
    } else if (i % 5 == 4) {
      auto* text = New<TDBText>(editor);
      text->SetDataField("產品編號");
      element = text;
    } else {
      element = New<TLabel>(editor);
    }
    element->SetName("Element" + std::to_string(i + 1));
    element->SetParent(editor->DsnStage1);
    element->SetBounds(8 + (i % 40) * 16, 8 + (i / 40) % 60 * 8, 64, 16);
    element->SetCaption(kCaptions[i % 6]);
  }
}

// The design stream of `count` labels, all named pop or pop0, pop1, …
std::string LabelsStream(int count, bool sameName) {
  std::string design;
  for (int i = 0; i < count; ++i)
    design += TextToStream("object " + (sameName ? std::string("pop") : "pop" + std::to_string(i)) +
                           ": TLabel\n  Left = " + std::to_string(i % 300) + "\n  Top = " + std::to_string(i % 200) +
                           "\n  Caption = 'N.W.'\nend\n");
  return design + std::string(1, '\0');
}

void BM_MarkSave(benchmark::State& state) {
  Session session;
  Tfmmd* editor = session.MainMark();
  Fill(editor, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!editor->SaveMark()) state.SkipWithError("save failed");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_MarkLoad(benchmark::State& state) {
  Session session;
  Tfmmd* editor = session.MainMark();
  Fill(editor, static_cast<int>(state.range(0)));
  if (!editor->SaveMark()) state.SkipWithError("save failed");
  for (auto _ : state) {
    editor->acloadmd->Execute();
    state.PauseTiming();
    if (editor->DsnStage1->ControlCount() != state.range(0)) state.SkipWithError("load lost elements");
    DispatchPostedMessages();  // the loaded notices, not part of the read
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A stored mark of `count` ellipse shape labels filling the design area, opened and painted: a
// wide pen (200) against a thin one (3). The wide one must cost about what the thin one does.
void BM_OpenEllipses(benchmark::State& state) {
  Session session;
  Tfmmd* editor = session.MainMark();
  const int count = static_cast<int>(state.range(0));
  for (int i = 0; i < count; ++i) {
    auto* shape = New<tshape2>(editor);
    shape->Setkind(eclipse);
    shape->Setpenwidth(static_cast<int>(state.range(1)));
    shape->SetName("Ellipse" + std::to_string(i + 1));
    shape->SetParent(editor->DsnStage1);
    shape->SetBounds(0, 0, 400, 249);
  }
  if (!editor->SaveMark()) state.SkipWithError("save failed");
  QWidget* stage = WindowWidget(editor->DsnStage1->Handle());
  for (auto _ : state) {
    editor->acloadmd->Execute();
    DispatchPostedMessages();
    benchmark::DoNotOptimize(stage->grab());
  }
  state.SetItemsProcessed(state.iterations() * count);
}

// A stored mark of `count` labels, all named alike (`range(1)` = 1) or each its own name: a clash
// gives the next free LabelN, which must not cost a search from Label1 each time.
void BM_OpenSameNames(benchmark::State& state) {
  Session session;
  Tfmmd* editor = session.MainMark();
  const int count = static_cast<int>(state.range(0));
  // Written straight into the mark table: the editor itself never lets two elements share a name.
  WriteMark({editor->CustomerId(), editor->MarkId(), editor->MarkSide()}, LabelsStream(count, state.range(1) == 1));
  for (auto _ : state) {
    editor->acloadmd->Execute();
    DispatchPostedMessages();
  }
  state.SetItemsProcessed(state.iterations() * count);
}

// A clipboard block of `count` labels pasted onto the stage in design mode, all named alike
// (`range(1)` = 1) or each its own name.
void BM_PasteSameNames(benchmark::State& state) {
  Session session;
  Tfmmd* editor = session.MainMark();
  const int count = static_cast<int>(state.range(0));
  const std::string design = LabelsStream(count, state.range(1) == 1);
  const uint32_t size = static_cast<uint32_t>(design.size());
  TDsnDpRegister* reg = editor->DsnDpRegister1;
  reg->SetDesigning(true);
  for (auto _ : state) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size + 4u);
    auto* bytes = static_cast<char*>(GlobalLock(block));
    std::memcpy(bytes, &size, 4);
    std::memcpy(bytes + 4, design.data(), size);
    GlobalUnlock(block);
    OpenClipboard(0);
    EmptyClipboard();
    SetClipboardData(TDsnRegister::ClipboardFormat(), block);
    CloseClipboard();
    reg->SelectComponent(nullptr);
    reg->PasteSelection();
    state.PauseTiming();
    if (editor->DsnStage1->ControlCount() != count) state.SkipWithError("paste lost elements");
    DispatchPostedMessages();
    reg->DeleteSelection();
    DispatchPostedMessages();
    state.ResumeTiming();
  }
  reg->SetDesigning(false);
  state.SetItemsProcessed(state.iterations() * count);
}

// `count` stored marks of 1,000 customers (two sides each), as the open dialog lists them.
void StoreManyMarks(int count) {
  QSqlDatabase db = OpenAliasDatabase(kMarkAlias);
  db.transaction();
  QSqlQuery insert(db);
  insert.prepare(QStringLiteral("insert into md (customerid, mdid, flag, data) values (?, ?, ?, ?)"));
  for (int i = 0; i < count; ++i)
    for (const char* side : {"0", "1"}) {
      insert.addBindValue(QStringLiteral("C%1").arg(i % 1000, 4, 10, QLatin1Char('0')));
      insert.addBindValue(QStringLiteral("M%1").arg(i / 1000, 2, 10, QLatin1Char('0')));
      insert.addBindValue(QString::fromLatin1(side));
      insert.addBindValue(QByteArray(2000, 'x'));  // the designs are never read for the list
      insert.exec();
    }
  db.commit();
}

// `rows` packing rows in the shipment view: 10,000 shipments of 1,000 customers, none of whom has a
// mark yet, written by the database itself.
void StoreShipments(int rows) {
  QSqlDatabase db = OpenAliasDatabase(kMarkAlias);
  QSqlQuery query(db);
  const bool server = db.driverName() != QLatin1String("QSQLITE");
  const char* const sql[] = {
      server ? "insert into \"TRABILLMAIN\" (\"SBILL1NO\", \"SYSTEMNO\", \"FLAG\") select 'BX' || lpad(g::text, 5, '0'), 6, 5"
               " from generate_series(0, 9999) g"
             : "with recursive g(n) as (select 0 union all select n + 1 from g where n < 9999)"
               " insert into TRABILLMAIN (SBILL1NO, SYSTEMNO, FLAG) select printf('BX%05d', n), 6, 5 from g",
      server ? "insert into \"INVENTORYMAIN\" (\"INVENTORYNO\", \"SBILL1NO\", \"FACTID\") select 'BI' || lpad(g::text, 5, '0'),"
               " 'BX' || lpad(g::text, 5, '0'), 'V' || lpad((g % 1000)::text, 4, '0') from generate_series(0, 9999) g"
             : "with recursive g(n) as (select 0 union all select n + 1 from g where n < 9999)"
               " insert into INVENTORYMAIN (INVENTORYNO, SBILL1NO, FACTID)"
               " select printf('BI%05d', n), printf('BX%05d', n), printf('V%04d', n % 1000) from g",
  };
  for (const char* statement : sql)
    if (!query.exec(QString::fromUtf8(statement)))
      std::fprintf(stderr, "bench_marks: %s\n", query.lastError().text().toUtf8().constData());
  const QString rowsText = QString::number(rows - 1);
  const QString packing =
      server ? "insert into \"TRAPACKINGSUB\" (\"SHIPPINGBILLNO\", \"ITEMNO\", \"INVENTORYBILL1NO\", \"PRODUCTID\")"
               " select 'BN' || lpad((g / 10)::text, 7, '0'), g % 10, 'BX' || lpad((g % 10000)::text, 5, '0'), 'P'"
               " from generate_series(0, " + rowsText + ") g"
             : "with recursive g(n) as (select 0 union all select n + 1 from g where n < " + rowsText + ")"
               " insert into TRAPACKINGSUB (SHIPPINGBILLNO, ITEMNO, INVENTORYBILL1NO, PRODUCTID)"
               " select printf('BN%07d', n / 10), n % 10, printf('BX%05d', n % 10000), 'P' from g";
  if (!query.exec(packing)) std::fprintf(stderr, "bench_marks: %s\n", query.lastError().text().toUtf8().constData());
  if (server) query.exec(QStringLiteral("analyze"));
}

// The new-mark dialog over a shipment view of `rows` packing rows, from the command until the
// view's 1,000 customers are in its list. Counter longest_stall_ms: the longest the windows went
// unanswered meanwhile (a timer due every 5 ms measures it), the dialog's own making included.
void BM_NewDialogCustomers(benchmark::State& state) {
  Session session;
  StoreShipments(static_cast<int>(state.range(0)));
  qint64 longest = 0;
  for (auto _ : state) {
    QElapsedTimer since;
    since.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
      longest = std::max(longest, since.restart());
    });
    tick.start(5);
    auto* dialog = New<Tfmkey>(session.main);
    dialog->Show();
    while (dialog->ReadingCustomers()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    longest = std::max(longest, since.elapsed());
    if (dialog->ComboBox1->Items()->Count() < 1000) state.SkipWithError("customers missing");
    dialog->Free();
  }
  state.counters["longest_stall_ms"] = static_cast<double>(longest);
}

// The open dialog shown with its list of `count` marks filled in, from the command.
void BM_OpenDialogShown(benchmark::State& state) {
  Session session;
  StoreManyMarks(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto* dialog = New<Tfmopen>(session.main);
    dialog->Show();
    QApplication::processEvents();
    if (dialog->Shown().size() != static_cast<size_t>(state.range(0))) state.SkipWithError("marks missing");
    dialog->Free();
  }
}

// One more character typed into the open dialog's filter over `count` marks.
void BM_OpenDialogFilterKey(benchmark::State& state) {
  Session session;
  StoreManyMarks(static_cast<int>(state.range(0)));
  auto* dialog = New<Tfmopen>(session.main);
  dialog->Show();
  QApplication::processEvents();
  const char* typed[] = {"C", "C0", "C00", "C001"};
  size_t i = 0;
  for (auto _ : state) {
    dialog->Edit1->SetText(typed[i++ % 4]);
    QApplication::processEvents();
  }
  dialog->Free();
}

// Another mark of 1,000 elements per side opened (both editors made anew) until both have painted.
void BM_OpenMarkFromInside(benchmark::State& state) {
  Session session;
  const int count = static_cast<int>(state.range(0));
  for (const char* mark : {"M01", "M02"}) {
    session.main->OpenMark("C001", mark, false);
    for (Tfmmd* editor : session.main->Editors()) {
      Fill(editor, count);
      if (!editor->SaveMark()) state.SkipWithError("save failed");
    }
  }
  int i = 0;
  for (auto _ : state) {
    session.main->OpenMark("C001", i++ % 2 ? "M01" : "M02", false);
    DispatchPostedMessages();
    for (Tfmmd* editor : session.main->Editors()) benchmark::DoNotOptimize(WindowWidget(editor->DsnStage1->Handle())->grab());
  }
}

// Save As of a mark of 1,000 elements per side: both designs written, the target read as the clerk
// is asked about it, both rows stored in one transaction.
void BM_SaveAs(benchmark::State& state) {
  Session session;
  for (Tfmmd* editor : session.main->Editors()) Fill(editor, static_cast<int>(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    const std::string mark = "S" + std::to_string(i++);
    TMarkPair designs;
    for (Tfmmd* editor : session.main->Editors())
      (editor->MarkSide() == "0" ? designs.Main : designs.Side) = editor->CurrentDesign();
    const TMarkPair there = ReadMarkPair("C001", mark);
    if (!StoreMarkPair("C001", mark, designs, there).Done) state.SkipWithError("not stored");
  }
}

// A QR code element of a shipment's row painted, as a stage paints it, onto a picture of the mark
// (its symbol is encoded once and kept), against the same box holding a label of that text.
void BM_PaintQrCode(benchmark::State& state) {
  Session session;
  Tfmmd* editor = session.MainMark();
  TControl* element = nullptr;
  if (state.range(0) == 1) {
    auto* code = New<TBarcode>(editor);
    code->Setsymbology(bcQRCode);
    code->Setdata("{出口文件單號} {產品編號} {n}/{N}");
    element = code;
  } else {
    auto* label = New<TLabel>(editor);
    label->SetCaption("EX2401001 LP-200 1/3");
    element = label;
  }
  element->SetName("Element1");
  element->SetParent(editor->DsnStage1);
  element->SetBounds(20, 20, 120, 120);
  element->SetPopupMenu(editor->pop);
  const TMarkOutput output({{"0", editor->CurrentDesign()}}, "C001", "EX2401001");
  QImage picture(kMarkWidth, kMarkHeight, QImage::Format_RGB32);
  QPainter painter(&picture);
  output.PaintPage(0, painter, true);
  for (auto _ : state) output.PaintPage(0, painter, true);
  state.SetLabel(state.range(0) == 1 ? "QR code" : "label");
}

BENCHMARK(BM_PaintQrCode)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NewDialogCustomers)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDialogShown)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDialogFilterKey)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenMarkFromInside)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAs)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenEllipses)->Args({200, 3})->Args({200, 200})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSameNames)->Args({5000, 0})->Args({5000, 1})->Args({20000, 0})->Args({20000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteSameNames)->Args({5000, 0})->Args({5000, 1})->Args({20000, 0})->Args({20000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkSave)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkLoad)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
