// Labels: mouse routing through their parent, sizing to the text, text placement and colours.

#include "platform/controls/Label.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdlib>
#include <string>

#include "platform/controls/DBText.h"
#include "platform/controls/Panel.h"
#include "platform/db/DataSource.h"
#include "platform/stream/Writer.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

constexpr TColor kLabelColor = 0x0040E0F0;

class LabelTest : public PanelFormTest {
 protected:
  TLabel* AddLabel(const std::string& caption, TRect bounds) {
    auto* label = New<TLabel>(form);
    label->SetParent(panel);
    label->SetAutoSize(false);
    label->SetBoundsRect(bounds);
    label->SetCaption(caption);
    return label;
  }
  // Form coordinates of a point in the panel's client area.
  TPoint InPanel(int x, int y) const { return {panel->Left() + x, panel->Top() + y}; }
};

// ---- mouse ----

TEST_F(LabelTest, ClickOnLabelInsidePanelReachesTheLabelWithItsOwnCoordinates) {
  TLabel* label = AddLabel("嘜頭", {20, 30, 100, 50});
  int clicks = 0, panelClicks = 0;
  TPoint down{-1, -1};
  label->OnClick.Bind([&](TObject* sender) {
    EXPECT_EQ(sender, label);
    ++clicks;
  });
  label->OnMouseDown.Bind([&](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
    EXPECT_EQ(button, mbLeft);
    EXPECT_TRUE(shift.Contains(ssShift));
    down = {x, y};
  });
  panel->OnClick.Bind([&](TObject*) { ++panelClicks; });
  ShowForm();
  Click(InPanel(25, 34), Qt::ShiftModifier);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(down, (TPoint{5, 4}));
  EXPECT_EQ(panelClicks, 0);
  EXPECT_EQ(CaptureControl(), nullptr);
  EXPECT_EQ(GetCapture(), 0u);
}

TEST_F(LabelTest, DisabledLabelIsSkippedUnlessAskedForAndItsClickGoesToTheParent) {
  TLabel* label = AddLabel("嘜頭", {20, 30, 100, 50});
  label->SetEnabled(false);
  int clicks = 0, panelClicks = 0;
  label->OnClick.Bind([&](TObject*) { ++clicks; });
  panel->OnClick.Bind([&](TObject*) { ++panelClicks; });
  EXPECT_EQ(panel->ControlAtPos({25, 34}, false), nullptr);
  EXPECT_EQ(panel->ControlAtPos({25, 34}, true), label);
  ShowForm();
  Click(InPanel(25, 34));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(panelClicks, 1);
}

// ---- size ----

TEST_F(LabelTest, AutoSizeFitsTheCaption) {
  TLabel* label = AddLabel("", {20, 30, 100, 50});
  label->SetAutoSize(true);
  label->SetCaption("嘜頭編輯 Marks");
  QFontMetrics metrics(label->Font()->ToQFont());
  EXPECT_NEAR(label->Width(), metrics.horizontalAdvance(QStringLiteral("嘜頭編輯 Marks")), 1);
  EXPECT_EQ(label->Height(), metrics.height());
  EXPECT_EQ(label->Left(), 20);
  const int oneLine = label->Height();
  label->SetCaption("一\n二\n三");
  EXPECT_EQ(label->Height(), 3 * oneLine);
  label->Font()->SetHeight(-24);
  EXPECT_GT(label->Height(), 3 * oneLine);
}

TEST_F(LabelTest, AutoSizeKeepsTheRightEdgeOfRightJustifiedText) {
  TLabel* label = AddLabel("", {20, 30, 200, 50});
  label->SetAlignment(taRightJustify);
  label->SetAutoSize(true);
  EXPECT_EQ(label->Left() + label->Width(), 200);
  label->SetCaption("客戶編號 C001");
  EXPECT_EQ(label->Left() + label->Width(), 200);
  EXPECT_LT(label->Left(), 200);
}

TEST_F(LabelTest, WordWrappedAutoSizeKeepsItsWidthAndGrowsDown) {
  TLabel* label = AddLabel("", {20, 30, 80, 50});
  label->SetWordWrap(true);
  label->SetAutoSize(true);
  const int oneLine = label->Height();
  label->SetCaption("one two three four five six seven");
  EXPECT_LE(label->Width(), 60);
  EXPECT_GE(label->Height(), 3 * oneLine);
}

TEST_F(LabelTest, WithoutAutoSizeTheBoundsStay) {
  TLabel* label = AddLabel("很長的一段說明文字", {20, 30, 60, 50});
  EXPECT_EQ(label->BoundsRect(), (TRect{20, 30, 60, 50}));
  auto* data = New<TDBText>(form);
  data->SetParent(panel);
  data->SetBounds(0, 0, 40, 17);
  data->SetCaption("A&B 貿易公司");
  EXPECT_EQ(data->BoundsRect(), (TRect{0, 0, 40, 17}));
}

// ---- painting ----

struct LayoutCase {
  TTextLayout layout;
  double inkCentre;  // expected centre row of the ink within a label 60 pixels high
  double tolerance;
};

class LabelLayout : public LabelTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LabelLayout, TextSitsAtTopCentreOrBottom) {
  TLabel* label = AddLabel("嘜頭編輯", {20, 20, 200, 80});
  label->SetColor(kLabelColor);
  label->Font()->SetColor(clBlack);
  label->Font()->SetHeight(-16);
  label->SetLayout(GetParam().layout);
  ShowForm();
  QImage image = Grab();
  TRect bounds = {30, 30, 210, 90};  // the label on the form
  std::vector<int> rows = InkRows(image, bounds, Rgb(kLabelColor));
  ASSERT_FALSE(rows.empty());
  double centre = (rows.front() + rows.back()) / 2.0 - bounds.Top;
  EXPECT_NEAR(centre, GetParam().inkCentre, GetParam().tolerance);
}

// A 16-pixel line is about 19 pixels high: its ink centre lies about 9 pixels below its top.
INSTANTIATE_TEST_SUITE_P(Layouts, LabelLayout,
                         ::testing::Values(LayoutCase{tlTop, 9.5, 3.0}, LayoutCase{tlCenter, 29.5, 2.0},
                                           LayoutCase{tlBottom, 50.5, 3.0}),
                         [](const auto& info) {
                           return GetEnumName(TypeInfoOf(static_cast<TTextLayout*>(nullptr)), info.param.layout);
                         });

TEST_F(LabelTest, OpaqueLabelPaintsItsColourAndTransparentOneShowsItsParent) {
  TLabel* label = AddLabel("", {20, 20, 100, 60});
  EXPECT_EQ(label->Color(), kPanelColor);  // a label takes its parent's colour by default
  label->SetColor(kLabelColor);
  EXPECT_FALSE(label->ParentColor());
  ShowForm();
  EXPECT_EQ(Grab().pixel(60, 50), Rgb(kLabelColor));
  label->SetTransparent(true);
  EXPECT_EQ(Grab().pixel(60, 50), Rgb(kPanelColor));
  label->SetParentColor(true);
  label->SetTransparent(false);
  panel->SetColor(clWhite);
  EXPECT_EQ(label->Color(), clWhite);
  EXPECT_EQ(Grab().pixel(60, 50), Rgb(clWhite));
}

// The distance between two colours, summed over the channels.
int Distance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

TEST_F(LabelTest, DisabledTextIsEmbossedInHighlightAndShadow) {
  TLabel* label = AddLabel("嘜頭編輯", {20, 20, 200, 60});
  label->SetColor(kLabelColor);
  label->Font()->SetHeight(-24);
  label->SetEnabled(false);
  ShowForm();
  QImage image = Grab();
  // Text is smoothed: count the pixels nearer to one of the two inks than to anything else.
  const QRgb background = Rgb(kLabelColor), light = Rgb(clBtnHighlight), dark = Rgb(clBtnShadow);
  int highlight = 0, shadow = 0;
  for (int y = 30; y < 70; ++y)
    for (int x = 30; x < 210; ++x) {
      QRgb p = image.pixel(x, y);
      int toBackground = Distance(p, background), toLight = Distance(p, light), toDark = Distance(p, dark);
      highlight += toLight < toDark && toLight < toBackground;
      shadow += toDark < toLight && toDark < toBackground;
    }
  EXPECT_GT(highlight, 20);
  EXPECT_GT(shadow, 20);
}

TEST_F(LabelTest, AmpersandIsAMarkOnlyWhileAccelCharsShow) {
  TLabel* label = AddLabel("&Mark", {20, 20, 200, 60});
  label->SetColor(kLabelColor);
  label->Font()->SetColor(clBlack);
  label->SetAutoSize(true);
  const int shown = label->Width();
  label->SetShowAccelChar(false);
  EXPECT_GT(label->Width(), shown);  // the "&" is drawn as itself
}

// ---- data texts ----

// A dataset of two rows with one column "x", read from an SQLite database in memory.
class TwoRows : public TDataSet {
 protected:
  void InternalOpen() override {
    QSqlDatabase db = QSqlDatabase::contains("two-rows") ? QSqlDatabase::database("two-rows")
                                                         : QSqlDatabase::addDatabase("QSQLITE", "two-rows");
    db.setDatabaseName(":memory:");
    ASSERT_TRUE(db.open());
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec("select 'WWW' as x union all select 'I'"));
    CreateFields(query.record());
    FetchRows(query);
  }
};

// What a data text shows, bound or not, is judged against plain labels with the expected text in
// the same place of another part of the panel.
TEST_F(LabelTest, ADataTextBoundToAnOpenDatasetShowsTheCurrentRowAndStoresNoBinding) {
  auto* data = New<TDBText>(form);
  data->SetParent(panel);
  data->SetBoundsRect({10, 10, 110, 30});
  data->SetCaption("連結欄位:x");
  data->SetDataField("x");
  TLabel* first = AddLabel("WWW", {10, 40, 110, 60});
  TLabel* second = AddLabel("I", {10, 70, 110, 90});
  TLabel* caption = AddLabel("連結欄位:x", {10, 100, 110, 120});
  first->SetShowAccelChar(false);
  auto* rows = New<TwoRows>(form);
  auto* source = New<TDataSource>(form);
  source->SetDataSet(rows);
  data->SetDataSource(source);
  ShowForm();
  auto shows = [&](TLabel* label) {
    QImage image = Grab();
    const QPoint at(panel->Left() + 10, panel->Top());
    return image.copy(QRect(at + QPoint(0, 10), QSize(100, 20))) ==
           image.copy(QRect(at + QPoint(0, label->Top()), QSize(100, 20)));
  };
  EXPECT_TRUE(shows(caption)) << "a closed dataset leaves the caption";
  rows->Open();
  EXPECT_TRUE(shows(first));
  rows->SetRecNo(2);
  EXPECT_TRUE(shows(second));

  TMemoryStream out;
  TWriter(out).WriteComponent(data);
  const std::string written(out.Bytes());
  EXPECT_NE(written.find("DataField"), std::string::npos);
  EXPECT_EQ(written.find("DataSource"), std::string::npos);

  source->Free();  // the text forgets it and shows its caption again
  EXPECT_EQ(data->DataSource(), nullptr);
  EXPECT_TRUE(shows(caption));
}

}  // namespace
