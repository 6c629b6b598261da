#pragma once
// TImageList: a numbered list of small images of one size, shared by menus, tool bars and action
// lists through their Images property.
//
// Images keep an alpha channel: the parts a mask or a mask colour leaves out are transparent. A
// stream stores them as the binary property "Bitmap": the bytes of a PNG image file that holds all
// images side by side, left to right, Width pixels each and Height pixels high (a layout file can
// therefore embed a strip drawn with any image editor). Width and Height are stored before it.
//
// A list can instead hold registered vector glyphs (Glyphs.h), named in the property "Glyphs" as
// one text, the names separated by commas. Their icons are drawn for each device pixel ratio, so
// tool bars and menus stay sharp at every scale; Image gives them at 1x.

#include <QIcon>
#include <QImage>

#include <functional>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"

class TImageList : public TComponent {
  DECLARE_CLASS(TImageList)

 public:
  // Changing the size of the images empties the list.
  int Width() const { return width_; }
  void SetWidth(int v);
  int Height() const { return height_; }
  void SetHeight(int v);
  int Count() const { return static_cast<int>(images_.size()); }

  // Adds the images of a bitmap: a bitmap wider than Width holds several side by side. Where the
  // mask (if any) is white, the images are transparent. Returns the index of the first image
  // added, -1 for an empty bitmap.
  int Add(TBitmap* image, TBitmap* mask);
  // As Add, with the pixels of `maskColor` made transparent (clDefault: the colour of the
  // bitmap's bottom-left pixel).
  int AddMasked(TBitmap* image, TColor maskColor);
  // Adds a vector glyph by its name; returns its index (-1 for an unregistered name).
  int AddGlyph(const std::string& name);
  // The names of the glyphs, separated by commas (empty when the list holds none). Setting them
  // replaces the list's images.
  std::string Glyphs() const;
  void SetGlyphs(const std::string& names);
  // Raises EInvalidOperation for an index out of range.
  void Delete(int index);
  void Clear();

  // Copies an image into `image` (with its alpha channel); nothing for an index out of range.
  void GetBitmap(int index, TBitmap* image) const;
  // The image itself (a null image for an index out of range) and as an icon for Qt's widgets.
  QImage Image(int index) const;
  QIcon Icon(int index) const;
  // Draws an image with its transparency; a disabled image is drawn greyed as the style greys
  // disabled icons.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;

  // Clients that show the images (menus, tool bars) are told of every change through these; a
  // client that keeps a reference also asks for the free notice.
  void RegisterChanges(const void* client, std::function<void()> changed);
  void UnRegisterChanges(const void* client);
  TNotifyEvent OnChange;

  void DefineProperties(TFiler* filer) override;
  void Assign(TPersistent* source) override;

 private:
  void Changed();
  int AddImage(const QImage& strip);
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);

  int width_ = 16;
  int height_ = 16;
  std::vector<QImage> images_;  // each Width x Height, ARGB32
  std::vector<std::string> glyphs_;  // for each image, the glyph it was drawn from, or empty
  std::vector<std::pair<const void*, std::function<void()>>> links_;
};
