// Feeds arbitrary text to TextToStream. Whatever it accepts is a stream of our own writer, so it must
// convert to text and back to exactly the same bytes. Any exception other than EReadError escapes
// and counts as a crash.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/rtl/Exception.h"
#include "platform/stream/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string binary;
  try {
    binary = TextToStream(text);
  } catch (const EReadError&) {
    return 0;
  }
  std::string written;
  try {
    written = StreamToText(binary);
    if (TextToStream(written) == binary) return 0;
    std::fprintf(stderr, "text form does not convert back to the same bytes:\n%s\n", written.c_str());
  } catch (const EReadError& e) {
    std::fprintf(stderr, "our own output was refused: %s\n%s\n", e.what(), written.c_str());
  }
  std::abort();
}
