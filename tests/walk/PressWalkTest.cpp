// The first thing a newcomer follows through the design framework: a press on an unselected label,
// from the design agent that takes the mouse to the property window showing the label.
//
// This program links a copy of design/ built unoptimised and uninlined, in which every function
// reports its entry (-finstrument-functions). The test records the functions a press enters,
// resolves each to its source file through the debug information, and holds the order of files
// and the number of entries: docs/architecture.md walks the same way ("A press, file by file"), so
// a change to the way shows here first.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <QTest>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "design/inspector/DsnSpctr.h"
#include "design/select/DsnRegister.h"
#include "platform/controls/Grids.h"
#include "tests/design/stage/StageTestSupport.h"

namespace {

// A function entered, and how many recorded functions were running when it was.
struct Entry {
  void* function;
  int depth;
};
std::vector<Entry>* entered = nullptr;  // while recording
int depth = 0;

}  // namespace

extern "C" {
__attribute__((no_instrument_function)) void __cyg_profile_func_enter(void* function, void*) {
  if (entered) entered->push_back({function, depth++});
}
__attribute__((no_instrument_function)) void __cyg_profile_func_exit(void*, void*) {
  if (entered) --depth;
}
}

namespace {

struct Entered {
  std::string function;
  std::string file;  // the source file's name without its extension: a .h/.cpp pair is one file
};

// The function and source file of each address, as the debug information names them.
std::map<void*, Entered> Resolve(const std::vector<Entry>& entries) {
  std::map<void*, Entered> found;
  std::set<void*> distinct;
  for (const Entry& entry : entries) distinct.insert(entry.function);
  if (distinct.empty()) return found;
  Dl_info info{};
  if (!dladdr(*distinct.begin(), &info) || !info.dli_fname) return found;
  std::string command = std::string("addr2line -f -C -e '") + info.dli_fname + "'";
  std::vector<void*> order(distinct.begin(), distinct.end());
  char offset[32];
  for (void* address : order) {
    std::snprintf(offset, sizeof offset, " %#lx",
                  static_cast<unsigned long>(static_cast<char*>(address) - static_cast<char*>(info.dli_fbase)));
    command += offset;
  }
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return found;
  char line[4096];
  for (void* address : order) {
    Entered& e = found[address];
    if (std::fgets(line, sizeof line, pipe)) e.function = std::string(line, std::strcspn(line, "\n"));
    if (std::fgets(line, sizeof line, pipe)) {
      std::string path(line, std::strcspn(line, ":\n"));
      if (path.find("/design/") == std::string::npos) continue;
      const std::string name = path.substr(path.find_last_of('/') + 1);
      e.file = name.substr(0, name.find('.'));
    }
  }
  pclose(pipe);
  return found;
}

class PressWalkTest : public stage_test::StageFormTest {};

TEST_F(PressWalkTest, APressOnALabelTakesTheRecordedWayToThePropertyWindow) {
  auto* reg = New<TDsnRegister>(form);
  reg->SetDsnStage(stage);
  auto* inspector = New<TDsnInspector>(form);
  inspector->ShowProps()->aCaption = true;
  reg->SetDsnInspector(inspector);
  TLabel* label = AddLabel("Label1", 20, 20, "PO/NO");
  ShowForm();
  reg->SetDesigning(true);
  DispatchPostedMessages();

  // The pointer comes to the label first, as a hand brings it there; then only the press is heard.
  Move({stage->Left() + 30, stage->Top() + 25});
  DispatchPostedMessages();
  std::vector<Entry> record;
  depth = 0;
  entered = &record;
  Press({stage->Left() + 30, stage->Top() + 25});
  entered = nullptr;
  Release({stage->Left() + 30, stage->Top() + 25});
  DispatchPostedMessages();

  // What the user sees: the label selected, and the property window showing its caption.
  ASSERT_EQ(reg->SelectedCount(), 1);
  EXPECT_EQ(reg->SelectedItem(0), label);
  ASSERT_NE(inspector->Window(), nullptr);
  EXPECT_EQ(inspector->Window()->StringGrid1->Cells(TInspectorFm::kValueColumn, 1), "PO/NO");

  // Per delivery of a message (a function entered with nothing recorded running), the files in
  // the order they were entered, a file entered again straight away written once; the trail
  // shows each function, indented by depth.
  const std::map<void*, Entered> names = Resolve(record);
  std::vector<std::string> deliveries;
  std::string trail;
  std::string last;
  int entries = 0;
  for (const Entry& entry : record) {
    const Entered& e = names.at(entry.function);
    if (e.file.empty()) continue;
    ++entries;
    trail += std::string(2 * entry.depth, ' ') + e.file + "  " + e.function + "\n";
    if (entry.depth == 0) {
      deliveries.emplace_back();
      last.clear();
    }
    if (e.file == last) continue;
    deliveries.back() += (last.empty() ? "" : " ") + e.file;
    last = e.file;
  }
  // The press itself; the paint it asked for, then each grab handle's; the property window's
  // message; the move the window system sends after a press; the property window's timer; the
  // focus the press gave the stage. docs/architecture.md reads the second line step by step.
  const std::vector<std::string> expected{
      "DsnAgent DsnCtrl",
      "DsnAgent DsnCtrl DsnAgent DsnUnit DsnCtrl DsnAgent DsnCtrl DsnAgent DsnCtrl DsnAgent "
      "DsnRegister DsnList DsnRegister DsnHandle DsnList DsnHandle DsnList DsnSpctr DsnProp "
      "DsnList DsnCommonProps DsnProp DsnSpctr DsnProp DsnList DsnProp DsnSpctr "
      "DsnCustomInspector DsnPropText DsnProp DsnCustomInspector DsnPropText DsnProp DsnList "
      "DsnHandle DsnList DsnProp DsnCommonProps DsnList DsnHandle DsnUnit DsnHandle DsnUnit "
      "DsnHandle DsnUnit DsnHandle DsnUnit DsnHandle DsnAgent DsnCtrl DsnRegister DsnList "
      "DsnProp DsnSpctr DsnSpctrFm DsnProp DsnCommonProps DsnPropText DsnList DsnHandle "
      "DsnList DsnProp DsnCommonProps DsnPropText DsnSpctr DsnProp DsnSpctr DsnProp "
      "DsnPropText DsnSpctrFm DsnRegister DsnList DsnRegister DsnShape DsnRegister DsnShape "
      "DsnList DsnShape DsnList DsnShape DsnCtrl DsnRegister",
      "DsnAgent DsnCtrl DsnAgent DsnUnit",
      "DsnHandle",
      "DsnHandle",
      "DsnHandle",
      "DsnHandle",
      "DsnSpctrFm",
      "DsnAgent DsnCtrl DsnAgent DsnCtrl DsnAgent DsnRegister DsnList DsnRegister DsnShape",
      "DsnSpctrFm",
      "DsnAgent DsnCtrl DsnRegister DsnAgent DsnUnit",
  };
  EXPECT_EQ(deliveries, expected) << trail;
  EXPECT_EQ(entries, 321) << "functions of design/ entered";
}

}  // namespace
