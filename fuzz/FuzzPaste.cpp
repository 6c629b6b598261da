// Feeds arbitrary bytes to a mark editor in design mode as the clipboard block of copied elements:
// a 4-byte size followed by the stream of component blocks, both as the input gives them. The
// editor's register pastes the block onto the stage under the editor's rules for data from
// elsewhere; the posted creation messages are delivered, the pasted elements are deleted and the
// editor stays in design mode for the next input. A paste may be refused (EReadRefused, which the
// program shows the clerk); any other exception out of the paste, a crash, a leak, a hang, a
// sanitizer report, a component of the editor changed or left behind, or an element of another
// class or bound to an event is a finding. A block that is not a sound stream creates nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "design/select/DsnRegister.h"
#include "fuzz/FuzzMarkApp.h"
#include "platform/rtl/Exception.h"
#include "platform/win/Clipboard.h"

namespace {
Tfmmd* editor = nullptr;
std::vector<std::string> baseline;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static char name[] = "fuzz_paste";
  editor = StartMarkEditor(name);
  editor->DsnDpRegister1->SetDesigning(true);
  DispatchPostedMessages();
  baseline = EditorState(editor);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (size > 0) {
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
  }
  if (!OpenClipboard(0)) abort();
  EmptyClipboard();
  if (!SetClipboardData(TDsnRegister::ClipboardFormat(), block)) GlobalFree(block);
  CloseClipboard();

  TDsnDpRegister* reg = editor->DsnDpRegister1;
  TDsnStage* stage = editor->DsnStage1;
  reg->SelectComponent(nullptr);  // a selection list, as after the first click
  const int before = stage->ControlCount();
  try {
    reg->PasteSelection();
  } catch (const EReadRefused&) {
    if (stage->ControlCount() != before) {
      std::fprintf(stderr, "a refused paste left %d elements\n", stage->ControlCount() - before);
      abort();
    }
  } catch (const Exception&) {
    // Pasted, and the clerk is told what could not be read: what was pasted stays.
  }
  DispatchPostedMessages();
  CheckStage(editor);
  CheckEditorUnchanged(editor, baseline);
  reg->DeleteSelection();
  for (int i = stage->ControlCount() - 1; i >= 0; --i) stage->Controls(i)->Free();
  DispatchPostedMessages();
  return 0;
}
