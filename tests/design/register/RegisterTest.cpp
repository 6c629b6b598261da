// The register driven as a user drives it: design mode switched on, controls drawn from a palette
// and moved with the mouse, the clipboard and Delete, and what the register keeps and lets go.

#include <gtest/gtest.h>

#include <QTest>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "design/DsnCmpPlt.h"
#include "design/select/DsnHandle.h"
#include "design/select/DsnRegister.h"
#include "design/select/DsnShape.h"
#include "design/select/DsnSelect.h"
#include "design/select/DsnSubMl.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdControls.h"
#include "platform/rtl/StringList.h"
#include "platform/stream/TextForm.h"
#include "platform/win/Clipboard.h"
#include "platform/win/MessageBox.h"
#include "tests/design/stage/StageTestSupport.h"

namespace {

using stage_test::StageFormTest;

// A palette whose chosen prototype the test sets.
class TTestPalette : public TCustomCmpPlt {
 public:
  void SetActive(bool value) override { active = value; }
  TComponent* GetGene() override { return gene.get(); }
  void SetGene(TComponent* value) override { gene = value; }
  void SetArrowButton(TArrowButton*) override {}
  void AttachArrowButton(TControl*) override {}
  void ResetToArrow() override { ++resets; }
  TWeak<TComponent> gene;
  bool active = false;
  int resets = 0;
};

// Records the order in which watched components are destroyed.
class TDeathWatch : public TComponent {
 public:
  void Watch(TComponent* c) { c->FreeNotification(this); }
  std::vector<std::string> gone;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove && component) gone.push_back(component->Name());
    TComponent::Notification(component, operation);
  }
};

class RegisterTest : public StageFormTest {
 protected:
  void SetUp() override {
    StageFormTest::SetUp();
    RegisterStandardControls();
    palette = New<TTestPalette>(form);
    reg = New<TDsnRegister>(form);
    reg->SetDsnStage(stage);
    reg->SetDsnPanel(palette);
    prototype = New<TLabel>(form);
    prototype->SetName("Proto");
    prototype->SetCaption("C/NO.");
    ShowForm();
    stage->OnControlCreate.Bind([this](TObject*, TComponent* c) { createdEvents.push_back(c->Name()); });
    stage->OnControlPasted.Bind([this](TObject*, TComponent* c) { pastedEvents.push_back(c->Name()); });
  }

  // Stage client coordinates to window coordinates.
  TPoint At(int x, int y) const { return {stage->Left() + x, stage->Top() + y}; }

  void Drag(TPoint from, TPoint to) {
    Press(At(from.X, from.Y));
    Move(At((from.X + to.X) / 2, (from.Y + to.Y) / 2));
    Move(At(to.X, to.Y));
    Release(At(to.X, to.Y));
    DispatchPostedMessages();
  }

  TControl* DrawFromPalette(TPoint from, TPoint to) {
    palette->gene = prototype;
    const int before = Count();
    Drag(from, to);
    return Count() > before ? Element(Count() - 1) : nullptr;
  }

  // The designed controls on the stage: its children less the grab handles.
  std::vector<TControl*> Elements() const {
    std::vector<TControl*> list;
    for (int i = 0; i < stage->ControlCount(); ++i)
      if (!dynamic_cast<TSmallRect*>(stage->Controls(i))) list.push_back(stage->Controls(i));
    return list;
  }
  int Count() const { return static_cast<int>(Elements().size()); }
  TControl* Element(int index) const { return Elements().at(static_cast<size_t>(index)); }

  TTestPalette* palette = nullptr;
  TDsnRegister* reg = nullptr;
  TLabel* prototype = nullptr;
  std::vector<std::string> createdEvents;
  std::vector<std::string> pastedEvents;
};

TEST_F(RegisterTest, DrawingFromThePaletteSnapsTheFrameToTheGridInEitherDirection) {
  reg->SetDesigning(true);
  EXPECT_TRUE(stage->DesignActive());
  EXPECT_TRUE(palette->active);

  TControl* first = DrawFromPalette({13, 21}, {45, 60});
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->BoundsRect(), (TRect{8, 16, 40, 56}));
  EXPECT_EQ(first->Caption(), "C/NO.");
  EXPECT_EQ(first->Name(), "Label1");
  EXPECT_EQ(reg->SelectedCount(), 1);
  EXPECT_EQ(reg->SelectedItem(0), first);
  EXPECT_EQ(palette->GetGene(), nullptr) << "the palette goes back to the arrow";
  EXPECT_EQ(palette->resets, 1);
  EXPECT_EQ(createdEvents, std::vector<std::string>{"Label1"});

  TControl* second = DrawFromPalette({45, 60}, {13, 21});
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->BoundsRect(), (TRect{8, 16, 40, 56}));
  EXPECT_EQ(second->Name(), "Label2");
  EXPECT_EQ(prototype->Name(), "Proto") << "the prototype gets its name back";
}

TEST_F(RegisterTest, NamesTakeTheClassNameAndTheFirstFreeNumber) {
  AddLabel("Label1", 0, 0);
  AddLabel("Label2", 0, 30);
  auto* text = New<TDBText>(form);
  text->SetName("DBText1");
  auto* label = New<TLabel>(form);
  reg->NameControl(label);
  EXPECT_EQ(label->Name(), "Label3");
  auto* next = New<TLabel>(form);
  reg->NameControl(next);
  EXPECT_EQ(next->Name(), "Label4");
  auto* data = New<TDBText>(form);
  reg->NameControl(data);
  EXPECT_EQ(data->Name(), "DBText2");
}

TEST_F(RegisterTest, APressSelectsAndADragMovesOnTheGrid) {
  TLabel* label = AddLabel("Label1", 40, 40);
  reg->SetDesigning(true);
  Drag({45, 45}, {70, 62});
  EXPECT_EQ(reg->SelectedCount(), 1);
  EXPECT_EQ(reg->SelectedItem(0), label);
  // From the snapped press (40, 40) to the snapped release (64, 56).
  EXPECT_EQ(label->Left(), 64);
  EXPECT_EQ(label->Top(), 56);
  EXPECT_EQ(reg->Outline(), nullptr) << "the outline is gone and the cursor free";

  bool asked = false;
  stage->OnMoveQuery.Bind([&](TObject*, TComponent*, bool& canMove) {
    asked = true;
    canMove = false;
  });
  Drag({70, 60}, {110, 90});
  EXPECT_TRUE(asked);
  EXPECT_EQ(label->Left(), 64) << "a refused move leaves the control";

  // A drag on the empty stage moves nothing and leaves nothing selected.
  Drag({200, 150}, {240, 180});
  EXPECT_EQ(reg->SelectedCount(), 0);
  EXPECT_EQ(stage->BoundsRect(), (TRect{10, 10, 310, 210}));
}

TEST_F(RegisterTest, DeleteFreesInnerControlsFirstAndKeepsWhatTheQueryRefuses) {
  auto* panel = New<TPanel>(form);
  panel->SetName("Box");
  panel->SetParent(stage);
  panel->SetBounds(100, 20, 120, 100);
  auto* inner = New<TLabel>(form);
  inner->SetName("Inner");
  inner->SetParent(panel);
  TLabel* kept = AddLabel("Kept", 8, 8);
  auto* watch = New<TDeathWatch>(nullptr);  // told by the destroyed controls only
  watch->Watch(panel);
  watch->Watch(inner);
  reg->SetDesigning(true);
  reg->SelectComponent(panel);
  reg->Targets()->AddTarget(inner);  // different parents: as a multi-selection would hold them
  reg->Targets()->AddTarget(kept);
  stage->OnDeleteQuery.Bind([&](TObject*, TComponent* c, bool& canDelete) { canDelete = c != kept; });
  reg->DeleteSelection();
  EXPECT_EQ(watch->gone, (std::vector<std::string>{"Inner", "Box"}));
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(Element(0), kept);
  EXPECT_EQ(reg->SelectedCount(), 0) << "what stays is no longer selected";
  watch->Free();
}

TEST_F(RegisterTest, CopyThenPasteLaysFreshlyNamedCopiesOverTheOriginals) {
  TLabel* a = AddLabel("Label1", 16, 24, "PO/NO");
  TLabel* b = AddLabel("Label2", 64, 80, "N.W.");
  reg->SetDesigning(true);
  reg->SelectComponent(a);
  reg->Targets()->AddTarget(b);
  stage->CopySelection();
  reg->ClearSelection();
  createdEvents.clear();
  stage->PasteSelection();
  DispatchPostedMessages();
  ASSERT_EQ(Count(), 4);
  auto* copyA = Element(2);
  auto* copyB = Element(3);
  EXPECT_EQ(copyA->BoundsRect(), a->BoundsRect());
  EXPECT_EQ(copyB->BoundsRect(), b->BoundsRect());
  EXPECT_EQ(copyA->Caption(), "PO/NO");
  EXPECT_EQ(copyA->Name(), "Label3");
  EXPECT_EQ(copyB->Name(), "Label4");
  EXPECT_EQ(reg->SelectedCount(), 2);
  EXPECT_EQ(reg->SelectedItem(0), copyA);
  EXPECT_EQ(pastedEvents, (std::vector<std::string>{"Label3", "Label4"})) << "once per pasted control";
  EXPECT_TRUE(createdEvents.empty()) << "a paste is no creation from the palette";

  // Refused with two selected, and with one selected that holds no controls.
  stage->PasteSelection();
  EXPECT_EQ(Count(), 4);
  reg->SelectComponent(copyA);
  stage->PasteSelection();
  EXPECT_EQ(Count(), 4);
}

TEST_F(RegisterTest, CutMovesTheSelectionToTheClipboard) {
  TLabel* a = AddLabel("Label1", 16, 24);
  reg->SetDesigning(true);
  reg->SelectComponent(a);
  stage->CutSelection();
  EXPECT_EQ(Count(), 0);
  EXPECT_TRUE(IsClipboardFormatAvailable(TDsnRegister::ClipboardFormat()));
  reg->ClearSelection();
  stage->PasteSelection();
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Element(0)->Name(), "Label1");
}

// Puts `bytes` on the clipboard under the register's format as they are, size field included.
void PutRawClipboard(const std::string& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!bytes.empty()) {
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  ASSERT_TRUE(OpenClipboard(0));
  EmptyClipboard();
  SetClipboardData(TDsnRegister::ClipboardFormat(), block);
  CloseClipboard();
}

TEST_F(RegisterTest, DamagedClipboardDataCreatesNothing) {
  TLabel* a = AddLabel("Label1", 16, 24);
  reg->SetDesigning(true);
  reg->SelectComponent(a);
  stage->CopySelection();
  ASSERT_TRUE(OpenClipboard(0));
  HGLOBAL block = GetClipboardData(TDsnRegister::ClipboardFormat());
  std::string good(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
  GlobalUnlock(block);
  CloseClipboard();
  const std::string body = good.substr(4);
  const int blockSize = static_cast<int>(good.size());

  // Every size field from -1 to the block size + 1, all but the true one wrong for the body.
  for (int size = -1; size <= blockSize + 1; ++size) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(static_cast<uint32_t>(size) >> (8 * i));
    PutRawClipboard(bytes + body);
    reg->ClearSelection();
    stage->PasteSelection();
    DispatchPostedMessages();
    if (size == static_cast<int>(body.size())) {
      ASSERT_EQ(Count(), 2) << "the true size pastes";
      Element(1)->Free();
    } else {
      ASSERT_EQ(Count(), 1) << "size " << size;
    }
  }
  std::mt19937 random(9);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(4 + random() % 64, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    const uint32_t size = static_cast<uint32_t>(bytes.size() - 4);
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(size >> (8 * i));
    PutRawClipboard(bytes);
    reg->ClearSelection();
    stage->PasteSelection();
    ASSERT_EQ(Count(), 1) << "round " << round;
  }
}

// Clipboard data may name an element already on the stage ("inherited"); when a later block of it
// is damaged, the paste takes back what it made, and only that: the element stays.
TEST_F(RegisterTest, AFailedPasteKeepsTheElementsThatWereThere) {
  TLabel* a = AddLabel("Label1", 16, 24, "PO/NO");
  const TWeak<TLabel> kept(a);
  reg->SetDesigning(true);
  reg->SelectComponent(a);
  reg->ClearSelection();
  const std::string body = TextToStream(
      "inherited Label1: TLabel\n  Caption = 'N.W.'\nend\nobject Label9: TNoSuchLabel\nend\n");
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(body.size() >> (8 * i));
  PutRawClipboard(bytes + body);
  stage->PasteSelection();
  DispatchPostedMessages();
  ASSERT_TRUE(kept);
  EXPECT_EQ(Count(), 1);
}

TEST_F(RegisterTest, StoppingGivesBackAgentsCoverMenuAndSelection) {
  auto* edit = New<TEdit>(form);
  edit->SetParent(stage);
  edit->SetBounds(100, 100, 80, 24);
  auto* menu = New<TPopupMenu>(form);
  for (const char* caption : {"One", "Two", "Three"}) {
    auto* item = New<TMenuItem>(form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  stage->SetCoverMenu(menu);
  reg->SetDesigning(true);
  EXPECT_EQ(reg->AgentCount(), 2) << "the stage and the edit field";
  EXPECT_EQ(menu->Items()->Count(), 0) << "the design menu holds the items meanwhile";
  ASSERT_NE(reg->DesignMenu(), nullptr);
  reg->SelectComponent(edit);
  reg->SetDesigning(false);
  EXPECT_EQ(reg->AgentCount(), 0);
  EXPECT_FALSE(stage->DesignActive());
  EXPECT_EQ(reg->Targets(), nullptr);
  EXPECT_EQ(reg->DesignMenu(), nullptr);
  ASSERT_EQ(menu->Items()->Count(), 3);
  EXPECT_EQ(menu->Items()->Items(0)->Caption(), "One");
  EXPECT_EQ(menu->Items()->Items(2)->Caption(), "Three");

  // An edit field the stage's query leaves alone gets no agent.
  stage->OnCoverQuery.Bind([&](TObject*, TComponent* c, TCoverAccept& accept) {
    if (c == edit) accept = cvNone;
  });
  reg->SetDesigning(true);
  EXPECT_EQ(reg->AgentCount(), 1);
  reg->SetDesigning(false);
}

TEST_F(RegisterTest, ACoveredControlFreedDuringDesignLeavesAgentsAndSelection) {
  auto* edit = New<TEdit>(form);
  edit->SetParent(stage);
  edit->SetBounds(100, 100, 80, 24);
  reg->SetDesigning(true);
  reg->SelectComponent(edit);
  edit->Free();
  DispatchPostedMessages();
  EXPECT_EQ(reg->AgentCount(), 1);
  EXPECT_EQ(reg->SelectedCount(), 0);
  reg->SetDesigning(false);
}

TEST(RegisterLinks, PartnersReceiversAndSwitchesForgetWhatIsFreed) {
  TestApp();
  auto* form = New<TForm>(nullptr);
  auto* other = New<TForm>(nullptr);
  auto* reg = New<TDsnRegister>(form);
  auto* partner = New<TDsnPartner>(other);
  partner->SetDsnRegister(reg);
  ASSERT_EQ(reg->Partners().size(), 1u);
  partner->Free();
  EXPECT_TRUE(reg->Partners().empty());

  auto* receiver = New<TMultiHandler>();
  reg->AddReceiver(receiver);
  EXPECT_EQ(reg->ReceiverCount(), 1);
  receiver->Free();
  EXPECT_EQ(reg->ReceiverCount(), 0);
  reg->SelectComponent(nullptr);  // a new target list links no freed receiver

  auto* toggle = New<TDsnSwitch>(other);
  toggle->SetDsnRegister(reg);
  toggle->StartDesign();
  EXPECT_TRUE(toggle->Down());
  EXPECT_TRUE(reg->DesignActive());
  toggle->StartDesign();  // already down: nothing
  EXPECT_TRUE(reg->DesignActive());
  toggle->StopDesign();
  EXPECT_FALSE(reg->DesignActive());
  form->Free();  // the register of another window goes
  EXPECT_EQ(toggle->DsnRegister(), nullptr);
  int clicks = 0;
  toggle->OnClick.Bind([&](TObject*) { ++clicks; });
  toggle->StartDesign();
  EXPECT_TRUE(toggle->Down());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(toggle->GroupIndex(), TDsnSwitch::kGroupIndex);
  EXPECT_TRUE(toggle->AllowAllUp());
  other->Free();
}

// With the message on, switching design mode on says so first, and switching it off says nothing.
TEST(RegisterLinks, TheSwitchsMessageComesBeforeDesignModeAndOnlyWhenSwitchingOn) {
  TestApp();
  auto* form = New<TForm>(nullptr);
  auto* reg = New<TDsnRegister>(form);
  auto* toggle = New<TDsnSwitch>(form);
  toggle->SetDsnRegister(reg);
  toggle->SetDsnMessageFlg(true);
  std::vector<std::string> shown;
  bool designingWhenShown = true;
  SetMessageBoxHook([&](const std::string& text, const std::string&, UINT) {
    shown.push_back(text);
    designingWhenShown = reg->DesignActive();
    return IDOK;
  });
  toggle->StartDesign();
  toggle->StopDesign();
  SetMessageBoxHook({});
  EXPECT_EQ(shown, std::vector<std::string>{"Now, Starting Design"});
  EXPECT_FALSE(designingWhenShown);
  EXPECT_FALSE(reg->DesignActive());
  form->Free();
}

// A right click on an element selects it and opens the element's own popup menu.
TEST_F(RegisterTest, ARightClickSelectsAndOpensTheElementsMenu) {
  TLabel* label = AddLabel("Label1", 40, 40);
  auto* menu = New<TPopupMenu>(form);
  auto* item = New<TMenuItem>(form);
  item->SetCaption("Shape");
  menu->Items()->Add(item);
  label->SetPopupMenu(menu);
  reg->SetDesigning(true);
  QTest::mousePress(Window(), Qt::RightButton, Qt::NoModifier, QPoint(At(50, 45).X, At(50, 45).Y));
  QTest::mouseRelease(Window(), Qt::RightButton, Qt::NoModifier, QPoint(At(50, 45).X, At(50, 45).Y));
  DispatchPostedMessages();
  EXPECT_EQ(reg->SelectedItem(0), label);
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr) << "the element's menu is open";
  popup->close();
  EXPECT_EQ(GetCapture(), HWND{0}) << "the press's capture is over";
  reg->SetDesigning(false);
}

TEST_F(RegisterTest, TheDesignMenusPropertyCommandsSetWhatTheHandlerGivesOnEveryTarget) {
  TLabel* a = AddLabel("A", 40, 40, "PO/NO");
  TLabel* b = AddLabel("B", 40, 100, "N.W.");
  b->SetColor(clBlack);
  stage->SelfProps()->SetText("Caption|文字\nColor|顏色\n");
  stage->OutProps()->SetText("Caption\n");
  std::vector<std::string> heard;
  stage->OnMenuClick.Bind([&](TObject* sender, TSelectedComponents* targets, const std::string& prop, std::string& value) {
    EXPECT_EQ(sender, stage);
    heard.push_back(prop + "=" + value + " x" + std::to_string(targets->Count()));
    value = prop == "Color" ? "255" : "Z";
  });
  reg->SetDesigning(true);
  ASSERT_NE(reg->DesignMenu(), nullptr) << "SelfProps alone make a design menu";
  auto commands = [&](TControl* target) {
    reg->RightMouseDown(stage, target, 5, 5);
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    std::vector<TDsnMenuItem*> items;
    TMenuItem* menu = reg->DesignMenu()->Items();
    for (int i = 0; i < menu->Count(); ++i)
      if (auto* item = dynamic_cast<TDsnMenuItem*>(menu->Items(i))) items.push_back(item);
    return items;
  };
  reg->SelectComponent(a);
  std::vector<TDsnMenuItem*> one = commands(a);
  ASSERT_EQ(one.size(), 2u);
  EXPECT_EQ(one[0]->Caption(), "文字");
  EXPECT_EQ(one[0]->Value(), "PO/NO");
  one[0]->Click();
  EXPECT_EQ(a->Caption(), "Z");

  reg->Targets()->AddTarget(b);
  std::vector<TDsnMenuItem*> two = commands(a);
  ASSERT_EQ(two.size(), 1u) << "Caption is out for two targets";
  EXPECT_EQ(two[0]->PropName(), "Color");
  two[0]->Click();
  EXPECT_EQ(a->Color(), 255);
  EXPECT_EQ(b->Color(), 255);
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0], "Caption=PO/NO x1");
  EXPECT_EQ(heard[1], "Color= x2") << "the two colours differ, so no value is offered";
  reg->SetDesigning(false);
}

// A window's handlers may free what the register asked them about, the register itself included;
// the register then stops where it stands and touches none of it again.
TEST_F(RegisterTest, HandlersThatFreeWhatTheyWereAskedAboutLeaveNothingDangling) {
  TLabel* a = AddLabel("A", 40, 40, "PO/NO");
  AddLabel("B", 40, 100, "N.W.");
  stage->SelfProps()->SetText("Caption|文字\n");
  stage->OutProps()->SetText("Caption\n");
  reg->SetDesigning(true);

  // A design-menu command freed by the handler it runs: the value still reaches the element.
  reg->SelectComponent(a);
  reg->RightMouseDown(stage, a, 5, 5);
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  TDsnMenuItem* command = nullptr;
  for (int i = 0; i < reg->DesignMenu()->Items()->Count(); ++i)
    if (auto* item = dynamic_cast<TDsnMenuItem*>(reg->DesignMenu()->Items()->Items(i))) command = item;
  ASSERT_NE(command, nullptr);
  stage->OnMenuClick.Bind([&](TObject*, TSelectedComponents*, const std::string&, std::string& value) {
    value = "Z";
    command->Free();
  });
  reg->DesignMenuClick(command);
  EXPECT_EQ(a->Caption(), "Z");

  // Select All whose query frees an element it is about to ask about, then the register.
  TControl* doomed = Element(1);
  stage->OnSelectQuery.Bind([&](TObject*, TComponent* c, TSelectAccept&) {
    if (c == a && doomed) {
      doomed->Free();
      doomed = nullptr;
    }
  });
  reg->SelectAll();
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(reg->SelectedItem(0), a);
  stage->OnSelectQuery.Bind([&](TObject*, TComponent*, TSelectAccept&) { FreeAndNil(reg); });
  TDsnRegister* gone = reg;
  gone->SelectAll();
  EXPECT_EQ(reg, nullptr);
  stage->OnSelectQuery = {};
}

// The same for the questions of a press, of design mode starting and of a partner: a window may
// close itself (the register with it, or the stage) while it answers.
TEST_F(RegisterTest, AQueryThatFreesTheRegisterOrTheStageEndsWhatAskedIt) {
  TLabel* label = AddLabel("A", 40, 40, "PO/NO");
  reg->SetDesigning(true);
  DispatchPostedMessages();

  // A press that would draw a label from the palette, whose question frees the register.
  palette->gene = prototype;
  stage->OnSelectQuery.Bind([&](TObject*, TComponent*, TSelectAccept&) { FreeAndNil(reg); });
  Drag({150, 120}, {200, 150});
  EXPECT_EQ(reg, nullptr);
  EXPECT_EQ(Count(), 1) << "nothing was drawn";
  stage->OnSelectQuery = {};

  // Design mode starting, whose cover question frees the register on the first control.
  reg = New<TDsnRegister>(form);
  reg->SetDsnStage(stage);
  stage->OnCoverQuery.Bind([&](TObject*, TComponent*, TCoverAccept&) { FreeAndNil(reg); });
  TDsnRegister* starting = reg;
  starting->SetDesigning(true);
  DispatchPostedMessages();
  EXPECT_EQ(reg, nullptr);

  // A partner asking whether the label may be selected, whose cover question frees the stage.
  reg = New<TDsnRegister>(form);
  stage->OnCoverQuery = {};
  reg->SetDsnStage(stage);
  auto* partner = New<TDsnPartner>(form);
  partner->SetDsnRegister(reg);
  stage->OnCoverQuery.Bind([&](TObject*, TComponent*, TCoverAccept&) { FreeAndNil(stage); });
  EXPECT_FALSE(partner->CanSelect(label));
  EXPECT_EQ(stage, nullptr);
  EXPECT_EQ(reg->DsnStage(), nullptr);
}

}  // namespace

namespace {

// The multi-selection register as the mark editor uses it: Shift+click, the rubber band, and a
// selection dragged together.
class MultiSelectTest : public StageFormTest {
 protected:
  void SetUp() override {
    StageFormTest::SetUp();
    reg = New<TDsnMlRegister>(form);
    reg->SetDsnStage(stage);
    ShowForm();
    for (int i = 0; i < 3; ++i) {
      labels[i] = AddLabel("L" + std::to_string(i), 16 + 64 * i, 16 + 40 * i);
      labels[i]->SetAutoSize(false);
      labels[i]->SetBounds(16 + 64 * i, 16 + 40 * i, 40, 16);
    }
    reg->SetDesigning(true);
  }
  void TearDown() override {
    reg->SetDesigning(false);
    StageFormTest::TearDown();
  }
  QPoint At(int x, int y) const { return QPoint(stage->Left() + x, stage->Top() + y); }
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mousePress(Window(), Qt::LeftButton, modifiers, from);
    QTest::mouseMove(Window(), (from + to) / 2);
    QTest::mouseMove(Window(), to);
    QTest::mouseRelease(Window(), Qt::LeftButton, modifiers, to);
    DispatchPostedMessages();
  }
  std::vector<TControl*> Selected() const {
    std::vector<TControl*> list;
    for (int i = 0; i < reg->SelectedCount(); ++i) list.push_back(reg->SelectedItem(i));
    return list;
  }

  TDsnMlRegister* reg = nullptr;
  TLabel* labels[3] = {};
};

TEST_F(MultiSelectTest, ABandShiftClicksAndADragOfTheWholeSelection) {
  // A band from the empty (200, 130) back to (70, 50) touches the second and third labels only.
  Drag(At(200, 130), At(70, 50));
  EXPECT_EQ(reg->BandShape(), nullptr);
  EXPECT_EQ(Selected(), (std::vector<TControl*>{labels[1], labels[2]}));

  // Shift+click adds the first, and again removes it; nothing moves.
  Drag(At(20, 20), At(20, 20), Qt::ShiftModifier);
  EXPECT_EQ(Selected().size(), 3u);
  Drag(At(20, 20), At(20, 20), Qt::ShiftModifier);
  EXPECT_EQ(Selected(), (std::vector<TControl*>{labels[1], labels[2]}));
  Drag(At(20, 20), At(20, 20), Qt::ShiftModifier);

  // A drag on one of them moves all three by the same snapped distance, except where the stage
  // refuses.
  stage->OnMoveQuery.Bind([this](TObject*, TComponent* c, bool& canMove) { canMove = c != labels[2]; });
  Drag(At(85, 60), At(110, 77));
  EXPECT_EQ(labels[0]->BoundsRect(), (TRect{40, 32, 80, 48}));
  EXPECT_EQ(labels[1]->BoundsRect(), (TRect{104, 72, 144, 88}));
  EXPECT_EQ(labels[2]->BoundsRect(), (TRect{144, 96, 184, 112})) << "refused";
  EXPECT_EQ(Selected().size(), 3u);

  // A click on the empty stage clears the selection; Ctrl+press on a label starts a band.
  Drag(At(280, 180), At(280, 180));
  EXPECT_TRUE(Selected().empty());
  Drag(At(45, 35), At(60, 40), Qt::ControlModifier);
  EXPECT_EQ(Selected(), std::vector<TControl*>{labels[0]}) << "the band from the label touched only it";
}

// The select partner hears every change of the selection, with the selection after it.
TEST_F(MultiSelectTest, TheSelectPartnerHearsEachChangeWithTheSelectionAfterIt) {
  reg->SetDesigning(false);
  auto* partner = New<TDsnSelect>(form);
  partner->SelectSingle(labels[0]);  // design mode off: nothing
  partner->SetDsnRegister(reg);
  std::vector<std::pair<TSelectOperation, std::vector<TComponent*>>> heard;
  partner->OnChangeSelected.Bind([&](TObject* sender, TSelectedComponents* targets, TSelectOperation op) {
    EXPECT_EQ(sender, partner);
    std::vector<TComponent*> items;
    for (int i = 0; i < targets->Count(); ++i) items.push_back(targets->Items(i));
    heard.emplace_back(op, items);
  });
  reg->SetDesigning(true);
  ASSERT_NE(partner->Manager(), nullptr);

  Drag(At(290, 190), At(1, 1));  // a band over all three
  ASSERT_EQ(heard.size(), 4u);
  EXPECT_EQ(heard[0].first, soClear);
  EXPECT_EQ(heard[1].second.size(), 1u);
  EXPECT_EQ(heard[3].first, soAdd);
  EXPECT_EQ(heard[3].second, (std::vector<TComponent*>{labels[0], labels[1], labels[2]}));

  // A selected label freed by other code: forgotten first (its place empty), then deleted.
  heard.clear();
  labels[1]->Free();
  labels[1] = nullptr;
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].first, soForget);
  EXPECT_EQ(heard[0].second, (std::vector<TComponent*>{labels[0], nullptr, labels[2]}));
  EXPECT_EQ(heard[1].first, soDelete);
  EXPECT_EQ(heard[1].second, (std::vector<TComponent*>{labels[0], labels[2]}));

  // From code: one label, or a list of which none lies on the stage (nothing happens then).
  heard.clear();
  partner->SelectSingle(labels[2]);
  EXPECT_EQ(reg->SelectedCount(), 1);
  EXPECT_EQ(reg->SelectedItem(0), labels[2]);
  partner->SelectList({form});
  EXPECT_EQ(reg->SelectedItem(0), labels[2]);
  partner->Free();
  Drag(At(20, 20), At(20, 20));  // the register goes on without its partner
  EXPECT_EQ(reg->SelectedItem(0), labels[0]);
}

}  // namespace
