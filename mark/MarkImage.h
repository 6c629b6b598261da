#pragma once
// The picture element (a customer's logo): a PNG, JPEG or SVG picture whose file bytes are kept in
// the design stream (binary property "PictureData"), so that a mark stays one row of the mark table
// and the picture comes back byte for byte when the mark is saved again. Stretched to its box,
// keeping the picture's proportions or not, or at its own size from the upper left corner.
// A picture that cannot be drawn (PictureData.h) shows as a crossed box, and Problem says why.

#include <memory>
#include <string>

#include "mark/PictureData.h"
#include "platform/controls/GraphicControl.h"

class TMarkImage : public TGraphicControl {
  DECLARE_CLASS(TMarkImage)

 public:
  // No picture yet, in a box of 120 x 80, stretched with its proportions kept.
  void Create(TComponent* owner) override;

  // The picture file's bytes; empty for none.
  const std::string& PictureBytes() const;
  // Takes a picture's bytes. Raises Exception when they are more than 4 MiB; bytes that do not
  // decode are taken (and show their problem).
  void SetPictureBytes(std::string bytes);
  // Why the picture cannot be drawn; empty when it can or there is none.
  std::string Problem() const;
  bool HasPicture() const { return !PictureBytes().empty(); }
  // Whether the picture is a raster one (PNG or JPEG), which a stencil cannot cut.
  bool IsRaster() const;

  // What the property window shows: the picture's kind and size, or that there is none. The value
  // is changed only through the "..." button; a text written to it is ignored.
  std::string picture() const;
  void Setpicture(const std::string&) {}
  bool stretch() const { return stretch_; }
  void Setstretch(bool v);
  bool proportional() const { return proportional_; }
  void Setproportional(bool v);

 protected:
  void DefineProperties(TFiler* filer) override;
  void Paint() override;

 private:
  std::unique_ptr<TPictureData> data_;
  bool stretch_ = true;
  bool proportional_ = true;
};
