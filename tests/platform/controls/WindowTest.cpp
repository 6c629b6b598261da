// Controls over the window services: subclassed and re-created windows, the design hit test, the
// error boundary, and layouts read from a stream.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/controls/Application.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"
#include "platform/controls/Panel.h"
#include "platform/controls/SpeedButton.h"
#include "platform/controls/StdControls.h"
#include "platform/db/DataSource.h"
#include "platform/rtl/Stream.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "platform/win/MessageBox.h"
#include "tests/platform/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

class WindowTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    panel = New<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 200, 100);
    label = New<TLabel>(form);
    label->SetParent(panel);
    label->SetBounds(20, 20, 60, 20);
    label->SetAutoSize(false);
    label->OnClick.Bind([this](TObject*) { ++labelClicks; });
    button = New<TSpeedButton>(form);
    button->SetParent(form);
    button->SetBounds(250, 10, 25, 24);
    button->OnClick.Bind([this](TObject*) { ++buttonClicks; });
  }
  void ClickLabel() { Click({35, 35}); }
  void ClickButton() { Click({262, 22}); }

  TPanel* panel = nullptr;
  TLabel* label = nullptr;
  TSpeedButton* button = nullptr;
  int labelClicks = 0;
  int buttonClicks = 0;
};

TEST_F(WindowTest, FormProcedureCanBeReplacedAndRestoredWhileItsControlsWork) {
  ShowForm();
  const HWND window = form->Handle();
  const WNDPROC original = GetWindowLong(window, GWL_WNDPROC);
  {
    Subclass hook(window);
    EXPECT_EQ(hook.old, original);
    EXPECT_EQ(GetWindowLong(window, GWL_WNDPROC), hook.mine);
    ClickButton();
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(hook.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(hook.Count(WM_LBUTTONUP), 1);
    hook.Restore();
    EXPECT_EQ(GetWindowLong(window, GWL_WNDPROC), original);
    ClickButton();
    EXPECT_EQ(buttonClicks, 2);
    EXPECT_EQ(hook.Count(WM_LBUTTONDOWN), 1);
  }
  ClickLabel();
  EXPECT_EQ(labelClicks, 1);
}

TEST_F(WindowTest, RecreatedWindowHasANewHandleAndTheOldOneHeardWmDestroy) {
  ShowForm();
  const HWND old = panel->Handle();
  Subclass hook(old);
  panel->RecreateWnd();
  const HWND now = panel->Handle();
  EXPECT_NE(now, old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(hook.Count(WM_DESTROY), 1);
  EXPECT_EQ(GetParent(now), form->Handle());
  EXPECT_EQ(WindowWidget(now)->geometry(), QRect(10, 10, 200, 100));
  EXPECT_TRUE(WindowWidget(now)->isVisible());
  ClickLabel();
  EXPECT_EQ(labelClicks, 1);
}

TEST_F(WindowTest, DesignHitTestAnswersNoByDefault) {
  auto* data = New<TDBText>(form);
  data->SetParent(panel);
  for (TControl* control : {static_cast<TControl*>(panel), static_cast<TControl*>(label),
                            static_cast<TControl*>(button), static_cast<TControl*>(data)})
    EXPECT_EQ(control->Perform(CM_DESIGNHITTEST, 0, MAKELPARAM(5, 5)), 0) << control->ClassName();
}

TEST_F(WindowTest, ErrorInAClickHandlerEndsInTheApplicationsErrorBox) {
  ApplicationInstance();
  std::vector<std::string> shown;
  SetMessageBoxHook([&](const std::string& text, const std::string&, UINT type) {
    shown.push_back(text);
    EXPECT_EQ(type & MB_ICONMASK, MB_ICONSTOP);
    return IDOK;
  });
  label->OnClick.Bind([](TObject*) { throw Exception("客戶編號不存在"); });
  button->OnClick.Bind([](TObject*) { throw std::runtime_error("disk full"); });
  ShowForm();
  ClickLabel();
  ClickButton();
  SetMessageBoxHook({});
  Application->Free();
  EXPECT_EQ(shown, (std::vector<std::string>{"客戶編號不存在.", "disk full."}));
  EXPECT_EQ(GetCapture(), 0u);
  EXPECT_EQ(button->State(), bsUp);
}

using LayoutTest = FormTest;

TEST_F(LayoutTest, LayoutReadFromAStreamBuildsTheControlsAndWritesBackOnlyWhatDiffers) {
  RegisterStandardControls();
  const std::string text =
      "object Form1: TForm\n"
      "  object Bar: TPanel\n"
      "    Left = 0\n    Top = 0\n    Width = 300\n    Height = 36\n"
      "    Align = alTop\n    BevelOuter = bvLowered\n    Caption = '工具列'\n"
      "    object Title: TLabel\n"
      "      Left = 8\n      Top = 8\n      Width = 10\n      Height = 10\n"
      "      Caption = '嘜頭編輯'\n      Layout = tlCenter\n"
      "    end\n"
      "    object Tool: TSpeedButton\n"
      "      Left = 200\n      Top = 6\n      Width = 25\n      Height = 24\n"
      "      GroupIndex = 1\n      Down = True\n"
      "    end\n"
      "    object Field: TDBText\n"
      "      Left = 100\n      Top = 8\n      Width = 64\n      Height = 17\n"
      "      DataField = 'CUSTNO'\n"
      "    end\n"
      "  end\n"
      "end\n";
  TMemoryStream in(TextToStream(text));
  TReader(in).ReadRootComponent(form);
  auto* bar = dynamic_cast<TPanel*>(form->FindComponent("Bar"));
  auto* title = dynamic_cast<TLabel*>(form->FindComponent("Title"));
  auto* tool = dynamic_cast<TSpeedButton*>(form->FindComponent("Tool"));
  auto* field = dynamic_cast<TDBText*>(form->FindComponent("Field"));
  ASSERT_TRUE(bar && title && tool && field);
  EXPECT_EQ(title->Parent(), bar);
  EXPECT_EQ(bar->Width(), form->ClientWidth());  // aligned to the top
  EXPECT_GT(title->Width(), 10);                  // sized to its caption once loaded
  EXPECT_EQ(title->Layout(), tlCenter);
  EXPECT_TRUE(tool->Down());
  EXPECT_EQ(field->Width(), 64);  // a data text keeps its size

  TMemoryStream out;
  TWriter(out).WriteRootComponent(form);
  const std::string written = StreamToText(out.Bytes());
  // Whether a line of the text form assigns `prop`.
  auto assigns = [&written](const std::string& prop) {
    return written.find("  " + prop + " = ") != std::string::npos;
  };
  EXPECT_TRUE(assigns("BevelOuter")) << written;
  EXPECT_TRUE(assigns("DataField")) << written;
  EXPECT_TRUE(assigns("Layout")) << written;
  EXPECT_FALSE(assigns("AutoSize")) << written;     // each class's own default
  EXPECT_FALSE(assigns("ParentColor")) << written;
  EXPECT_FALSE(assigns("Color")) << written;        // taken from the parent
  EXPECT_FALSE(assigns("Alignment")) << written;
}

TEST_F(WindowTest, DataSourceReferenceIsClearedWhenItsComponentGoes) {
  auto* data = New<TDBText>(form);
  data->SetParent(panel);
  auto* source = New<TDataSource>(nullptr);
  data->SetDataSource(source);
  source->Free();
  EXPECT_EQ(data->DataSource(), nullptr);
}

TEST(FormReleaseTest, AReleasedFormFreedMeanwhileIsLeftAlone) {
  TestApp();
  auto* freedFirst = New<TForm>(nullptr);
  int destroyed = 0;
  freedFirst->OnDestroy.Bind([&destroyed](TObject*) { ++destroyed; });
  freedFirst->Release();
  freedFirst->Release();
  freedFirst->Free();  // by its owner, say, before the event loop came round
  auto* released = New<TForm>(nullptr);
  released->OnDestroy.Bind([&destroyed](TObject*) { ++destroyed; });
  released->Release();
  QApplication::processEvents();
  EXPECT_EQ(destroyed, 2);
}

}  // namespace
