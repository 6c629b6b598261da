#pragma once
// A picture file held in a mark (a customer's logo): its bytes exactly as read, PNG, JPEG or SVG,
// and what draws them. The bytes come from stored marks and pasted text, so they are untrusted:
// a raster picture is decoded only when its header's size is within kMaxPicturePixels (and Qt's
// allocation limit); an SVG is drawn only after every reference outside it is removed (an <image>
// that names a file or an address; only "data:" pictures inside it stay) and is refused outright
// when it declares entities. Whatever cannot be drawn has a Problem, and nothing is ever raised.
//
// SVG pictures are drawn as vectors by Qt SVG in the program's print module, loaded when the first
// one is drawn: the program sets how to reach it (SetSvgFunctions).

#include <QImage>
#include <QRectF>

#include <functional>
#include <memory>
#include <string>

class QPainter;

inline constexpr size_t kMaxPictureBytes = 4 * 1024 * 1024;
inline constexpr qint64 kMaxPicturePixels = 40'000'000;

struct TSvgFunctions {
  void* (*Open)(const char* data, long long size, double* width, double* height) = nullptr;
  void (*Render)(void* svg, QPainter* painter, double x, double y, double width, double height) = nullptr;
  void (*Close)(void* svg) = nullptr;
};
// How SVG pictures are reached: `load` gives the functions, or raises Exception saying why not.
void SetSvgFunctions(std::function<const TSvgFunctions&()> load);

// The bytes of the picture file `fileName`, checked: raises Exception with the reason when it
// cannot be read, is larger than 4 MiB or cannot be drawn.
std::string ReadPictureFile(const std::string& fileName);

class TPictureData {
 public:
  explicit TPictureData(std::string bytes);
  ~TPictureData();
  TPictureData(const TPictureData&) = delete;
  TPictureData& operator=(const TPictureData&) = delete;

  const std::string& Bytes() const { return bytes_; }
  // "PNG", "JPEG" or "SVG"; empty when the bytes are none of them.
  const std::string& Kind() const { return kind_; }
  bool IsSvg() const { return kind_ == "SVG"; }
  // Why the picture cannot be drawn; empty when it can.
  const std::string& Problem() const { return problem_; }
  // Its size in pixels (an SVG's view box); empty with a problem.
  QSizeF Size() const { return size_; }
  // Draws the picture into `target` of the painter's coordinates.
  void Draw(QPainter& painter, const QRectF& target) const;

 private:
  void DecodeRaster();
  void OpenSvg();

  std::string bytes_;
  std::string kind_;
  std::string problem_;
  QSizeF size_;
  QImage image_;  // one image for every page, so a PDF holds it once
  void* svg_ = nullptr;
  const TSvgFunctions* functions_ = nullptr;
};
