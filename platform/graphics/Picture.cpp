#include "platform/graphics/Picture.h"

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Texts.h"
#include "platform/stream/Filer.h"

// A picture publishes nothing: a stream holds it as the "Data" property alone.
DEFINE_CLASS(TPicture, TPersistent) {}

namespace {

// The graphic classes a picture's data may name.
TGraphic* NewGraphic(std::string_view className) {
  if (SameText(className, TBitmap::StaticClass().Name())) return New<TBitmap>();
  return nullptr;
}

}  // namespace

TPicture::~TPicture() { FreeAndNil(graphic_); }

void TPicture::Replace(TGraphic* graphic) {
  TGraphic* old = graphic_;
  graphic_ = graphic;
  if (graphic_) graphic_->OnChange.Bind([this](TObject*) { Changed(); });
  if (old) old->Free();
  Changed();
}

void TPicture::SetGraphic(TGraphic* value) {
  if (value == graphic_) return;
  if (!value) {
    Replace(nullptr);
    return;
  }
  TGraphic* copy = NewGraphic(value->ClassName());
  if (!copy) throw EInvalidGraphic("Unknown picture format " + value->ClassName());
  try {
    copy->Assign(value);
  } catch (...) {
    copy->Free();
    throw;
  }
  Replace(copy);
}

TBitmap* TPicture::Bitmap() {
  if (auto* bitmap = dynamic_cast<TBitmap*>(graphic_)) return bitmap;
  Replace(New<TBitmap>());
  return static_cast<TBitmap*>(graphic_);
}

void TPicture::LoadFromFile(const std::string& fileName) {
  TBitmap* bitmap = New<TBitmap>();
  try {
    bitmap->LoadFromFile(fileName);
  } catch (...) {
    bitmap->Free();
    throw;
  }
  Replace(bitmap);
}

void TPicture::SaveToFile(const std::string& fileName) {
  if (graphic_) graphic_->SaveToFile(fileName);
}

void TPicture::Assign(TPersistent* source) {
  if (!source) SetGraphic(nullptr);
  else if (auto* picture = dynamic_cast<TPicture*>(source)) SetGraphic(picture->graphic_);
  else if (auto* graphic = dynamic_cast<TGraphic*>(source)) SetGraphic(graphic);
  else TPersistent::Assign(source);
}

void TPicture::ReadData(TStream& stream) {
  uint8_t length = 0;
  stream.ReadBuffer(&length, 1);
  std::string className(length, '\0');
  if (length > 0) stream.ReadBuffer(className.data(), length);
  if (className.empty()) {
    Replace(nullptr);
    return;
  }
  TGraphic* graphic = NewGraphic(className);
  if (!graphic) throw EInvalidGraphic("Unknown picture format " + className);
  try {
    graphic->ReadData(stream);
  } catch (...) {
    graphic->Free();
    throw;
  }
  Replace(graphic);
}

void TPicture::WriteData(TStream& stream) {
  const std::string& className = graphic_->ClassName();
  auto length = static_cast<uint8_t>(className.size());
  stream.WriteBuffer(&length, 1);
  stream.WriteBuffer(className.data(), length);
  graphic_->WriteData(stream);
}

void TPicture::DefineProperties(TFiler* filer) {
  filer->DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
      graphic_ && !graphic_->Empty());
}
