#pragma once
// A window-less picture of both sides of a stored mark, drawn by the output code as a page is:
// the main mark above the side mark, each scaled to fit its half, with its name above it. A side
// without a row shows its name and "（無）"; a mark that cannot be read shows why.

#include <optional>
#include <string>

#include <QImage>

#include "platform/controls/GraphicControl.h"

class TMarkPreview : public TGraphicControl {
  DECLARE_CLASS(TMarkPreview)

 public:
  // Draws the two designs (nothing: the side has no row) of the customer's mark.
  void ShowMark(const std::optional<std::string>& main, const std::optional<std::string>& side,
                const std::string& customer);
  // A text instead of a picture (nothing highlighted, a mark that cannot be read).
  void ShowText(const std::string& text);
  // What is drawn now, at the control's size; null before anything was shown.
  const QImage& Picture() const { return picture_; }

 protected:
  void Paint() override;

 private:
  QImage picture_;
};
