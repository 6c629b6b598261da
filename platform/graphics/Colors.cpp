#include "platform/graphics/Colors.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace {

constexpr TColor RGB(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// The classic scheme by system colour index, up to clInfoBk.
constexpr std::array<TColor, 25> kClassic = {
    RGB(192, 192, 192),  // clScrollBar
    RGB(0, 128, 128),    // clBackground: the desktop
    RGB(0, 0, 128),      // clActiveCaption
    RGB(128, 128, 128),  // clInactiveCaption
    RGB(192, 192, 192),  // clMenu
    RGB(255, 255, 255),  // clWindow
    RGB(0, 0, 0),        // clWindowFrame
    RGB(0, 0, 0),        // clMenuText
    RGB(0, 0, 0),        // clWindowText
    RGB(255, 255, 255),  // clCaptionText
    RGB(192, 192, 192),  // clActiveBorder
    RGB(192, 192, 192),  // clInactiveBorder
    RGB(128, 128, 128),  // clAppWorkSpace
    RGB(0, 0, 128),      // clHighlight
    RGB(255, 255, 255),  // clHighlightText
    RGB(192, 192, 192),  // clBtnFace
    RGB(128, 128, 128),  // clBtnShadow
    RGB(128, 128, 128),  // clGrayText
    RGB(0, 0, 0),        // clBtnText
    RGB(192, 192, 192),  // clInactiveCaptionText
    RGB(255, 255, 255),  // clBtnHighlight
    RGB(0, 0, 0),        // cl3DDkShadow
    RGB(192, 192, 192),  // cl3DLight
    RGB(0, 0, 0),        // clInfoText
    RGB(255, 255, 225),  // clInfoBk
};

// The palette entry that plays the part of a system colour; false for colours the palette has no
// counterpart of (the desktop, inactive captions), which keep their classic value.
bool PaletteRole(int index, QPalette::ColorGroup& group, QPalette::ColorRole& role) {
  group = QPalette::Active;
  switch (index) {
    case 0: role = QPalette::Button; return true;             // clScrollBar
    case 2: role = QPalette::Highlight; return true;          // clActiveCaption
    case 4: role = QPalette::Window; return true;             // clMenu
    case 5: role = QPalette::Base; return true;               // clWindow
    case 6: role = QPalette::WindowText; return true;         // clWindowFrame
    case 7: role = QPalette::WindowText; return true;         // clMenuText
    case 8: role = QPalette::Text; return true;               // clWindowText
    case 9: role = QPalette::HighlightedText; return true;    // clCaptionText
    case 10: role = QPalette::Window; return true;            // clActiveBorder
    case 11: role = QPalette::Window; return true;            // clInactiveBorder
    case 12: role = QPalette::Dark; return true;              // clAppWorkSpace
    case 13: role = QPalette::Highlight; return true;         // clHighlight
    case 14: role = QPalette::HighlightedText; return true;   // clHighlightText
    case 15: role = QPalette::Button; return true;            // clBtnFace
    case 16: role = QPalette::Dark; return true;              // clBtnShadow
    case 17: group = QPalette::Disabled; role = QPalette::Text; return true;  // clGrayText
    case 18: role = QPalette::ButtonText; return true;        // clBtnText
    case 20: role = QPalette::Light; return true;             // clBtnHighlight
    case 21: role = QPalette::Shadow; return true;            // cl3DDkShadow
    case 22: role = QPalette::Midlight; return true;          // cl3DLight
    case 23: role = QPalette::ToolTipText; return true;       // clInfoText
    case 24: role = QPalette::ToolTipBase; return true;       // clInfoBk
    default: return false;
  }
}

}  // namespace

TColor ClassicSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(kClassic.size())) return clBlack;
  return kClassic[static_cast<size_t>(index)];
}

TColor ColorToRGB(TColor color) {
  if (color >= 0) return color;
  int index = color & 0xFF;
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && PaletteRole(index, group, role))
    return QColorToColor(QGuiApplication::palette().color(group, role));
  return ClassicSysColor(index);
}

QColor ColorToQColor(TColor color) {
  if (color == clNone) return QColor(Qt::transparent);
  if (color == clDefault) color = clWindow;
  TColor rgb = ColorToRGB(color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor QColorToColor(const QColor& color) {
  QColor c = color.toRgb();
  return RGB(c.red(), c.green(), c.blue());
}
