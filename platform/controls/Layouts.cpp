#include "platform/controls/Layouts.h"

#include <map>

#include "platform/rtl/Stream.h"
#include "platform/rtl/Texts.h"
#include "platform/stream/Reader.h"

namespace {
std::map<std::string, std::string_view>& Registry() {
  static std::map<std::string, std::string_view> layouts;  // upper-case class names
  return layouts;
}
}  // namespace

bool RegisterLayout(const char* className, const unsigned char* data, size_t size) {
  Registry()[UpperCase(className)] = std::string_view(reinterpret_cast<const char*>(data), size);
  return true;
}

std::string_view FindLayout(const std::string& className) {
  auto it = Registry().find(UpperCase(className));
  return it == Registry().end() ? std::string_view() : it->second;
}

void ReadLayout(TComponent* root, std::string_view layout) {
  TMemoryStream stream(layout);
  TReader reader(stream);
  reader.ReadRootComponent(root);
}
