#pragma once
// Device contexts: handles through which a canvas draws on a window, an image or the screen.
//
// A window's device context draws on the window's paint while it is painting (BeginPaint, or GetDC
// from inside its WM_PAINT). Drawn outside a paint, it draws on a layer over the window that shows
// until the window next repaints, as drawing on a window does on the platform.
//
// The screen device context (GetDC(0)) serves XOR outlines: its drawing goes into one screen-sized
// layer that every top-level window composites over itself with a bitwise XOR, so drawing the same
// figure twice restores the screen exactly and nothing is left behind when a window repaints. Only
// the rectangles reported through DCDrawn are refreshed. Every screen device context draws with the
// same painter, so several may be held at once.

#include <cstddef>
#include <cstdint>

#include "platform/rtl/Types.h"
#include "platform/win/Windows.h"

class QPainter;
class QPaintDevice;

using HDC = uint32_t;  // an id in the device-context table; 0 = none

struct PAINTSTRUCT {
  HDC hdc = 0;
  TRect rcPaint;  // the area to repaint, client coordinates
};

HDC GetDC(HWND window);  // 0 gives the screen device context
int ReleaseDC(HWND window, HDC dc);
HDC BeginPaint(HWND window, PAINTSTRUCT& paint);
bool EndPaint(HWND window, const PAINTSTRUCT& paint);

// A device context on an image or pixmap (a bitmap's canvas); DeleteDC ends the painting.
HDC CreateDeviceDC(QPaintDevice* device);
// A device context that draws with a painter someone else holds (an output page's: a PDF, an SVG,
// a printer), in the painter's coordinates as they are; DeleteDC leaves the painter active. The
// painter must outlive the device context.
HDC CreatePainterDC(QPainter* painter);
bool DeleteDC(HDC dc);

// The painter of a device context, or null when `dc` is not one. Drawing through it must be
// followed by DCDrawn with the rectangle touched, in the device context's own coordinates.
QPainter* DCPainter(HDC dc);
void DCDrawn(HDC dc, const TRect& rect);

// Inverts the pixels of each rectangle with `rgb` (0x00BBGGRR, a colour value with its system
// colours resolved): every pixel is XORed with it once, so the same call again restores them. The
// rectangles are in the device context's own coordinates, right and bottom exclusive; empty ones
// are skipped. On the screen this is the cheap way to draw many outlines: the layer is written
// directly and its strips are refreshed together. False when `dc` is not a device context.
bool XorRects(HDC dc, const TRect* rects, size_t count, uint32_t rgb);

// A batch of drawing on the screen device context. While one is open, the strips that DCDrawn and
// XorRects report are collected; closing the outermost batch refreshes the windows under them once,
// however many figures were drawn. Batches nest.
void BeginScreenBatch();
void EndScreenBatch();

class TScreenBatch {
 public:
  TScreenBatch() { BeginScreenBatch(); }
  ~TScreenBatch() { EndScreenBatch(); }
  TScreenBatch(const TScreenBatch&) = delete;
  TScreenBatch& operator=(const TScreenBatch&) = delete;
};

// Origin and clip, for painting window-less controls on their parent's device context.
int SaveDC(HDC dc);  // returns a level for RestoreDC; 0 on failure
bool RestoreDC(HDC dc, int level);
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old);
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old);
bool IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
// Whether any of the rectangle (origin and size, the device context's own coordinates) lies inside
// its clip and the area being repainted; painting what is not is wasted. False for an empty one.
bool RectVisible(HDC dc, int left, int top, int width, int height);

// The window a device context draws on (0 for the screen and for images).
HWND WindowFromDC(HDC dc);
