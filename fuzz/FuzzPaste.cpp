// Feeds arbitrary bytes to the register as the clipboard block of copied controls: a 4-byte size
// followed by the stream of component blocks, both as the input gives them. The stage of a window
// in design mode pastes the block; the posted creation messages are delivered, design mode ends
// and the window is freed. A crash, a leak, a hang, an exception out of the paste or a sanitizer
// report is a finding; a block that is not a sound stream must create nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "design/select/DsnRegister.h"
#include "fuzz/FuzzMarkApp.h"
#include "platform/controls/Form.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Windows.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static char name[] = "fuzz_paste";
  StartMarkApp(name);
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

  TForm* form = New<TForm>(nullptr);
  auto* stage = New<TDsnStage>(form);
  stage->SetParent(form);
  stage->SetBounds(0, 0, 400, 300);
  auto* reg = New<TDsnRegister>(form);
  reg->SetDsnStage(stage);
  reg->SetDesigning(true);
  reg->SelectComponent(nullptr);  // a selection list, as after the first click
  reg->PasteSelection();
  DispatchPostedMessages();
  reg->SetDesigning(false);
  form->Free();
  DispatchPostedMessages();
  return 0;
}
