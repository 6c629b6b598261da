// A stage saves its controls as a design stream and loads them back: the bytes, free names, the
// loading events, and damaged streams.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/Label.h"
#include "platform/controls/StdControls.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Stream.h"
#include "platform/stream/ReadPolicy.h"
#include "platform/stream/TextForm.h"
#include "tests/design/stage/StageTestSupport.h"

namespace {

using namespace stage_test;

class StageStream : public StageFormTest {
 protected:
  void SetUp() override {
    RegisterStandardControls();
    StageFormTest::SetUp();
  }

  std::string Save() {
    TMemoryStream stream;
    stage->SaveToStream(stream);
    return stream.Bytes();
  }

  void Load(const std::string& bytes) {
    TMemoryStream stream(bytes);
    stage->LoadFromStream(stream);
  }

  std::vector<std::string> ChildNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < stage->ControlCount(); ++i) names.push_back(stage->Controls(i)->Name());
    return names;
  }
};

TEST_F(StageStream, EmptyStageSavesOneEndMarkerAndLoadingItEmptiesTheStage) {
  EXPECT_EQ(Save(), std::string(1, '\0'));
  AddLabel("Label1", 8, 8);
  Load(std::string(1, '\0'));
  EXPECT_EQ(stage->ControlCount(), 0);
  EXPECT_EQ(form->FindComponent("Label1"), nullptr);
}

TEST_F(StageStream, EachControlIsABlockOfItsOwnInChildOrder) {
  AddLabel("Label1", 8, 8, "PO/NO");
  AddLabel("Label2", 16, 40, "MADE IN TAIWAN");
  const std::string bytes = Save();
  ASSERT_EQ(bytes.substr(0, 4), "TPF0");
  EXPECT_EQ(bytes.substr(4, 14), std::string("\x06TLabel\x06Label1", 14));
  const size_t second = bytes.find("TPF0", 4);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(bytes.substr(second + 4, 14), std::string("\x06TLabel\x06Label2", 14));
  EXPECT_EQ(bytes.back(), '\0');
  // Each block ends with the end of properties and the end of children.
  EXPECT_EQ(bytes.substr(second - 2, 2), std::string(2, '\0'));
}

TEST_F(StageStream, CaptionsChooseTheirStringTypeByContentAndLength) {
  struct Case {
    std::string caption;
    char type;
  };
  const std::vector<Case> cases = {
      {"C/NO.", 6}, {std::string(255, 'A'), 6}, {std::string(256, 'A'), 12}, {"正嘜", 20}};
  for (const Case& c : cases) {
    for (int i = stage->ControlCount() - 1; i >= 0; --i) stage->Controls(i)->Free();
    AddLabel("Label1", 8, 8, c.caption);
    const std::string bytes = Save();
    const size_t at = bytes.find("\x07" "Caption");
    ASSERT_NE(at, std::string::npos) << c.caption.size();
    EXPECT_EQ(bytes[at + 8], c.type) << "caption of " << c.caption.size() << " bytes";
  }
}

TEST_F(StageStream, IntegersTakeTheSmallestEncoding) {
  TLabel* label = AddLabel("Label1", 8, 8);
  struct Case {
    int value;
    char type;
  };
  for (const Case& c : std::vector<Case>{{127, 2}, {128, 3}, {-129, 3}, {32767, 3}, {32768, 4}}) {
    label->SetTag(c.value);
    const std::string bytes = Save();
    const size_t at = bytes.find("\x03Tag");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(bytes[at + 4], c.type) << c.value;
  }
}

TEST_F(StageStream, LoadedControlsComeBackInOrderOnTheStageWithTheirProperties) {
  AddLabel("Label1", 8, 8, "PO/NO");
  AddLabel("Label2", 16, 40, "正嘜");
  const std::string bytes = Save();
  Load(bytes);
  ASSERT_EQ(ChildNames(), (std::vector<std::string>{"Label1", "Label2"}));
  auto* second = dynamic_cast<TLabel*>(stage->Controls(1));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Parent(), stage);
  EXPECT_EQ(second->Owner(), form);
  EXPECT_EQ(second->Caption(), "正嘜");
  EXPECT_EQ(second->Left(), 16);
  EXPECT_EQ(second->Top(), 40);
  EXPECT_EQ(Save(), bytes);
}

TEST_F(StageStream, NamesThatClashOnLoadGetTheFirstFreeName) {
  AddLabel("Label1", 8, 8);
  AddLabel("Caption9", 8, 40);
  const std::string bytes = Save();
  Load(std::string(1, '\0'));
  // The window already owns Label1 and Label2 elsewhere, as the editor owns its hidden samples.
  for (const char* name : {"Label1", "Label2"}) {
    auto* sample = New<TLabel>(form);
    sample->SetName(name);
  }
  Load(bytes);
  EXPECT_EQ(ChildNames(), (std::vector<std::string>{"Label3", "Caption9"}));
}

TEST_F(StageStream, EveryControlIsLoadingBeforeAnyIsLoaded) {
  AddLabel("Label1", 8, 8);
  AddLabel("Label2", 8, 40);
  AddLabel("Label3", 8, 72);
  const std::string bytes = Save();
  // While a control is loading it has not received its name yet: the events are told apart by
  // the control, named once everything is read.
  std::vector<std::pair<std::string, TComponent*>> events;
  stage->OnControlLoading.Bind([&](TObject* sender, TComponent* c) {
    EXPECT_EQ(sender, stage);
    events.emplace_back("loading", c);
  });
  stage->OnControlLoaded.Bind([&](TObject*, TComponent* c) { events.emplace_back("loaded", c); });
  Load(bytes);
  EXPECT_EQ(events.size(), 3u) << "loaded only once the message loop runs";
  DispatchPostedMessages();
  std::vector<std::string> named;
  for (const auto& [what, c] : events) named.push_back(what + " " + c->Name());
  EXPECT_EQ(named, (std::vector<std::string>{"loading Label1", "loading Label2", "loading Label3",
                                             "loaded Label1", "loaded Label2", "loaded Label3"}));
}

TEST_F(StageStream, AControlFreedBeforeItsLoadedMessageRunsIsNotReported) {
  AddLabel("Label1", 8, 8);
  const std::string bytes = Save();
  int loaded = 0;
  stage->OnControlLoaded.Bind([&](TObject*, TComponent*) { ++loaded; });
  Load(bytes);
  stage->Controls(0)->Free();
  // Whatever is made at the freed control's address meanwhile must not be reported in its place.
  AddLabel("Other", 8, 8);
  DispatchPostedMessages();
  EXPECT_EQ(loaded, 0);
}

TEST_F(StageStream, SavingLeavesTheSelectionAlone) {
  auto* reg = New<TRecordingRegister>(form);
  reg->Link(stage);
  reg->hasList = true;
  reg->selected.push_back(AddLabel("Label1", 8, 8));
  Save();
  EXPECT_TRUE(reg->calls.empty());
  EXPECT_EQ(stage->SelectedCount(), 1);
}

TEST_F(StageStream, UnknownPropertiesAndHandlersAreSkipped) {
  const std::string text =
      "object Label1: TLabel\n  Left = 24\n  Bogus = 5\n  OnClick = NoSuchHandler\n  Top = 32\nend\nend.\n";
  Load(TextToStream(text));
  ASSERT_EQ(stage->ControlCount(), 1);
  EXPECT_EQ(stage->Controls(0)->Left(), 24);
  EXPECT_EQ(stage->Controls(0)->Top(), 32);
}

TEST_F(StageStream, ConvertsToTextAndBackToTheSameBytes) {
  AddLabel("Label1", 8, 8, "PO/NO");
  AddLabel("Label2", 16, 40, "側嘜");
  stage->Controls(1)->SetTag(70000);
  const std::string bytes = Save();
  const std::string text = StreamToText(bytes);
  EXPECT_NE(text.find("object Label2: TLabel"), std::string::npos) << text;
  EXPECT_EQ(TextToStream(text), bytes);
}

// A damaged design never crashes the editor: the read stops with a read error, and what was read
// before the damage stays on the stage.
TEST_F(StageStream, StreamCutShortAtAnyByteKeepsTheControlsReadBeforeIt) {
  AddLabel("Label1", 8, 8, "PO/NO");
  AddLabel("Label2", 16, 40, "正嘜");
  const std::string bytes = Save();
  const size_t second = bytes.find("TPF0", 4);
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    try {
      Load(bytes.substr(0, cut));
      ADD_FAILURE() << "a stream cut at " << cut << " loaded without error";
    } catch (const EReadError&) {
    }
    // Only the end marker missing: both blocks were read before the damage.
    const int expected = cut + 1 == bytes.size() ? 2 : cut >= second ? 1 : 0;
    EXPECT_EQ(stage->ControlCount(), expected) << "cut at " << cut;
  }
  DispatchPostedMessages();
}

TEST_F(StageStream, DamagedHeadersStopTheLoadWithAReadError) {
  AddLabel("Label1", 8, 8);
  const std::string good = Save();
  std::string wrongSignature = good;
  wrongSignature[3] = '1';
  std::string unknownClass = good;
  unknownClass.replace(5, 6, "TLabex");
  std::string oversized = "TPF0\x06TLabel\x06Label1\x07" "Caption\x0C\xFF\xFF\xFF\x7F" + std::string(8, 'A');
  std::string deep = "TPF0";
  const std::string nested("\x06TPanel\x00\x00", 9);  // a nameless panel holding the next one
  for (int i = 0; i < 100000; ++i) deep += nested;
  for (const std::string* bytes : {&wrongSignature, &unknownClass, &oversized, &deep}) {
    EXPECT_THROW(Load(*bytes), EReadError);
    EXPECT_EQ(stage->ControlCount(), 0);
  }
  DispatchPostedMessages();
}

// A window whose designs come from elsewhere sets a policy: a design that asks for more is refused
// whole, and so is a damaged one, and the stage keeps the controls it had.
TEST_F(StageStream, UnderAPolicyARefusedOrDamagedDesignLeavesTheStageAsItWas) {
  TReadPolicy policy;
  policy.Classes = {&TLabel::StaticClass()};
  AddLabel("Label1", 8, 8, "PO/NO");
  AddLabel("Label2", 16, 40, "正嘜");
  const std::string before = Save();
  const int owned = form->ComponentCount();
  stage->SetReadPolicy(policy);
  const std::string label = "object Label1: TLabel\n  Caption = 'N.W.'\nend\n";
  const std::vector<std::string> refused = {
      label + "object Panel1: TPanel\nend\n",
      label + "object Label2: TLabel\n  object Label3: TLabel\n  end\nend\n",  // a child record
      label + "object Label2: TLabel\n  Font.Name = 'Arial'\n  PopupMenu = DsnStage1\nend\n",
      label + "inherited DsnStage1: TDsnStage\n  Left = 90\nend\n",
  };
  for (const std::string& text : refused) {
    EXPECT_THROW(Load(TextToStream(text)), EReadRefused) << text;
    EXPECT_EQ(Save(), before) << text;
    EXPECT_EQ(form->ComponentCount(), owned) << text;
    EXPECT_EQ(stage->Left(), 10);
  }
  const std::string longer = TextToStream(label + label + label);
  for (size_t cut = 0; cut + 1 < longer.size(); cut += 7) {
    EXPECT_THROW(Load(longer.substr(0, cut)), EReadError);
    ASSERT_EQ(Save(), before) << "cut at " << cut;
  }
  Load(TextToStream(label) + std::string(1, '\0'));  // one block, then the end marker
  EXPECT_EQ(ChildNames(), (std::vector<std::string>{"Label1"}));
  DispatchPostedMessages();
}

}  // namespace
