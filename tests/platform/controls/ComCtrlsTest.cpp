// The common controls: tool bars laying out and sizing themselves around their buttons, tool
// buttons bound to actions, image lists and their stream, status bar panels, and page controls
// switched by a click on a tab.

#include "platform/controls/ComCtrls.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <string>
#include <vector>

#include "platform/controls/ImgList.h"
#include "platform/controls/Panel.h"
#include "platform/controls/StdControls.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

// A window that streams its non-visual components before its controls, as the program's windows do.
class TBarForm : public TForm {
  DECLARE_CLASS(TBarForm)

 public:
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (TComponent* c : std::vector<TComponent*>(ComponentList()))
      if (!c->HasParent() && c->Owner() == root) proc(c);
    TForm::GetChildren(proc, root);
  }
};

DEFINE_CLASS(TBarForm, TForm) {}

void RunQueued() { QApplication::sendPostedEvents(); }

// Reads a layout into a new window of its own and writes it back.
struct Layout {
  explicit Layout(const std::string& text) {
    RegisterStandardControls();
    root = New<TBarForm>(nullptr);
    TMemoryStream in(TextToStream(text));
    TReader(in).ReadRootComponent(root);
  }
  ~Layout() { root->Free(); }
  // The records of the window's components, without the window's own properties.
  std::string WrittenComponents() const {
    TMemoryStream out;
    TWriter(out).WriteRootComponent(root);
    std::string text = StreamToText(out.Bytes());
    return text.substr(text.find("  object "));
  }
  template <class T>
  T* Find(const char* name) const {
    return dynamic_cast<T*>(root->FindComponent(name));
  }
  TBarForm* root = nullptr;
};

// An image of one colour, or of `width / 16` squares of the colours given.
TBitmap* Strip(std::vector<QRgb> colours) {
  auto* bitmap = New<TBitmap>();
  QImage image(16 * static_cast<int>(colours.size()), 16, QImage::Format_ARGB32);
  for (size_t i = 0; i < colours.size(); ++i)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) image.setPixel(static_cast<int>(i) * 16 + x, y, colours[i]);
  bitmap->SetImage(image);
  return bitmap;
}

// ---- tool bars ----

class ToolBarTest : public FormTest {
 protected:
  TToolBar* AddBar(TWinControl* parent) {
    auto* bar = New<TToolBar>(form);
    bar->SetParent(parent);
    return bar;
  }
  TToolButton* AddButton(TToolBar* bar, const char* caption, TToolButtonStyle style = tbsButton) {
    auto* button = New<TToolButton>(form);
    button->SetStyle(style);
    button->SetCaption(caption);
    button->SetParent(bar);
    return button;
  }
  QToolButton* QtButton(TToolButton* button) { return qobject_cast<QToolButton*>(WindowWidget(button->Handle())); }
  void ClickButton(TToolButton* button) {
    QWidget* widget = WindowWidget(button->Handle());
    QPoint at = widget->mapTo(Widget(), widget->rect().center());
    Click({at.x(), at.y()});
    RunQueued();
  }
};

TEST_F(ToolBarTest, LeftAlignedAutoSizedBarTakesTheWidthOfItsButtons) {
  auto* panel = New<TPanel>(form);
  panel->SetParent(form);
  panel->SetAlign(alTop);
  panel->SetHeight(43);
  TToolBar* bar = AddBar(panel);
  bar->SetAlign(alLeft);
  bar->SetAutoSize(true);
  bar->SetButtonWidth(59);
  bar->SetButtonHeight(36);
  bar->SetShowCaptions(true);
  TToolButton* edit = AddButton(bar, "編輯模式");
  TToolButton* save = AddButton(bar, "儲存設定");
  EXPECT_EQ(bar->BoundsRect(), (TRect{1, 1, 1 + 118, 42}));  // inside the panel's bevel
  EXPECT_EQ(edit->BoundsRect(), (TRect{0, 2, 59, 38}));       // below the etched top edge
  EXPECT_EQ(save->BoundsRect(), (TRect{59, 2, 118, 38}));
  AddButton(bar, "", tbsSeparator);
  EXPECT_EQ(bar->Width(), 118 + 8);  // a separator keeps its own width
  save->Hide();
  EXPECT_EQ(bar->Width(), 59 + 8);
  ShowForm();
  EXPECT_EQ(QtButton(edit)->toolButtonStyle(), Qt::ToolButtonTextOnly);
  EXPECT_EQ(QtButton(edit)->text(), "編輯模式");
  EXPECT_EQ(WindowWidget(edit->Handle())->geometry(), QRect(0, 2, 59, 36));
}

struct WrapCase {
  const char* name;
  bool wrapable;
  std::vector<TPoint> places;
  int height;
};

class ToolBarWrap : public ToolBarTest, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(ToolBarWrap, ButtonsFlowIntoRowsAndTheBarFitsThem) {
  TToolBar* bar = AddBar(form);
  bar->SetAlign(alNone);
  bar->SetBounds(0, 0, 60, 29);
  bar->SetWrapable(GetParam().wrapable);
  bar->SetAutoSize(true);
  std::vector<TToolButton*> buttons;
  for (const char* caption : {"a", "b", "c"}) buttons.push_back(AddButton(bar, caption));
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(buttons[i]->Left(), GetParam().places[i].X) << i;
    EXPECT_EQ(buttons[i]->Top(), GetParam().places[i].Y) << i;
  }
  EXPECT_EQ(bar->Height(), GetParam().height);
  EXPECT_EQ(bar->Width(), 60);
}

INSTANTIATE_TEST_SUITE_P(Rows, ToolBarWrap,
                         ::testing::Values(WrapCase{"Wrapable", true, {{0, 2}, {23, 2}, {0, 24}}, 2 + 2 * 22},
                                           WrapCase{"OneRow", false, {{0, 2}, {23, 2}, {46, 2}}, 2 + 22}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolBarTest, ButtonBoundToAnActionExecutesItAndShowsCheckedAsDown) {
  TToolBar* bar = AddBar(form);
  auto* action = New<TAction>(form);
  action->SetCaption("編輯模式");
  int executed = 0;
  action->OnExecute.Bind([&](TObject*) { ++executed; });
  TToolButton* button = AddButton(bar, "");
  button->SetAction(action);
  ShowForm();
  EXPECT_EQ(button->Caption(), "編輯模式");

  ClickButton(button);
  EXPECT_EQ(executed, 1);
  EXPECT_FALSE(button->Down());  // a plain button springs back
  EXPECT_FALSE(QtButton(button)->isChecked());

  action->SetChecked(true);
  EXPECT_TRUE(button->Down());
  EXPECT_TRUE(QtButton(button)->isChecked());
  ClickButton(button);
  EXPECT_TRUE(QtButton(button)->isChecked());  // still what the action says
  action->SetChecked(false);
  EXPECT_FALSE(QtButton(button)->isChecked());

  action->SetEnabled(false);
  EXPECT_FALSE(QtButton(button)->isEnabled());
  ClickButton(button);
  EXPECT_EQ(executed, 2);
}

TEST_F(ToolBarTest, GroupedCheckButtonsKeepOneDown) {
  TToolBar* bar = AddBar(form);
  std::vector<TToolButton*> group;
  for (const char* caption : {"square", "triangle"}) {
    group.push_back(AddButton(bar, caption, tbsCheck));
    group.back()->SetGrouped(true);
  }
  TToolButton* single = AddButton(bar, "bold", tbsCheck);
  ShowForm();
  ClickButton(group[0]);
  ClickButton(group[1]);
  EXPECT_FALSE(group[0]->Down());
  EXPECT_TRUE(group[1]->Down());
  EXPECT_FALSE(QtButton(group[0])->isChecked());
  ClickButton(group[1]);
  EXPECT_TRUE(group[1]->Down());  // the group keeps one down
  group[1]->SetAllowAllUp(true);
  ClickButton(group[1]);
  EXPECT_FALSE(group[1]->Down());
  ClickButton(single);
  EXPECT_TRUE(single->Down());
  ClickButton(single);
  EXPECT_FALSE(single->Down());
}

TEST_F(ToolBarTest, ButtonsShowTheImagesOfTheBarsImageList) {
  TToolBar* bar = AddBar(form);
  bar->SetShowCaptions(true);
  TToolButton* button = AddButton(bar, "儲存設定");
  button->SetImageIndex(1);
  ShowForm();
  EXPECT_TRUE(QtButton(button)->icon().isNull());
  auto* images = New<TImageList>(form);
  bar->SetImages(images);
  TBitmap* strip = Strip({qRgb(255, 0, 0), qRgb(0, 0, 255)});
  images->Add(strip, nullptr);
  strip->Free();
  EXPECT_FALSE(QtButton(button)->icon().isNull());
  EXPECT_EQ(QtButton(button)->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  FreeAndNil(images);
  EXPECT_EQ(bar->Images(), nullptr);
  EXPECT_TRUE(QtButton(button)->icon().isNull());
}

TEST(ToolBarLayoutTest, ReadsButtonsInOrderAndWritesBackWhatDiffersFromTheirActions) {
  TestApp();
  const std::string text =
      "object fmmd: TBarForm\n"
      "  object ActionList1: TActionList\n"
      "    object acedit: TAction\n"
      "      Caption = '編輯模式'\n"
      "      ImageIndex = 10\n"
      "    end\n"
      "  end\n"
      "  object ToolBar1: TToolBar\n"
      "    Left = 0\n"
      "    Top = 0\n"
      "    Width = 118\n"
      "    Height = 240\n"
      "    TabOrder = 0\n"
      "    Align = alLeft\n"
      "    AutoSize = True\n"
      "    ButtonHeight = 36\n"
      "    ButtonWidth = 59\n"
      "    ShowCaptions = True\n"
      "    object b1: TToolButton\n"
      "      Left = 0\n"
      "      Top = 2\n"
      "      Width = 59\n"
      "      Height = 36\n"
      "      Action = acedit\n"
      "    end\n"
      "    object b2: TToolButton\n"
      "      Left = 59\n"
      "      Top = 2\n"
      "      Width = 59\n"
      "      Height = 36\n"
      "      Caption = '儲存設定'\n"
      "      Style = tbsCheck\n"
      "    end\n"
      "  end\n"
      "end\n";
  Layout layout(text);
  auto* bar = layout.Find<TToolBar>("ToolBar1");
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->ButtonCount(), 2);
  EXPECT_EQ(bar->Buttons(0)->Caption(), "編輯模式");
  EXPECT_EQ(bar->Buttons(0)->ImageIndex(), 10);
  EXPECT_EQ(bar->Buttons(1)->Style(), tbsCheck);
  EXPECT_EQ(layout.WrittenComponents(), text.substr(text.find("  object ")));
}

// ---- image lists ----

TEST(ImageListTest, StreamKeepsEveryImageAndItsTransparency) {
  TestApp();
  auto* images = New<TImageList>(nullptr);
  TBitmap* strip = Strip({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 0, 255)});
  EXPECT_EQ(images->AddMasked(strip, 0x00FF00FF), 0);  // magenta (BGR) leaves the third one clear
  strip->Free();
  ASSERT_EQ(images->Count(), 3);

  TMemoryStream out;
  TWriter(out).WriteRootComponent(images);
  auto* read = New<TImageList>(nullptr);
  TMemoryStream in(out.Bytes());
  TReader(in).ReadRootComponent(read);
  ASSERT_EQ(read->Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(read->Image(i), images->Image(i)) << i;
  EXPECT_EQ(qAlpha(read->Image(2).pixel(5, 5)), 0);
  EXPECT_EQ(read->Image(1).pixel(5, 5), qRgb(0, 255, 0));
  images->Free();
  read->Free();
}

TEST(ImageListTest, DataThatDoesNotFitTheImageSizeIsRefused) {
  TestApp();
  TBitmap* strip = Strip({qRgb(1, 2, 3)});
  TMemoryStream png;
  strip->SaveToStream(png);
  strip->Free();
  std::string hex;
  for (char byte : png.Bytes()) {
    static const char digits[] = "0123456789ABCDEF";
    hex += digits[static_cast<unsigned char>(byte) >> 4];
    hex += digits[static_cast<unsigned char>(byte) & 15];
  }
  for (const char* size : {"  Height = 8\n", "  Width = 5\n"}) {
    auto* images = New<TImageList>(nullptr);
    TMemoryStream in(TextToStream(std::string("object I: TImageList\n") + size + "  Bitmap = {" + hex + "}\nend\n"));
    EXPECT_ANY_THROW(TReader(in).ReadRootComponent(images)) << size;
    images->Free();
  }
}

TEST(ImageListTest, MaskLeavesTheCanvasShowingThrough) {
  TestApp();
  auto* images = New<TImageList>(nullptr);
  TBitmap* image = Strip({qRgb(0, 0, 255)});
  TBitmap* mask = Strip({qRgb(0, 0, 0)});
  mask->Canvas()->SetPixels(3, 4, clWhite);
  images->Add(image, mask);
  TBitmap target;
  target.SetSize(20, 20);
  target.Canvas()->Brush()->SetColor(clYellow);
  target.Canvas()->FillRect({0, 0, 20, 20});
  images->Draw(target.Canvas(), 2, 2, 0);
  const QImage& drawn = target.Image();
  EXPECT_EQ(drawn.pixel(2 + 3, 2 + 4), qRgb(255, 255, 0));  // masked out
  EXPECT_EQ(drawn.pixel(2 + 4, 2 + 4), qRgb(0, 0, 255));
  EXPECT_EQ(drawn.pixel(1, 1), qRgb(255, 255, 0));
  TBitmap copy;
  images->GetBitmap(0, &copy);
  EXPECT_EQ(copy.Image(), images->Image(0));
  image->Free();
  mask->Free();
  images->Free();
}

// ---- status bars ----

TEST(StatusBarLayoutTest, PanelsReadAsACollectionAndWriteBackUnchanged) {
  TestApp();
  const std::string text =
      "object fmmain: TBarForm\n"
      "  object StatusBar: TStatusBar\n"
      "    Left = 0\n"
      "    Top = 221\n"
      "    Width = 320\n"
      "    Height = 19\n"
      "    Panels = <\n"
      "      item\n"
      "        Width = 200\n"
      "      end\n"
      "      item\n"
      "        Alignment = taCenter\n"
      "        Bevel = pbRaised\n"
      "        Text = '客戶編號'\n"
      "        Width = 80\n"
      "      end>\n"
      "  end\n"
      "end\n";
  Layout layout(text);
  auto* bar = layout.Find<TStatusBar>("StatusBar");
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->Panels()->Count(), 2);
  EXPECT_EQ(bar->Panels()->Items(0)->Width(), 200);
  EXPECT_EQ(bar->Panels()->Items(1)->Text(), "客戶編號");
  EXPECT_EQ(bar->Align(), alBottom);
  EXPECT_EQ(layout.WrittenComponents(), text.substr(text.find("  object ")));
}

class StatusBarTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    bar = New<TStatusBar>(form);
    bar->SetParent(form);
    bar->Panels()->Add()->SetWidth(200);
    bar->Panels()->Add()->SetWidth(60);
    ShowForm();
  }
  TStatusBar* bar = nullptr;
};

TEST_F(StatusBarTest, PanelsTakeTheirWidthsAndTheLastReachesTheEnd) {
  EXPECT_EQ(bar->BoundsRect(), (TRect{0, form->ClientHeight() - 19, form->ClientWidth(), form->ClientHeight()}));
  QApplication::processEvents();
  EXPECT_EQ(bar->PanelLabel(0)->width(), 200);
  QLabel* last = bar->PanelLabel(1);
  EXPECT_GT(last->width(), 60);
  EXPECT_GT(last->geometry().right(), form->ClientWidth() - 40);
  bar->Panels()->Items(0)->SetText(" 客戶編號  C001");
  bar->Panels()->Items(1)->SetAlignment(taRightJustify);
  EXPECT_EQ(bar->PanelLabel(0)->text(), " 客戶編號  C001");
  EXPECT_TRUE(bar->PanelLabel(1)->alignment() & Qt::AlignRight);
  bar->Panels()->Add();
  ASSERT_NE(bar->PanelLabel(2), nullptr);
  QApplication::processEvents();
  EXPECT_EQ(bar->PanelLabel(1)->width(), 60);  // no longer the last
}

TEST_F(StatusBarTest, SimplePanelShowsItsTextInsteadOfThePanels) {
  bar->SetSimpleText("Now, Starting Design");
  bar->SetSimplePanel(true);
  EXPECT_TRUE(bar->PanelLabel(-1)->isVisible());
  EXPECT_EQ(bar->PanelLabel(-1)->text(), "Now, Starting Design");
  EXPECT_FALSE(bar->PanelLabel(0)->isVisible());
  bar->SetSimplePanel(false);
  EXPECT_FALSE(bar->PanelLabel(-1)->isVisible());
  EXPECT_TRUE(bar->PanelLabel(1)->isVisible());
}

TEST_F(StatusBarTest, ALargerFontRestylesThePanelsAndGrowsTheBar) {
  bar->Font()->SetSize(12);
  EXPECT_EQ(bar->PanelLabel(0)->font().pixelSize(), 16);
  EXPECT_EQ(bar->PanelLabel(1)->font().pixelSize(), 16);
  EXPECT_GE(bar->Height(), 24);
  EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());  // still along the bottom
}

// ---- page controls ----

class PageControlTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    pages = New<TPageControl>(form);
    pages->SetParent(form);
    pages->SetBounds(10, 10, 300, 200);
    for (const char* caption : {"文字", "圖形", "欄位"}) {
      auto* sheet = New<TTabSheet>(form);
      sheet->SetCaption(caption);
      sheet->SetPageControl(pages);
      sheets.push_back(sheet);
    }
    pages->OnChange.Bind([this](TObject*) { changes.push_back(pages->ActivePageIndex()); });
  }
  void ClickTab(int index) {
    QTabBar* tabs = pages->TabWidget()->tabBar();
    QPoint at = tabs->mapTo(Widget(), tabs->tabRect(index).center());
    Click({at.x(), at.y()});
  }
  std::vector<std::string> TabTexts() {
    std::vector<std::string> texts;
    QTabWidget* tabs = pages->TabWidget();
    for (int i = 0; i < tabs->count(); ++i) texts.push_back(tabs->tabText(i).toStdString());
    return texts;
  }
  TPageControl* pages = nullptr;
  std::vector<TTabSheet*> sheets;
  std::vector<int> changes;
};

TEST_F(PageControlTest, AClickOnATabSwitchesPagesAndReportsTheChange) {
  ShowForm();
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_EQ(TabTexts(), (std::vector<std::string>{"文字", "圖形", "欄位"}));
  ClickTab(2);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(changes, (std::vector<int>{2}));
  EXPECT_TRUE(WindowWidget(sheets[2]->Handle())->isVisible());
  EXPECT_FALSE(WindowWidget(sheets[0]->Handle())->isVisible());

  pages->SetActivePage(sheets[1]);  // by code: no report
  EXPECT_EQ(pages->TabWidget()->currentIndex(), 1);
  EXPECT_EQ(changes.size(), 1u);
}

TEST_F(PageControlTest, OnChangingCanKeepThePage) {
  bool allow = false;
  int asked = 0;
  pages->OnChanging.Bind([&](TObject*, bool& allowChange) {
    ++asked;
    allowChange = allow;
  });
  ShowForm();
  ClickTab(1);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_TRUE(changes.empty());
  allow = true;
  ClickTab(1);
  EXPECT_EQ(pages->ActivePage(), sheets[1]);
  EXPECT_EQ(asked, 2);
  ClickTab(1);  // the active tab: nothing to ask
  EXPECT_EQ(asked, 2);
}

TEST_F(PageControlTest, SheetsFillThePageAreaAndTheirControlsSitInIt) {
  auto* panel = New<TPanel>(form);
  panel->SetParent(sheets[0]);
  panel->SetAlign(alClient);
  ShowForm();
  const TRect area = pages->DisplayRect();
  EXPECT_GT(area.Top, 10);  // below the tabs
  for (TTabSheet* sheet : sheets) EXPECT_EQ(sheet->BoundsRect(), area);
  EXPECT_EQ(panel->Width(), area.Width());
  QWidget* shown = WindowWidget(panel->Handle());
  QPoint origin = shown->mapTo(Widget(), QPoint(0, 0));
  EXPECT_EQ(origin, QPoint(10 + area.Left, 10 + area.Top));
  pages->SetBounds(10, 10, 340, 220);
  EXPECT_EQ(panel->Width(), pages->DisplayRect().Width());
}

TEST_F(PageControlTest, SheetsReorderHideAndLeaveWithoutAReport) {
  ShowForm();
  sheets[2]->SetPageIndex(0);
  EXPECT_EQ(TabTexts(), (std::vector<std::string>{"欄位", "文字", "圖形"}));
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  sheets[1]->SetTabVisible(false);
  EXPECT_FALSE(pages->TabWidget()->isTabVisible(2));
  sheets[0]->Free();
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_NE(pages->ActivePage(), nullptr);
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(TabTexts(), (std::vector<std::string>{"欄位", "圖形"}));
}

TEST(PageControlLayoutTest, SheetsReadInPageOrderWithTheActivePage) {
  TestApp();
  const std::string text =
      "object fmsetup: TBarForm\n"
      "  object PageControl1: TPageControl\n"
      "    Left = 8\n"
      "    Top = 8\n"
      "    Width = 289\n"
      "    Height = 193\n"
      "    ActivePage = TabSheet2\n"
      "    object TabSheet1: TTabSheet\n"
      "      Caption = '文字'\n"
      "    end\n"
      "    object TabSheet2: TTabSheet\n"
      "      Caption = '圖形'\n"
      "    end\n"
      "  end\n"
      "end\n";
  Layout layout(text);
  auto* pages = layout.Find<TPageControl>("PageControl1");
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), layout.Find<TTabSheet>("TabSheet2"));
  EXPECT_EQ(pages->Pages(0)->Caption(), "文字");
  const std::string written = layout.WrittenComponents();
  EXPECT_NE(written.find("ActivePage = TabSheet2"), std::string::npos) << written;
  EXPECT_LT(written.find("TabSheet1"), written.find("object TabSheet2")) << written;
}

}  // namespace
