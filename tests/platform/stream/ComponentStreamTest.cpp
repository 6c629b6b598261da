// The binary component stream: how values are encoded, which properties a record holds, and how
// reading resolves classes, names, references and handlers and survives damaged input.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Texts.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"
#include "tests/support/SampleComponents.h"

namespace {

// Builds streams byte by byte for inputs a writer would never produce.
struct Bytes {
  std::string data;
  Bytes& b(std::initializer_list<int> bytes) {
    for (int v : bytes) data.push_back(static_cast<char>(v));
    return *this;
  }
  Bytes& s(const std::string& shortString) {
    data.push_back(static_cast<char>(shortString.size()));
    data += shortString;
    return *this;
  }
  Bytes& sig() {
    data += "TPF0";
    return *this;
  }
};

struct FormDeleter {
  void operator()(TComponent* c) const { c->Free(); }
};
using FormPtr = std::unique_ptr<TSampleForm, FormDeleter>;
FormPtr MakeForm(const std::string& name = "Form1") {
  FormPtr form(New<TSampleForm>(nullptr));
  form->SetName(name);
  return form;
}

TSampleLabel* AddLabel(TComponent* owner, const std::string& name) {
  auto* label = New<TSampleLabel>(owner);
  label->SetName(name);
  return label;
}

// Writes the components as a design stream: one block per component, then the end marker.
std::string WriteDesign(TComponent* root, std::initializer_list<TComponent*> components) {
  TMemoryStream ms;
  {
    TWriter end(ms, 4096);
    for (TComponent* c : components) {
      TWriter w(ms, 4096);
      w.SetRoot(root);
      w.WriteSignature();
      w.WriteComponent(c);
    }
    end.WriteListEnd();
  }
  return ms.Bytes();
}

// Reads a design stream into `form`, which owns and parents what is read.
void ReadDesign(const std::string& bytes, TSampleForm* form,
                std::function<void(TReader&)> setup = nullptr) {
  TMemoryStream ms(bytes);
  TReader reader(ms, 4096);
  if (setup) setup(reader);
  reader.ReadComponents(form, form, nullptr);
}

// The bytes of one label's property list in a record written for `label`.
std::string RecordOf(TSampleLabel* label) {
  return WriteDesign(label->Owner(), {label});
}

std::vector<std::string> PropertyNames(const std::string& design) {
  // Walks the first record: signature, class, name, then name/value pairs until 0.
  TMemoryStream ms(design);
  TReader r(ms, 4096);
  r.ReadSignature();
  r.ReadStr();
  r.ReadStr();
  std::vector<std::string> names;
  while (!r.EndOfList()) {
    names.push_back(r.ReadStr());
    r.SkipValue();
  }
  return names;
}

}  // namespace

// ---- value encodings ----

struct IntegerCase {
  int64_t value;
  TValueType type;
  size_t bytes;
};
void PrintTo(const IntegerCase& c, std::ostream* os) { *os << c.value; }
class IntegerEncoding : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerEncoding, UsesTheSmallestTypeThatHoldsTheValue) {
  TMemoryStream ms;
  {
    TWriter w(ms);
    w.WriteInteger(GetParam().value);
  }
  std::string bytes = ms.Bytes();
  ASSERT_EQ(bytes.size(), 1 + GetParam().bytes);
  EXPECT_EQ(static_cast<uint8_t>(bytes[0]), GetParam().type);
  TReader r(ms);
  ms.SetPosition(0);
  EXPECT_EQ(r.ReadInt64(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, IntegerEncoding,
                         ::testing::Values(IntegerCase{127, vaInt8, 1}, IntegerCase{-128, vaInt8, 1},
                                           IntegerCase{128, vaInt16, 2}, IntegerCase{-129, vaInt16, 2},
                                           IntegerCase{32767, vaInt16, 2},
                                           IntegerCase{32768, vaInt32, 4},
                                           IntegerCase{-2147483648LL, vaInt32, 4},
                                           IntegerCase{2147483648LL, vaInt64, 8},
                                           IntegerCase{5000000000LL, vaInt64, 8}));

TEST(StringEncoding, AsciiUpTo255IsShortLongerIsLongNonAsciiIsUtf8) {
  auto typeOf = [](const std::string& text) {
    TMemoryStream ms;
    {
      TWriter w(ms);
      w.WriteString(text);
    }
    TReader r(ms);
    ms.SetPosition(0);
    EXPECT_EQ(r.ReadString(), text);
    return static_cast<TValueType>(ms.Bytes()[0]);
  };
  EXPECT_EQ(typeOf(std::string(255, 'x')), vaString);
  EXPECT_EQ(typeOf(std::string(256, 'x')), vaLString);
  EXPECT_EQ(typeOf("嘜頭編輯程式"), vaUTF8String);
  EXPECT_EQ(typeOf(""), vaString);
}

TEST(StringEncoding, ShortStringsOfOtherWritersAreReadAsBig5) {
  // "正嘜" in code page 950, as a vaString.
  std::string bytes = Bytes().b({vaString, 4, 0xA5, 0xBF, 0xE1, 0x4D}).data;
  TMemoryStream ms(bytes);
  TReader r(ms);
  EXPECT_EQ(r.ReadString(), "正嘜");
}

TEST(IdentEncoding, BooleanAndNilNamesBecomeTheirOwnTypes) {
  TMemoryStream ms;
  {
    TWriter w(ms);
    for (const char* ident : {"false", "TRUE", "Null", "nil", "clBlack"}) w.WriteIdent(ident);
  }
  std::string expected = Bytes().b({vaFalse, vaTrue, vaNull, vaNil, vaIdent}).s("clBlack").data;
  EXPECT_EQ(ms.Bytes(), expected);
}

TEST(DesignStream, EmptyDesignIsTheEndMarkerAloneAndReadsNothing) {
  auto form = MakeForm();
  std::string bytes = WriteDesign(form.get(), {});
  EXPECT_EQ(bytes, std::string(1, '\0'));
  ReadDesign(bytes, form.get());
  EXPECT_EQ(form->ComponentCount(), 0);
}

// ---- which properties a record holds ----

TEST(Record, HoldsNonDefaultPropertiesInDeclarationOrderThenCustomOnes) {
  auto form = MakeForm();
  TSampleLabel* label = AddLabel(form.get(), "Label1");
  // Defaults only: the integers without a declared default, the font's undeclared ones, and the
  // always-present custom property.
  EXPECT_EQ(PropertyNames(RecordOf(label)),
            (std::vector<std::string>{"Left", "Top", "Width", "Height", "Font.Charset",
                                      "Font.Color", "Font.Height", "Font.Name", "Columns",
                                      "GeneName"}));

  label->SetAlignment(smpCenter);
  label->SetCaption("C/NO.");
  label->SetColor(clWhite);
  label->Font()->SetStyle({smpBold});
  label->SetVisible(false);
  label->Items()->Add("a");
  label->Columns()->Add();
  label->Ratio = 1.5;
  label->Scale = 2.5f;
  label->Price = 12.3456;
  label->When = 45000.5;
  label->Big = 1;
  label->Initial = 'B';
  label->Wide = "寬";
  label->OnClick.Bind(form.get(), &TSampleForm::LabelClick);
  label->Picture = {1, 2, 3};
  EXPECT_EQ(PropertyNames(RecordOf(label)),
            (std::vector<std::string>{
                "Left", "Top", "Width", "Height", "Alignment", "Caption", "Color", "Font.Charset",
                "Font.Color", "Font.Height", "Font.Name", "Font.Style", "Visible", "Items.Strings",
                "Columns", "Ratio", "Scale", "Price", "When", "Big", "Initial", "Wide", "OnClick",
                "GeneName", "Picture"}));
}

// Names and values that straddle the end of the buffer take the slow way through it: the bytes
// are the same whatever the buffer size, and a reader with as small a buffer reads them back.
TEST(Record, BytesDoNotDependOnTheBufferSize) {
  auto form = MakeForm();
  TSampleLabel* label = AddLabel(form.get(), "Label_with_a_longer_name");
  label->SetCaption(std::string(300, 'x'));
  label->Font()->SetName("Courier New");
  label->Font()->SetStyle({smpBold, smpUnderline});
  label->Items()->Add("a");
  label->Columns()->Add();
  const std::string expected = RecordOf(label);
  for (int bufSize = 16; bufSize <= 80; ++bufSize) {
    TMemoryStream ms;
    {
      TWriter w(ms, bufSize);
      w.SetRoot(form.get());
      w.WriteSignature();
      w.WriteComponent(label);
      w.WriteListEnd();
    }
    ASSERT_TRUE(ms.Bytes() == expected) << "buffer of " << bufSize;

    auto copy = MakeForm("Form2");
    ms.SetPosition(0);
    {
      TReader r(ms, bufSize);
      r.ReadComponents(copy.get(), copy.get(), nullptr);
    }
    auto* read = dynamic_cast<TSampleLabel*>(copy->FindComponent("label_WITH_a_longer_name"));
    ASSERT_NE(read, nullptr) << "buffer of " << bufSize;
    EXPECT_EQ(read->Caption(), label->Caption());
    EXPECT_EQ(read->Font()->Name(), "Courier New");
    EXPECT_EQ(read->Font()->Style(), label->Font()->Style());
    EXPECT_EQ(read->Columns()->Count(), 1);
  }
}

TEST(Record, PrototypeLabelRecordHasTheExactBytes) {
  auto form = MakeForm();
  TSampleLabel* label = AddLabel(form.get(), "Dpst_TLabel");
  label->SetLeft(0);
  label->SetWidth(50);
  label->SetHeight(-129);
  label->SetTop(40000);
  label->Font()->SetCharset(CHINESEBIG5_CHARSET);
  label->Font()->SetColor(clBlack);
  label->Font()->SetHeight(-13);
  label->Font()->SetName("新細明體");
  label->Font()->SetStyle({smpBold, smpUnderline});
  label->GeneName = "Dpst_tshape2X";
  Bytes expected;
  expected.sig().s("TSampleLabel").s("Dpst_TLabel");
  expected.s("Left").b({vaInt8, 0});
  expected.s("Top").b({vaInt32, 0x40, 0x9C, 0, 0});
  expected.s("Width").b({vaInt8, 50});
  expected.s("Height").b({vaInt16, 0x7F, 0xFF});
  expected.s("Font.Charset").b({vaIdent}).s("CHINESEBIG5_CHARSET");
  expected.s("Font.Color").b({vaIdent}).s("clBlack");
  expected.s("Font.Height").b({vaInt8, 0xF3});
  expected.s("Font.Name").b({vaUTF8String, 12, 0, 0, 0});
  expected.data += "新細明體";
  expected.s("Font.Style").b({vaSet}).s("smpBold").s("smpUnderline").b({0});
  expected.s("Columns").b({vaCollection, 0});
  expected.s("GeneName").b({vaString}).s("Dpst_tshape2X");
  expected.b({0, 0, 0});  // end of properties, end of children, end of the design
  EXPECT_EQ(RecordOf(label), expected.data);
}

TEST(Record, ColoursWithoutANameAreWrittenAsNumbers) {
  auto form = MakeForm();
  TSampleLabel* label = AddLabel(form.get(), "Label1");
  label->SetColor(0x123456);
  auto copy = MakeForm("Form2");
  ReadDesign(RecordOf(label), copy.get());
  ASSERT_NE(copy->Label1, nullptr);
  EXPECT_EQ(copy->Label1->Color(), 0x123456);
}

// ---- round trips ----

TEST(RoundTrip, EveryKindOfValueComesBackExactly) {
  auto form = MakeForm();
  TSampleLabel* label = AddLabel(form.get(), "Label1");
  label->SetLeft(-5);
  label->SetCaption(std::string(300, 'q') + "嘜");
  label->SetAlignment(smpRight);
  label->Font()->SetStyle({smpItalic, smpStrikeOut});
  label->Font()->SetColor(clAppWorkSpace);
  label->Items()->SetText("PO/NO\nC/NO.\n正嘜\n");
  static_cast<TSampleItem*>(label->Columns()->Add())->SetWidth(200);
  static_cast<TSampleItem*>(label->Columns()->Add())->SetText("second");
  label->Ratio = 0.1;
  label->Scale = 1.25f;
  label->Price = -12345678.9012;
  label->When = 36526.75;
  label->Big = -5000000000LL;
  label->Initial = 'z';
  label->Wide = "側嘜";
  label->GeneName = std::string(300, 'g');
  label->Picture.assign(5000, 0xAB);

  auto copy = MakeForm("Form2");
  ReadDesign(RecordOf(label), copy.get());
  TSampleLabel* read = copy->Label1;
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Left(), -5);
  EXPECT_EQ(read->Caption(), label->Caption());
  EXPECT_EQ(read->Alignment(), smpRight);
  EXPECT_EQ(read->Font()->Style(), (TSampleStyles{smpItalic, smpStrikeOut}));
  EXPECT_EQ(read->Font()->Color(), clAppWorkSpace);
  EXPECT_EQ(read->Items()->Text(), "PO/NO\nC/NO.\n正嘜\n");
  ASSERT_EQ(read->Columns()->Count(), 2);
  EXPECT_EQ(static_cast<TSampleItem*>(read->Columns()->Items(0))->Width(), 200);
  EXPECT_EQ(static_cast<TSampleItem*>(read->Columns()->Items(1))->Text(), "second");
  EXPECT_EQ(read->Ratio, 0.1);
  EXPECT_EQ(read->Scale, 1.25f);
  EXPECT_DOUBLE_EQ(read->Price, -12345678.9012);
  EXPECT_EQ(read->When, 36526.75);
  EXPECT_EQ(read->Big, -5000000000LL);
  EXPECT_EQ(read->Initial, 'z');
  EXPECT_EQ(read->Wide, "側嘜");
  EXPECT_EQ(read->GeneName, std::string(255, 'g'));  // the custom property keeps 255 characters
  EXPECT_EQ(read->Picture, label->Picture);
  // Writing the copy gives the same bytes but for the truncated custom property.
  read->GeneName = label->GeneName;
  read->SetName("Label1");
  EXPECT_EQ(RecordOf(read), RecordOf(label));
}

TEST(RoundTrip, TwoBlocksComeBackInOrderWithTheParentGiven) {
  auto form = MakeForm();
  AddLabel(form.get(), "Label1")->SetCaption("first");
  AddLabel(form.get(), "Label2")->SetCaption("second");
  std::string bytes = WriteDesign(form.get(), {form->Components(0), form->Components(1)});

  auto copy = MakeForm("Form2");
  std::vector<TComponent*> seen;
  TMemoryStream ms(bytes);
  TReader reader(ms);
  reader.ReadComponents(copy.get(), copy.get(), [&](TComponent* c) { seen.push_back(c); });
  ASSERT_EQ(copy->ComponentCount(), 2);
  EXPECT_EQ(seen, copy->ComponentList());
  EXPECT_EQ(static_cast<TSampleLabel*>(copy->Components(0))->Caption(), "first");
  EXPECT_EQ(static_cast<TSampleLabel*>(copy->Components(1))->Caption(), "second");
  EXPECT_EQ(static_cast<TSampleLabel*>(copy->Components(1))->ParentComponent(), copy.get());
  // The reader stops right after the end marker.
  EXPECT_EQ(ms.Position(), static_cast<int64_t>(bytes.size()));
}

TEST(RoundTrip, ChildrenAreWrittenInsideTheirParentAndReadBackIntoIt) {
  auto form = MakeForm();
  auto* panel = New<TSamplePanel>(form.get());
  panel->SetName("Panel1");
  TSampleLabel* inner = AddLabel(form.get(), "Inner");
  inner->SetParentComponent(panel);
  std::string bytes = WriteDesign(form.get(), {panel});

  auto copy = MakeForm("Form2");
  ReadDesign(bytes, copy.get());
  ASSERT_NE(copy->Panel1, nullptr);
  ASSERT_EQ(copy->Panel1->Children.size(), 1u);
  EXPECT_EQ(copy->Panel1->Children[0]->Name(), "Inner");
  EXPECT_EQ(copy->Panel1->Children[0]->Owner(), copy.get());
}

TEST(RoundTrip, WholeRootReadIntoAnExistingRootSetsFieldsAndCallsLoaded) {
  auto form = MakeForm("Layout");
  AddLabel(form.get(), "Label1")->SetCaption("hello");
  TMemoryStream ms;
  {
    TWriter w(ms);
    w.WriteRootComponent(form.get());
  }
  auto target = MakeForm("");
  ms.SetPosition(0);
  TReader r(ms);
  r.ReadRootComponent(target.get());
  EXPECT_EQ(target->Name(), "Layout");
  ASSERT_NE(target->Label1, nullptr);
  EXPECT_EQ(target->Label1->Caption(), "hello");
  EXPECT_FALSE(target->ComponentState().Contains(csLoading));
  EXPECT_FALSE(target->Label1->ComponentState().Contains(csLoading));
}

// ---- references and handlers ----

TEST(References, ForwardReferencesAndHandlersAreResolvedAfterTheRead) {
  auto form = MakeForm();
  TSampleLabel* first = AddLabel(form.get(), "Label1");
  TSampleLabel* second = AddLabel(form.get(), "Label2");
  first->SetBuddy(second);  // names a component that comes later in the stream
  first->OnClick.Bind(form.get(), &TSampleForm::LabelClick);
  std::string bytes = WriteDesign(form.get(), {first, second});

  auto copy = MakeForm("Form2");
  ReadDesign(bytes, copy.get());
  TSampleLabel* read = copy->Label1;
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Buddy(), copy->FindComponent("label2"));
  read->OnClick(read);
  EXPECT_EQ(copy->Clicks, std::vector<TObject*>{read});
  EXPECT_TRUE(form->Clicks.empty());
}

TEST(References, NameOfAnotherRootIsResolvedThroughTheGlobalLookup) {
  auto main = MakeForm("fmmain");
  TSampleLabel* shared = AddLabel(main.get(), "Shared");
  RegisterFindGlobalComponentProc([&](std::string_view name) -> TComponent* {
    return SameText(name, "fmmain") ? main.get() : nullptr;
  });
  auto editor = MakeForm("fmmd");
  TSampleLabel* label = AddLabel(editor.get(), "Label1");
  label->SetBuddy(shared);
  std::string bytes = WriteDesign(editor.get(), {label});
  EXPECT_NE(bytes.find("fmmain.Shared"), std::string::npos);

  auto copy = MakeForm("Form2");
  ReadDesign(bytes, copy.get());
  EXPECT_EQ(copy->Label1->Buddy(), shared);
  RegisterFindGlobalComponentProc(nullptr);
}

TEST(References, AReferenceWaitsForItsRootAndIsDroppedWhenItsHolderDies) {
  auto editor = MakeForm("fmmd");
  TSampleLabel* label = AddLabel(editor.get(), "Label1");
  auto other = MakeForm("later");
  label->SetBuddy(AddLabel(other.get(), "Target"));
  std::string bytes = WriteDesign(editor.get(), {label});
  other.reset();  // the referenced root is gone when the design is read

  auto copy = MakeForm("Form2");
  ReadDesign(bytes, copy.get());
  EXPECT_EQ(copy->Label1->Buddy(), nullptr);

  // A root of that name read later resolves it.
  auto later = MakeForm("later");
  TSampleLabel* target = AddLabel(later.get(), "Target");
  RegisterFindGlobalComponentProc([&](std::string_view name) -> TComponent* {
    return SameText(name, "later") ? later.get() : nullptr;
  });
  GlobalFixupReferences();
  EXPECT_EQ(copy->Label1->Buddy(), target);
  RegisterFindGlobalComponentProc(nullptr);
  target->Free();
  EXPECT_EQ(copy->Label1->Buddy(), nullptr);

  // A waiting reference whose holder is destroyed is forgotten, not resolved into freed memory.
  auto orphan = MakeForm("Form3");
  ReadDesign(bytes, orphan.get());
  orphan.reset();
  RegisterFindGlobalComponentProc([&](std::string_view name) -> TComponent* {
    return SameText(name, "later") ? later.get() : nullptr;
  });
  AddLabel(later.get(), "Target");
  GlobalFixupReferences();
  RegisterFindGlobalComponentProc(nullptr);
}

TEST(References, UnknownHandlerNameFailsUnlessTheFindMethodHookAcceptsIt) {
  auto form = MakeForm();
  Bytes bytes;
  bytes.sig().s("TSampleLabel").s("Label1").s("OnClick").b({vaIdent}).s("Missing");
  bytes.s("Caption").b({vaString}).s("after").b({0, 0, 0});

  auto strict = MakeForm("Strict");
  EXPECT_THROW(ReadDesign(bytes.data, strict.get()), EReadError);

  auto lenient = MakeForm("Lenient");
  ReadDesign(bytes.data, lenient.get(), [](TReader& r) {
    r.OnFindMethod = [](TReader&, const std::string&, TMethod&, bool& error) { error = false; };
  });
  ASSERT_NE(lenient->Label1, nullptr);
  EXPECT_FALSE(lenient->Label1->OnClick);
  EXPECT_EQ(lenient->Label1->Caption(), "after");
}

// ---- classes, names and errors ----

TEST(Classes, FoundAmongTheRootsFieldsThenTheRegistry) {
  auto form = MakeForm();
  auto* stranger = New<TSampleStranger>(form.get());
  stranger->SetName("Odd");
  std::string bytes = WriteDesign(form.get(), {stranger});

  auto copy = MakeForm("Form2");
  EXPECT_THROW(ReadDesign(bytes, copy.get()), EReadError);
  RegisterClass(TSampleStranger::StaticClass());
  ReadDesign(bytes, copy.get());
  UnRegisterClass(TSampleStranger::StaticClass());
  ASSERT_EQ(copy->ComponentCount(), 1);
  EXPECT_EQ(copy->Components(0)->ClassName(), "TSampleStranger");
}

TEST(Classes, UnknownClassStopsTheReadAndKeepsWhatWasRead) {
  auto form = MakeForm();
  TSampleLabel* first = AddLabel(form.get(), "Label1");
  first->SetBuddy(first);
  auto* stranger = New<TSampleStranger>(form.get());
  stranger->SetName("Odd");
  TSampleLabel* last = AddLabel(form.get(), "Label3");
  std::string bytes = WriteDesign(form.get(), {first, stranger, last});

  auto copy = MakeForm("Form2");
  try {
    ReadDesign(bytes, copy.get(), [](TReader& r) {
      r.OnError = [](TReader&, const std::string&, bool& handled) { handled = true; };
    });
    FAIL() << "read should fail";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Class TSampleStranger not found");
  }
  ASSERT_EQ(copy->ComponentCount(), 1);
  EXPECT_EQ(copy->Label1->Name(), "Label1");
  // What was read is complete: references resolved, loading over.
  EXPECT_EQ(copy->Label1->Buddy(), copy->Label1);
  EXPECT_FALSE(copy->Label1->ComponentState().Contains(csLoading));
}

// Other writers need not keep declaration order or case: two records, the second with the
// properties backwards, some in other cases and one twice, read back alike.
TEST(RoundTrip, PropertiesInAnyOrderAndCaseAreFound) {
  Bytes bytes;
  bytes.sig().s("TSampleLabel").s("Label1");
  bytes.s("Left").b({vaInt8, 1}).s("Top").b({vaInt8, 2}).s("Caption").b({vaString}).s("a");
  bytes.s("Font.Height").b({vaInt8, 3}).s("Font.Name").b({vaString}).s("Arial");
  bytes.s("Initial").b({vaString}).s("B").b({0, 0});
  bytes.sig().s("TSampleLabel").s("Label2");
  bytes.s("INITIAL").b({vaString}).s("B").s("font.name").b({vaString}).s("Arial");
  bytes.s("Font.Height").b({vaInt8, 3}).s("Caption").b({vaString}).s("a");
  bytes.s("top").b({vaInt8, 2}).s("Left").b({vaInt8, 9}).s("Left").b({vaInt8, 1}).b({0, 0});
  bytes.b({0});

  auto form = MakeForm();
  ReadDesign(bytes.data, form.get());
  ASSERT_EQ(form->ComponentCount(), 2);
  for (int i = 0; i < 2; ++i) {
    auto* label = static_cast<TSampleLabel*>(form->Components(i));
    EXPECT_EQ(label->Left(), 1) << i;
    EXPECT_EQ(label->Top(), 2) << i;
    EXPECT_EQ(label->Caption(), "a") << i;
    EXPECT_EQ(label->Font()->Height(), 3) << i;
    EXPECT_EQ(label->Font()->Name(), "Arial") << i;
    EXPECT_EQ(label->Initial, 'B') << i;
  }
}

TEST(Errors, UnknownPropertyGoesToTheErrorHookAndReadingGoesOn) {
  Bytes bytes;
  bytes.sig().s("TSampleLabel").s("Label1");
  bytes.s("Bogus").b({vaList, vaInt8, 1, vaString}).s("x").b({0});
  bytes.s("Alignment").b({vaIdent}).s("smpNowhere");
  bytes.s("Font.Style").b({vaSet}).s("smpBold").s("smpHuge").s("smpItalic").b({0});
  bytes.s("Left").b({vaString}).s("not a number");
  bytes.s("Caption").b({vaString}).s("kept").b({0, 0, 0});

  auto form = MakeForm();
  std::vector<std::string> messages;
  ReadDesign(bytes.data, form.get(), [&](TReader& r) {
    r.OnError = [&](TReader&, const std::string& message, bool& handled) {
      messages.push_back(message);
      handled = true;
    };
  });
  EXPECT_EQ(messages, (std::vector<std::string>{"Property Bogus does not exist", "Invalid property value",
                                                "Invalid property value", "Invalid property value"}));
  ASSERT_NE(form->Label1, nullptr);
  EXPECT_EQ(form->Label1->Caption(), "kept");

  auto strict = MakeForm("Strict");
  try {
    ReadDesign(bytes.data, strict.get());
    FAIL() << "read should fail";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Error reading Label1.Bogus: Property Bogus does not exist");
  }
  EXPECT_EQ(strict->ComponentCount(), 0);  // the half-read component is not left behind
}

TEST(Names, SetNameHookRenamesAndDuplicateNamesFail) {
  auto form = MakeForm();
  TSampleLabel* label = AddLabel(form.get(), "Label1");
  std::string bytes = WriteDesign(form.get(), {label});

  // Label1 exists already: a name the component refuses is damage in the stream, told as such.
  try {
    ReadDesign(bytes, form.get());
    ADD_FAILURE() << "a second Label1 was read";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "A component named Label1 already exists");
  }
  EXPECT_EQ(form->ComponentCount(), 1);

  ReadDesign(bytes, form.get(), [](TReader& r) {
    r.OnSetName = [](TReader&, TComponent*, std::string& name) { name = "Renamed"; };
  });
  ASSERT_NE(form->FindComponent("Renamed"), nullptr);
}

// ---- damaged input ----

TEST(DamagedInput, EveryTruncationEndsInAReadError) {
  auto form = MakeForm();
  TSampleLabel* label = AddLabel(form.get(), "Label1");
  label->SetCaption(std::string(300, 'c'));
  label->Items()->Add("item");
  label->Columns()->Add();
  label->Picture = {1, 2, 3};
  std::string bytes = WriteDesign(form.get(), {label, AddLabel(form.get(), "Label2")});
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    auto copy = MakeForm("Cut");
    EXPECT_THROW(ReadDesign(bytes.substr(0, cut), copy.get(), [](TReader& r) {
      r.OnError = [](TReader&, const std::string&, bool& handled) { handled = true; };
    }), EReadError) << "cut at " << cut;
  }
}

TEST(DamagedInput, LengthsPastTheEndUnknownTypesAndBadSignaturesFail) {
  std::vector<std::string> inputs = {
      Bytes().sig().s("TSampleLabel").s("L").s("Caption").b({vaLString, 0xFF, 0xFF, 0xFF, 0x7F}).data,
      Bytes().sig().s("TSampleLabel").s("L").s("Caption").b({vaWString, 0xFF, 0xFF, 0xFF, 0x3F}).data,
      Bytes().sig().s("TSampleLabel").s("L").s("Caption").b({vaUTF8String, 0xFF, 0xFF, 0xFF, 0xFF}).data,
      Bytes().sig().s("TSampleLabel").s("L").s("Caption").b({21}).data,
      Bytes().sig().s("TSampleLabel").s("L").s("Caption").b({0xEE}).data,
      Bytes().b({'T', 'P', 'F', '1'}).s("TSampleLabel").s("L").b({0, 0, 0}).data,
  };
  for (const std::string& input : inputs) {
    auto form = MakeForm();
    EXPECT_THROW(ReadDesign(input, form.get(), [](TReader& r) {
      r.OnError = [](TReader&, const std::string&, bool& handled) { handled = true; };
    }), EReadError);
  }
}

TEST(DamagedInput, AbsurdNestingFailsWithoutExhaustingTheStack) {
  Bytes lists;
  lists.sig().s("TSampleLabel").s("L").s("Bogus");
  lists.data += std::string(100000, static_cast<char>(vaList));
  Bytes children;
  children.sig();
  for (int i = 0; i < 100000; ++i) children.s("TSamplePanel").s("P" + std::to_string(i)).b({0});
  for (const std::string& input : {lists.data, children.data}) {
    auto form = MakeForm();
    EXPECT_THROW(ReadDesign(input, form.get(), [](TReader& r) {
      r.OnError = [](TReader&, const std::string&, bool& handled) { handled = true; };
    }), EReadError);
    EXPECT_EQ(form->ComponentCount(), 0);
  }
}
