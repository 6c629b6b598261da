// markedit-icons FOLDER: writes the program's icon into FOLDER/hicolor, as the desktop's icon theme
// wants it: PNG files of 16 to 256 pixels and one SVG, all drawn from the glyph the program shows
// as its window icon (app/ProgramGlyphs.cpp), so that the installed icon and the running program
// never differ.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

#include "app/ProgramGlyphs.h"
#include "platform/graphics/Glyphs.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool WritePng(const QString& root, int size) {
  const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
  const QImage icon = GlyphImage("markedit", size / double(GlyphSize("markedit").width()));
  QImage plain = icon;
  plain.setDevicePixelRatio(1);  // the file holds pixels, not points
  return QDir().mkpath(folder) && plain.size() == QSize(size, size) && plain.save(folder + "/markedit.png", "PNG");
}

bool WriteSvg(const QString& root) {
  const QString folder = root + QStringLiteral("/hicolor/scalable/apps");
  if (!QDir().mkpath(folder)) return false;
  const QSize size = GlyphSize("markedit");
  QSvgGenerator svg;
  svg.setFileName(folder + "/markedit.svg");
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(QStringLiteral("markedit"));
  svg.setDescription(QStringLiteral("A carton with a shipping mark on its side"));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  // The glyph's own drawing, at its size: the same source as every PNG.
  const bool drawn = DrawGlyph("markedit", painter);
  return painter.end() && drawn;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  RegisterProgramGlyphs();
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (int size : kSizes)
    if (!WritePng(root, size)) {
      std::fprintf(stderr, "markedit-icons: cannot write the %d-pixel icon into %s\n", size, argv[1]);
      return 1;
    }
  if (!WriteSvg(root)) {
    std::fprintf(stderr, "markedit-icons: cannot write the SVG icon into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
