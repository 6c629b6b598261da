#pragma once
// The font a canvas writes text with.
//
// Heights are pixels. A negative height is the character height (the em size, without the space
// above accents); a positive height is the cell height of a line. Qt knows only the em size, so
// both give a pixel size of |Height|: a positive height therefore draws a little larger than the
// platform would. Size is in points at 96 dots per inch and is derived from Height, which is the
// one that is stored.

#include <optional>
#include <string>

#include <QFont>

#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/IntegerConsts.h"

ENUMERATION(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
SET_OF(TFontStyles, TFontStyle)
ENUMERATION(TFontPitch, fpDefault, fpVariable, fpFixed)

class TFont : public TPersistent {
  DECLARE_CLASS(TFont)

 public:
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Height() const { return height_; }
  void SetHeight(int value);
  const std::string& Name() const { return name_; }
  void SetName(const std::string& value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch value);
  // Points: -Height * 72 / 96, rounded; setting it sets a negative Height.
  int Size() const;
  void SetSize(int value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);

  void Assign(TPersistent* source) override;

  // The Qt font for drawing: the face substituted by an installed one where needed (see
  // SubstituteFontFamily), pixel size |Height|, kerning off as the platform draws text.
  QFont ToQFont() const;

  TNotifyEvent OnChange;

 private:
  void Changed();

  TFontCharset charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  int height_ = -11;
  std::string name_ = "MS Sans Serif";
  TFontPitch pitch_ = fpDefault;
  TFontStyles style_;
  mutable std::optional<QFont> qfont_;  // ToQFont's result until the next change
};

// The installed family that stands in for a face name of the marks: the Ming faces of traditional
// Chinese text become an installed Ming face, the classic dialog faces a sans face. A name that is
// installed itself, or that has no stand-in, is kept. Without a QGuiApplication the font database
// can't be asked, and the first stand-in is taken on trust.
std::string SubstituteFontFamily(const std::string& name);

// a * b / c rounded half away from zero, as the platform scales sizes.
int MulDiv(int a, int b, int c);
