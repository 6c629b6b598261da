#include "platform/graphics/Font.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QSet>
#include <cstdlib>
#include <map>
#include <vector>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Texts.h"

// Charset, Color, Height, Name and Style have no declared default, so a stream always holds them;
// Size is derived from Height and never stored.
DEFINE_CLASS(TFont, TPersistent) {
  c.Prop("Charset", &TFont::Charset, &TFont::SetCharset).Type(CharsetType());
  c.Prop("Color", &TFont::Color, &TFont::SetColor).Type(ColorType());
  c.Prop("Height", &TFont::Height, &TFont::SetHeight);
  c.Prop("Name", &TFont::Name, &TFont::SetName);
  c.Prop("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
  c.Prop("Size", &TFont::Size, &TFont::SetSize).Stored(false);
  c.Prop("Style", &TFont::Style, &TFont::SetStyle);
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t product = int64_t{a} * b;
  int64_t half = std::llabs(c) / 2;
  bool negative = (product < 0) != (c < 0);
  int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

namespace {

constexpr int kDefaultPixelSize = 11;  // what a height of 0 ("any size") draws with

struct Substitution {
  std::vector<const char*> names;       // compared ignoring case
  std::vector<const char*> standIns;    // in order of preference
};

const std::vector<Substitution>& Substitutions() {
  static const std::vector<Substitution> table = {
      {{"新細明體", "細明體", "PMingLiU", "MingLiU"},
       {"AR PL UMing TW", "AR PL UMing TW MBE", "AR PL UMing HK", "AR PL UMing CN",
        "Noto Serif CJK TC"}},
      {{"MS Sans Serif", "Tahoma"}, {"DejaVu Sans", "Liberation Sans", "Noto Sans"}},
  };
  return table;
}

bool HaveFontDatabase() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

// Whether a family is installed, compared ignoring case as the font database does. The installed
// families are read once, since they don't change while the program runs; asking the font
// database about one family instead has the system's font configuration match a font for the name
// every time.
bool FamilyInstalled(const QString& family) {
  static const QSet<QString> installed = [] {
    QSet<QString> names;
    for (const QString& name : QFontDatabase::families()) {
      names.insert(name.toCaseFolded());
      // A family that several foundries make is listed as "Family [Foundry]".
      if (const qsizetype bracket = name.indexOf(QLatin1String(" [")); bracket > 0)
        names.insert(name.left(bracket).toCaseFolded());
    }
    return names;
  }();
  return installed.contains(family.toCaseFolded());
}

}  // namespace

std::string SubstituteFontFamily(const std::string& name) {
  const Substitution* found = nullptr;
  for (const Substitution& s : Substitutions())
    for (const char* n : s.names)
      if (SameText(name, n)) found = &s;
  if (!found) return name;
  if (!HaveFontDatabase()) return found->standIns.front();

  // The answer depends only on the installed fonts, which don't change while the program runs.
  static std::map<std::string, std::string> cache;
  auto cached = cache.find(name);
  if (cached != cache.end()) return cached->second;
  std::string result = name;
  if (!FamilyInstalled(QString::fromStdString(name))) {
    for (const char* standIn : found->standIns)
      if (FamilyInstalled(QString::fromUtf8(standIn))) {
        result = standIn;
        break;
      }
  }
  cache.emplace(name, result);
  return result;
}

void TFont::Changed() {
  qfont_.reset();
  OnChange(this);
}

void TFont::SetCharset(TFontCharset value) {
  if (charset_ == value) return;
  charset_ = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  Changed();
}

void TFont::SetHeight(int value) {
  if (height_ == value) return;
  height_ = value;
  Changed();
}

void TFont::SetName(const std::string& value) {
  if (name_ == value || value.empty()) return;
  name_ = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (pitch_ == value) return;
  pitch_ = value;
  Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, 96); }

void TFont::SetSize(int value) { SetHeight(-MulDiv(value, 96, 72)); }

void TFont::SetStyle(TFontStyles value) {
  if (style_ == value) return;
  style_ = value;
  Changed();
}

void TFont::Assign(TPersistent* source) {
  if (auto* font = dynamic_cast<TFont*>(source)) {
    if (font == this) return;
    charset_ = font->charset_;
    color_ = font->color_;
    height_ = font->height_;
    name_ = font->name_;
    pitch_ = font->pitch_;
    style_ = font->style_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

QFont TFont::ToQFont() const {
  if (qfont_) return *qfont_;
  QFont font;
  font.setFamilies({QString::fromStdString(SubstituteFontFamily(name_))});
  font.setPixelSize(height_ == 0 ? kDefaultPixelSize : std::abs(height_));
  font.setBold(style_.Contains(fsBold));
  font.setItalic(style_.Contains(fsItalic));
  font.setUnderline(style_.Contains(fsUnderline));
  font.setStrikeOut(style_.Contains(fsStrikeOut));
  font.setKerning(false);
  if (pitch_ == fpFixed) {
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter);
  }
  qfont_ = font;
  return font;
}
