#pragma once
// A bitmap: an image in memory with a canvas to draw on it.
//
// New pixels (SetSize, a bitmap that grows) are white. Images are kept as opaque 32-bit RGB unless
// they were loaded with an alpha channel. The canvas draws through a device context on the image;
// Image() ends that drawing first, so the image it returns is complete and may be copied.
//
// Streams and files: SaveToStream writes PNG, which keeps alpha and is compact; LoadFromStream and
// LoadFromFile read whatever Qt can read (PNG, BMP as other programs store bitmaps, JPEG …).
// SaveToFile picks the format from the file name's extension and writes PNG for an unknown one.

#include <QImage>
#include <memory>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Graphic.h"

class TBitmapCanvas;

class TBitmap : public TGraphic {
  DECLARE_CLASS(TBitmap)

 public:
  TBitmap();
  ~TBitmap() override;

  bool Empty() const override { return image_.isNull(); }
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  void SetWidth(int value) override { SetSize(value, Height()); }
  void SetHeight(int value) override { SetSize(Width(), value); }
  // Keeps the pixels that still fit; a zero or negative size empties the bitmap.
  void SetSize(int width, int height);

  // The canvas that draws on the image. Drawing on an empty bitmap raises, as a canvas without a
  // device context does.
  TCanvas* Canvas();

  // The colour a transparent bitmap leaves out. clDefault (the initial value) means the colour of
  // the bottom-left pixel.
  TColor TransparentColor();
  void SetTransparentColor(TColor value);

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  void SaveToFile(const std::string& fileName) override;
  void Assign(TPersistent* source) override;

  const QImage& Image();
  void SetImage(const QImage& image);

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;
  void Changed() override;

 private:
  friend class TBitmapCanvas;
  void CreateCanvasHandle();
  void ReleaseCanvasHandle();
  // The image with the transparent colour's pixels made fully transparent, made on demand.
  const QImage& MaskedImage();

  QImage image_;
  std::unique_ptr<TBitmapCanvas> canvas_;
  HDC dc_ = 0;
  TColor transparentColor_ = clDefault;
  QImage masked_;
};
