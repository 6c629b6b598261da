#pragma once
// A picture: a holder of one graphic, or of nothing, that a control publishes.
//
// A stream stores the picture as the binary property "Data": the graphic's class name as a short
// string (a length byte and the name), followed by the graphic's own data (see Graphic.h).

#include <string>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Graphic.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class TPicture : public TPersistent {
  DECLARE_CLASS(TPicture)

 public:
  TPicture() = default;
  ~TPicture() override;

  // The graphic held, or null.
  TGraphic* Graphic() const { return graphic_; }
  // Holds a copy of the graphic; null empties the picture.
  void SetGraphic(TGraphic* value);
  // The graphic as a bitmap: a picture that holds something else or nothing gets an empty bitmap.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* value) { SetGraphic(value); }
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // Reads an image file into a bitmap; raises EStreamError or EInvalidGraphic and keeps the old
  // graphic when that fails.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);

  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler* filer) override;

  TNotifyEvent OnChange;

 private:
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);
  // Takes ownership of `graphic` (may be null) in place of the current one.
  void Replace(TGraphic* graphic);
  void Changed() { OnChange(this); }

  TGraphic* graphic_ = nullptr;
};
