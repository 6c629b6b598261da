// Feeds arbitrary bytes to a mark editor as a stored mark: the editor's stage, under the editor's
// rules for marks from elsewhere, loads the bytes; the posted loading messages are delivered, what
// was loaded is written again and the stage is emptied for the next input. A load may end in
// EReadError (a damaged mark, or one refused for holding what a mark may not); any other exception,
// a crash, a leak, a hang, a sanitizer report, a component of the editor changed or left behind,
// or an element of another class or bound to an event is a finding.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <QPixmap>
#include <QWidget>

#include "fuzz/FuzzMarkApp.h"
#include "platform/win/Windows.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Stream.h"

namespace {
Tfmmd* editor = nullptr;
std::vector<std::string> baseline;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static char name[] = "fuzz_stage_load";
  editor = StartMarkEditor(name);
  baseline = EditorState(editor);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TDsnStage* stage = editor->DsnStage1;
  try {
    TMemoryStream stream(std::string_view(reinterpret_cast<const char*>(data), size));
    stage->LoadFromStream(stream);
  } catch (const EReadError&) {
  }
  DispatchPostedMessages();
  // Painted once, as the clerk sees it: a mark slow to draw is found as a time-out.
  WindowWidget(stage->Handle())->grab();
  CheckStage(editor);
  CheckEditorUnchanged(editor, baseline);
  // What was read can be written again.
  TMemoryStream out;
  stage->SaveToStream(out);
  for (int i = stage->ControlCount() - 1; i >= 0; --i) stage->Controls(i)->Free();
  DispatchPostedMessages();
  return 0;
}
