#include "design/palette/PaletteBitmaps.h"

#include <map>
#include <string>

#include "platform/rtl/Texts.h"

namespace {

std::map<std::string, QImage>& Bitmaps() {
  static std::map<std::string, QImage> bitmaps;  // by upper-case name
  return bitmaps;
}

}  // namespace

void RegisterPaletteBitmap(std::string_view name, const QImage& image) { Bitmaps()[UpperCase(name)] = image; }

void UnRegisterPaletteBitmap(std::string_view name) { Bitmaps().erase(UpperCase(name)); }

QImage PaletteBitmap(std::string_view name) {
  auto it = Bitmaps().find(UpperCase(name));
  return it == Bitmaps().end() ? QImage() : it->second;
}
