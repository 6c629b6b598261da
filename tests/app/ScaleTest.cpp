// On a screen of more pixels than logical points (ctest runs this with QT_SCALE_FACTOR=2), every
// glyph a clerk sees is drawn from its vector source for the screen's pixels, not a 1x picture
// blown up: the palette's, the tool bar's and the property window's button.

#include <QImage>
#include <QWidget>

#include <string>
#include <vector>

#include "app/ufmmd.h"
#include "design/inspector/DsnSpctr.h"
#include "platform/controls/SpeedButton.h"
#include "platform/controls/ToolBar.h"
#include "platform/graphics/Glyphs.h"
#include "tests/app/MarkInputFixture.h"

namespace {

using marks_test::MarkInputTest;

class ScaleTest : public MarkInputTest {
 protected:
  // What the screen shows of a control, in the device's pixels.
  static QImage Shown(TControl* control) {
    auto* holder = dynamic_cast<TWinControl*>(control);
    QRect area(0, 0, control->Width(), control->Height());
    if (!holder) {
      holder = control->Parent();
      area.translate(control->Left(), control->Top());
    }
    const QImage shown = WindowWidget(holder->Handle())->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const qreal r = shown.devicePixelRatio();
    return shown.copy(QRectF(QPointF(area.topLeft()) * r, QSizeF(area.size()) * r).toAlignedRect());
  }

  // Whether `glyph` stands somewhere in `shown` pixel for pixel (its opaque pixels, the ones the
  // background cannot change).
  static bool Contains(const QImage& shown, const QImage& glyph) {
    const QImage g = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int top = 0; top + g.height() <= shown.height(); ++top)
      for (int left = 0; left + g.width() <= shown.width(); ++left) {
        bool same = true;
        for (int y = 0; y < g.height() && same; ++y)
          for (int x = 0; x < g.width() && same; ++x)
            if (qAlpha(g.pixel(x, y)) == 255) same = shown.pixel(left + x, top + y) == g.pixel(x, y);
        if (same) return true;
      }
    return false;
  }
};

TEST_F(ScaleTest, EachGlyphOnScreenIsItsVectorSourceDrawnForTheScreensPixels) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  main_->SetBounds(0, 0, 800, 640);  // the whole palette shows, whatever the screen's size
  Settle();
  ClickOn(side->b1);  // design mode: the palette's buttons are enabled, the property window opens
  const qreal ratio = WindowWidget(main_->Handle())->devicePixelRatioF();
  ASSERT_GE(ratio, 2) << "run with QT_SCALE_FACTOR=2";

  std::vector<std::pair<TControl*, std::string>> glyphed;
  for (int i = 0; i < main_->DsnPanel1->ControlCount(); ++i)
    if (auto* button = dynamic_cast<TSpeedButton*>(main_->DsnPanel1->Controls(i)); button && !button->GlyphName().empty())
      glyphed.emplace_back(button, button->GlyphName());
  EXPECT_EQ(glyphed.size(), 9u) << "the pointer, five shapes, 條碼, 圖片 and 線條";
  glyphed.emplace_back(side->b1, "edit");
  glyphed.emplace_back(side->b2, "save");
  TInspectorFm* properties = side->DsnInspector1->Window();
  ASSERT_NE(properties, nullptr);
  glyphed.emplace_back(properties->SpeedButton1, "ellipsis");

  for (const auto& [control, name] : glyphed) {
    const QImage vector = GlyphImage(name, ratio);
    ASSERT_FALSE(vector.isNull()) << name;
    EXPECT_TRUE(Contains(Shown(control), vector)) << control->Name() << " does not show " << name << " drawn at " << ratio << "x";
  }
}

}  // namespace
