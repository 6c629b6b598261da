#include "platform/graphics/DrawText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/OutputDevice.h"
#include "platform/graphics/TextCell.h"

namespace {

// A line of the laid-out text: characters [Start, End) of the prepared text.
struct Line {
  int Start = 0;
  int End = 0;
  int Width = 0;
};

// The text with accelerator prefixes removed and the characters that don't break lines or
// aren't drawn as themselves replaced by spaces of the same length, so that indices stay put.
struct Prepared {
  QString Text;
  int Underline = -1;  // index of the accelerator character, if any
};

Prepared Prepare(const std::string& utf8, unsigned flags) {
  QString source = QString::fromStdString(utf8);
  Prepared out;
  out.Text.reserve(source.size());
  for (qsizetype i = 0; i < source.size(); ++i) {
    QChar ch = source[i];
    if (ch == u'&' && !(flags & DT_NOPREFIX)) {
      if (++i >= source.size()) break;  // a final "&" shows nothing
      ch = source[i];
      if (ch != u'&') out.Underline = static_cast<int>(out.Text.size());
    }
    bool lineBreak = ch == u'\n' || ch == u'\r';
    if ((lineBreak && (flags & DT_SINGLELINE)) || (ch == u'\t' && !(flags & DT_EXPANDTABS)))
      ch = u' ';
    out.Text.append(ch);
  }
  return out;
}

bool IsWide(char16_t c) {
  return (c >= 0x2E80 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6);
}

// Punctuation that must not begin a line.
bool IsClosing(char16_t c) {
  static const std::u16string closing = u"，。、；：？！）」』】〉》〕｝．,.;:?!)]}";
  return closing.find(c) != std::u16string::npos;
}

class Layout {
 public:
  Layout(const QFont& font, QPaintDevice* device, unsigned flags)
      : cell_(TextCellOf(font, device)), metricsF_(font, device), flags_(flags) {
    tabWidth_ = 8.0 * std::max(1.0, metricsF_.averageCharWidth());
  }

  int LineHeight() const { return cell_.Height(); }
  int Ascent() const { return cell_.Ascent; }
  const QFontMetricsF& MetricsF() const { return metricsF_; }

  // The advance of text[from, to) at the start of a line, tabs expanded.
  qreal Advance(const QString& text, int from, int to) const {
    qreal x = 0;
    int segment = from;
    for (int i = from; i < to; ++i) {
      if (text[i] != u'\t') continue;
      x += metricsF_.horizontalAdvance(text.mid(segment, i - segment));
      x = (std::floor(x / tabWidth_) + 1) * tabWidth_;
      segment = i + 1;
    }
    return x + metricsF_.horizontalAdvance(text.mid(segment, to - segment));
  }

  int Width(const QString& text, int from, int to) const {
    return static_cast<int>(std::ceil(Advance(text, from, to) - 1e-6));
  }

  std::vector<Line> Lines(const QString& text, int maxWidth) const {
    std::vector<Line> lines;
    int start = 0;
    const int size = static_cast<int>(text.size());
    while (true) {
      int end = start;
      if (!(flags_ & DT_SINGLELINE))
        while (end < size && text[end] != u'\n' && text[end] != u'\r') ++end;
      else
        end = size;
      if (flags_ & DT_WORDBREAK) Wrap(text, start, end, maxWidth, lines);
      else lines.push_back({start, end, Width(text, start, end)});
      if (end >= size) break;
      start = end + ((text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n') ? 2 : 1);
      if (start >= size) {
        lines.push_back({start, start, 0});  // a final line break starts an empty last line
        break;
      }
    }
    return lines;
  }

 private:
  // Greedy wrapping of one paragraph: each line takes as many break-separated pieces as fit.
  void Wrap(const QString& text, int start, int end, int maxWidth, std::vector<Line>& lines) const {
    auto isSpace = [&](int i) { return text[i] == u' ' || text[i] == u'\t'; };
    auto trimmed = [&](int from, int to) {
      while (to > from && isSpace(to - 1)) --to;
      return to;
    };
    int pos = start;
    do {
      int best = -1;
      int bestEnd = pos;
      for (int k = pos + 1; k <= end; ++k) {
        if (k < end && !CanBreakBefore(text, k, pos)) continue;
        int lineEnd = trimmed(pos, k);
        if (best >= 0 && Width(text, pos, lineEnd) > maxWidth) break;
        best = k;
        bestEnd = lineEnd;
      }
      if (best < 0) best = bestEnd = end;  // an empty paragraph
      lines.push_back({pos, bestEnd, Width(text, pos, bestEnd)});
      pos = best;
      while (pos < end && isSpace(pos)) ++pos;
    } while (pos < end);
  }

  // Whether a line may end just before text[k], given that it began at `from`.
  static bool CanBreakBefore(const QString& text, int k, int from) {
    char16_t c = text[k].unicode(), prev = text[k - 1].unicode();
    bool space = c == u' ' || c == u'\t';
    bool prevSpace = prev == u' ' || prev == u'\t';
    if (space) return !prevSpace && k > from;
    if (IsClosing(c)) return false;
    return IsWide(c) || IsWide(prev);
  }

  TextCell cell_;
  QFontMetricsF metricsF_;
  unsigned flags_;
  qreal tabWidth_;
};

void DrawLine(QPainter& painter, const Layout& layout, const QString& text, const Line& line,
              int x, int baseline) {
  int segment = line.Start;
  for (int i = line.Start; i <= line.End; ++i) {
    if (i < line.End && text[i] != u'\t') continue;
    qreal at = layout.Advance(text, line.Start, segment);
    DrawTextRun(painter, QPointF(x + at, baseline), text.mid(segment, i - segment));
    segment = i + 1;
  }
}

}  // namespace

int DrawText(HDC dc, const std::string& text, TRect& rect, unsigned flags) {
  QPainter* painter = DCPainter(dc);
  if (!painter || text.empty()) {
    if (flags & DT_CALCRECT) {
      rect.Right = rect.Left;
      rect.Bottom = rect.Top;
    }
    return 0;
  }
  Prepared prepared = Prepare(text, flags);
  const QString& s = prepared.Text;
  Layout layout(painter->font(), painter->device(), flags);
  std::vector<Line> lines = layout.Lines(s, rect.Width());
  const int lineHeight = layout.LineHeight();
  const int height = lineHeight * static_cast<int>(lines.size());

  if (flags & DT_CALCRECT) {
    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, line.Width);
    rect.Right = rect.Left + widest;
    rect.Bottom = rect.Top + height;
    return height;
  }

  int top = rect.Top;
  bool singleLine = flags & DT_SINGLELINE;
  if (singleLine && (flags & DT_VCENTER)) top = rect.Top + (rect.Height() - lineHeight) / 2;
  else if (singleLine && (flags & DT_BOTTOM)) top = rect.Bottom - lineHeight;

  painter->save();
  bool clip = !(flags & DT_NOCLIP);
  QRect clipRect(rect.Left, rect.Top, rect.Width(), rect.Height());
  if (clip) painter->setClipRect(clipRect, Qt::IntersectClip);
  bool opaque = painter->brush().style() == Qt::SolidPattern;
  QColor background = painter->brush().color();
  QRect drawn;
  int y = top;
  for (const Line& line : lines) {
    int x = rect.Left;
    if (flags & DT_CENTER) x = rect.Left + (rect.Width() - line.Width) / 2;
    else if (flags & DT_RIGHT) x = rect.Right - line.Width;
    QRect cell(x, y, line.Width, lineHeight);
    if (opaque) painter->fillRect(cell, background);
    int baseline = y + layout.Ascent();
    DrawLine(*painter, layout, s, line, x, baseline);
    if (prepared.Underline >= line.Start && prepared.Underline < line.End) {
      int u = prepared.Underline;
      int length = s[u].isHighSurrogate() && u + 1 < line.End ? 2 : 1;
      qreal from = x + layout.Advance(s, line.Start, u);
      qreal to = x + layout.Advance(s, line.Start, u + length);
      // The underline stays inside the line's cell, where the next line's background can't hide it.
      int thickness = std::max(1, static_cast<int>(std::lround(layout.MetricsF().lineWidth())));
      int underlineY = baseline + std::max(1, static_cast<int>(std::lround(layout.MetricsF().underlinePos())));
      underlineY = std::min(underlineY, y + lineHeight - thickness);
      painter->fillRect(QRect(static_cast<int>(std::floor(from)), underlineY,
                              std::max(1, static_cast<int>(std::lround(to - from))), thickness),
                        painter->pen().color());
    }
    // Glyphs may overhang their advance (italics) and descend below the cell (underlines).
    drawn = drawn.united(cell.adjusted(-lineHeight / 2, 0, lineHeight / 2, 2));
    y += lineHeight;
  }
  painter->restore();
  if (clip) drawn = drawn.intersected(clipRect);
  if (!drawn.isEmpty())
    DCDrawn(dc, {drawn.left(), drawn.top(), drawn.left() + drawn.width(), drawn.top() + drawn.height()});

  int bottom = top + height - rect.Top;
  return singleLine && (flags & (DT_VCENTER | DT_BOTTOM)) ? bottom : height;
}
