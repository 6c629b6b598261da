// Feeds arbitrary bytes to the component stream reader, three ways:
//   1. as a design stream (component blocks, then the end marker) read into a fresh form, with an
//      error hook that marks every property error handled, so reading goes on past them;
//   2. the same without the hook, so the first error ends the read and unwinds;
//   3. as a whole root stream read into a fresh form, and once more with no form given, so the
//      reader creates the root of the stream's class itself.
// The reader may refuse any input with an Exception; any other exception, a crash, a leak, a hang
// or a sanitizer report is a finding. Freeing the form frees everything the reader created.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Exception.h"
#include "platform/stream/Reader.h"
#include "tests/support/SampleComponents.h"

namespace {

void FreeForm(TComponent* form) {
  if (form) form->Free();
}

void ReadDesign(std::string_view bytes, bool handleErrors) {
  TSampleForm* form = New<TSampleForm>(nullptr);
  try {
    TMemoryStream stream(bytes);
    TReader reader(stream, 4096);
    if (handleErrors)
      reader.OnError = [](TReader&, const std::string&, bool& handled) { handled = true; };
    reader.ReadComponents(form, form, nullptr);
  } catch (const Exception&) {
  }
  FreeForm(form);
}

void ReadRoot(std::string_view bytes) {
  TSampleForm* form = New<TSampleForm>(nullptr);
  try {
    TMemoryStream stream(bytes);
    TReader reader(stream, 4096);
    reader.OnError = [](TReader&, const std::string&, bool& handled) { handled = true; };
    reader.ReadRootComponent(form);
  } catch (const Exception&) {
  }
  FreeForm(form);
}

void ReadCreatedRoot(std::string_view bytes) {
  TComponent* root = nullptr;
  try {
    TMemoryStream stream(bytes);
    TReader reader(stream, 4096);
    root = reader.ReadRootComponent(nullptr);
  } catch (const Exception&) {
  }
  FreeForm(root);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The classes a root stream may name for its root; components inside a form are also found
  // through the form's published fields.
  RegisterClass(TSampleForm::StaticClass());
  RegisterClass(TSampleLabel::StaticClass());
  RegisterClass(TSamplePanel::StaticClass());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ReadDesign(bytes, true);
  ReadDesign(bytes, false);
  ReadRoot(bytes);
  ReadCreatedRoot(bytes);
  return 0;
}
