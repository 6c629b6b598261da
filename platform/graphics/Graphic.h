#pragma once
// The common ground of pictures a canvas can draw (bitmaps, for now).
//
// A graphic streams itself as a binary property "Data": a 32-bit little-endian length followed by
// the bytes of an image file. That is how a glyph published as a bitmap property is stored, and
// what a picture stores after the graphic's class name.

#include <string>

#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/Types.h"

class QPainter;
class TCanvas;

// Image data that can't be read.
class EInvalidGraphic : public Exception {
  using Exception::Exception;
};

class TGraphic : public TPersistent {
  DECLARE_CLASS(TGraphic)

 public:
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual void SetHeight(int value) = 0;
  // A transparent graphic leaves the canvas alone where it has its transparent colour.
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);

  // Reads the image file held in the rest of the stream; an empty rest gives an empty graphic.
  // Raises EInvalidGraphic when the bytes are not an image.
  virtual void LoadFromStream(TStream& stream) = 0;
  // Writes an image file; nothing for an empty graphic.
  virtual void SaveToStream(TStream& stream) = 0;
  // Raise EStreamError naming the file when it can't be read or written.
  virtual void LoadFromFile(const std::string& fileName);
  virtual void SaveToFile(const std::string& fileName);

  // The "Data" form: length and image file. ReadData raises EInvalidGraphic for a length that
  // runs past the data.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);
  void DefineProperties(TFiler* filer) override;

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  // Draws the graphic scaled to `rect` on the canvas; the canvas reports what was drawn.
  virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
  static QPainter& PainterOf(TCanvas& canvas);
  virtual void Changed() { OnChange(this); }

  bool transparent_ = false;
};
