// Feeds arbitrary bytes to StreamToText. A stream from another writer may be normalised on its way
// to text (shortest integers, UTF-8 strings), so the bytes themselves need not come back; but the
// text must read back, and converting that again must give the same text: after one conversion the
// form is canonical. Any exception other than EReadError escapes and counts as a crash.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/rtl/Exception.h"
#include "platform/stream/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view binary(reinterpret_cast<const char*>(data), size);
  std::string text;
  try {
    text = StreamToText(binary);
  } catch (const EReadError&) {
    return 0;
  }
  try {
    const std::string canonical = TextToStream(text);
    if (StreamToText(canonical) == text) return 0;
    std::fprintf(stderr, "text changed on a second conversion:\n%s\n", text.c_str());
  } catch (const EReadError& e) {
    std::fprintf(stderr, "our own text was refused: %s\n%s\n", e.what(), text.c_str());
  }
  std::abort();
}
