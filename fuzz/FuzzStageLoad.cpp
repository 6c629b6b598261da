// Feeds arbitrary bytes to a design stage as a saved mark: the stage on a window, with the mark
// elements' classes known, loads the bytes; then the posted loading messages are delivered and the
// window is freed. A load may end in EReadError (the controls read before the damage stay on the
// stage); any other exception, a crash, a leak, a hang or a sanitizer report is a finding.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "design/DsnUnit.h"
#include "fuzz/FuzzMarkApp.h"
#include "platform/controls/Form.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Stream.h"
#include "platform/win/Windows.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static char name[] = "fuzz_stage_load";
  StartMarkApp(name);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TForm* form = New<TForm>(nullptr);
  auto* stage = New<TDsnStage>(form);
  stage->SetParent(form);
  stage->SetBounds(0, 0, 400, 300);
  int loaded = 0;
  stage->OnControlLoaded.Bind([&loaded](TObject*, TComponent*) { ++loaded; });
  try {
    TMemoryStream stream(std::string_view(reinterpret_cast<const char*>(data), size));
    stage->LoadFromStream(stream);
  } catch (const Exception&) {
  }
  DispatchPostedMessages();
  // What was read can be written again.
  TMemoryStream out;
  stage->SaveToStream(out);
  form->Free();
  DispatchPostedMessages();
  return 0;
}
