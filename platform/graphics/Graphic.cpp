#include "platform/graphics/Graphic.h"

#include "platform/graphics/Canvas.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/stream/Filer.h"

DEFINE_CLASS(TGraphic, TPersistent) {}

void TGraphic::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  Changed();
}

void TGraphic::LoadFromFile(const std::string& fileName) {
  TMemoryStream stream;
  stream.LoadFromFile(fileName);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) {
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SaveToFile(fileName);
}

void TGraphic::ReadData(TStream& stream) {
  uint8_t bytes[4];
  stream.ReadBuffer(bytes, 4);
  uint32_t length = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t{bytes[3]} << 24);
  if (length > static_cast<uint64_t>(stream.Size() - stream.Position()))
    throw EInvalidGraphic("Bitmap image is not valid");
  TMemoryStream image;
  if (length > 0) image.CopyFrom(stream, length);  // a count of 0 would copy the whole stream
  image.SetPosition(0);
  LoadFromStream(image);
}

void TGraphic::WriteData(TStream& stream) {
  TMemoryStream image;
  SaveToStream(image);
  auto length = static_cast<uint32_t>(image.Size());
  const uint8_t bytes[4] = {static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
                            static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length >> 24)};
  stream.WriteBuffer(bytes, 4);
  if (length > 0) stream.WriteBuffer(image.Memory(), length);
}

void TGraphic::DefineProperties(TFiler* filer) {
  filer->DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !Empty());
}

QPainter& TGraphic::PainterOf(TCanvas& canvas) { return canvas.Painter(); }
