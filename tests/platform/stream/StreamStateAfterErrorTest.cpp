// A writer or reader whose work fails with an exception that its caller catches must be left as it
// was before: the property path, the roots, the owner and parent of records, the component
// states and whether errors may be handled, so that the next write or read with it is right.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"
#include "tests/support/SampleComponents.h"

namespace {

enum class Failure { SubObjectGetter, SubObjectDefinedProperty, ChildThatSetsItsOwnRoot };

struct Faults {
  static inline bool getter = false;
  static inline bool definedProperty = false;
  static inline bool childWrite = false;
  static inline bool setter = false;
};

// A sub-object whose published getter and filer-declared property fail on demand.
class TFlakyFont : public TPersistent {
  DECLARE_CLASS(TFlakyFont)

 public:
  int Size() const {
    if (Faults::getter) throw EPropertyError("Size is not available");
    return size_;
  }
  void SetSize(int v) { size_ = v; }
  void DefineProperties(TFiler* filer) override {
    filer->DefineProperty(
        "Hint", nullptr,
        [](TWriter& w) {
          if (Faults::definedProperty) throw EWriteError("Hint is not available");
          w.WriteString("hint");
        },
        true);
  }

 private:
  int size_ = 9;
};
DEFINE_CLASS(TFlakyFont, TPersistent) { c.Prop("Size", &TFlakyFont::Size, &TFlakyFont::SetSize); }

class TFlakyLabel : public TSampleLabel {
  DECLARE_CLASS(TFlakyLabel)

 public:
  void Create(TComponent* owner) override {
    TSampleLabel::Create(owner);
    flaky_ = New<TFlakyFont>();
  }
  TFlakyFont* Flaky() const { return flaky_; }
  void SetFlaky(TFlakyFont*) {}

 protected:
  void Destroy() override {
    FreeAndNil(flaky_);
    TSampleLabel::Destroy();
  }

 private:
  TFlakyFont* flaky_ = nullptr;
};
DEFINE_CLASS(TFlakyLabel, TSampleLabel) {
  c.Prop("Flaky", &TFlakyLabel::Flaky, &TFlakyLabel::SetFlaky);
}

// A child that writes itself as a root of its own, as a nested window would, and may then fail.
class TRootedChild : public TSampleLabel {
  DECLARE_CLASS(TRootedChild)

 public:
  void WriteState(TWriter& writer) override {
    writer.SetRoot(this);
    if (Faults::childWrite) throw EWriteError("child failed");
    TSampleLabel::WriteState(writer);
  }
};
DEFINE_CLASS(TRootedChild, TSampleLabel) {}

// Its property setter fails on demand. It may also store a list of its own properties as one
// filer-declared property, read back through ReadProperty.
class TTouchyLabel : public TSampleLabel {
  DECLARE_CLASS(TTouchyLabel)

 public:
  int Mood() const { return mood_; }
  void SetMood(int v) {
    if (Faults::setter) throw EPropertyError("bad mood");
    mood_ = v;
  }
  int NestedMood = 0;  // written inside "Nested" when not 0
  void DefineProperties(TFiler* filer) override {
    TSampleLabel::DefineProperties(filer);
    filer->DefineProperty(
        "Nested",
        [this](TReader& r) {
          r.ReadListBegin();
          while (!r.EndOfList()) r.ReadProperty(this);
          r.ReadListEnd();
        },
        [this](TWriter& w) {
          w.WriteListBegin();
          w.WriteStr("Mood");
          w.WriteInteger(NestedMood);
          w.WriteListEnd();
        },
        NestedMood != 0);
  }

 private:
  int mood_ = 0;
};
DEFINE_CLASS(TTouchyLabel, TSampleLabel) {
  c.Prop("Mood", &TTouchyLabel::Mood, &TTouchyLabel::SetMood).Default(0);
}

struct Deleter {
  void operator()(TComponent* c) const { c->Free(); }
};
using FormPtr = std::unique_ptr<TSampleForm, Deleter>;

FormPtr MakeForm(const std::string& name = "Form1") {
  FormPtr form(New<TSampleForm>(nullptr));
  form->SetName(name);
  return form;
}

template <class T = TSampleLabel>
T* Add(TComponent* owner, const std::string& name) {
  auto* c = New<T>(owner);
  c->SetName(name);
  return c;
}

class StreamStateAfterError : public testing::Test {
 protected:
  void SetUp() override {
    Faults::setter = false;
    RegisterClass(TTouchyLabel::StaticClass());
  }
  void TearDown() override { UnRegisterClass(TTouchyLabel::StaticClass()); }
};

// The record of `component`, written with `root` as root.
std::string RecordOf(TComponent* root, TComponent* component) {
  TMemoryStream ms;
  {
    TWriter w(ms, 4096);
    w.SetRoot(root);
    w.WriteComponent(component);
  }
  return ms.Bytes();
}

class WriterAfterAFailure : public testing::TestWithParam<Failure> {};

}  // namespace

// ---- the writer ----

TEST_P(WriterAfterAFailure, WritesTheNextComponentAsAFreshWriterWould) {
  Faults::getter = Faults::definedProperty = Faults::childWrite = false;
  auto form = MakeForm();
  TComponent* failing = nullptr;
  if (GetParam() == Failure::ChildThatSetsItsOwnRoot) {
    auto* panel = Add<TSamplePanel>(form.get(), "Panel1");
    Add<TRootedChild>(form.get(), "Inner")->SetParentComponent(panel);
    failing = panel;
  } else {
    failing = Add<TFlakyLabel>(form.get(), "Flaky1");
  }
  // The next record depends on the property path (every name), the root (its references) and
  // the lookup root (its handler's name).
  TSampleLabel* buddy = Add(form.get(), "Buddy");
  TSampleLabel* next = Add(form.get(), "Next");
  next->SetCaption("after");
  next->SetBuddy(buddy);
  next->OnClick.Bind(form.get(), &TSampleForm::LabelClick);
  const std::string expected = RecordOf(form.get(), next);  // by a writer of its own

  TMemoryStream ms;
  TWriter writer(ms, 4096);
  writer.SetRoot(form.get());
  Faults::getter = GetParam() == Failure::SubObjectGetter;
  Faults::definedProperty = GetParam() == Failure::SubObjectDefinedProperty;
  Faults::childWrite = GetParam() == Failure::ChildThatSetsItsOwnRoot;
  EXPECT_THROW(writer.WriteComponent(failing), Exception);
  Faults::getter = Faults::definedProperty = Faults::childWrite = false;

  EXPECT_FALSE(failing->ComponentState().Contains(csWriting));
  EXPECT_EQ(writer.Root(), form.get());
  EXPECT_EQ(writer.LookupRoot(), form.get());
  writer.FlushBuffer();
  const auto mark = static_cast<size_t>(ms.Size());
  writer.WriteComponent(next);
  writer.FlushBuffer();
  EXPECT_EQ(ms.Bytes().substr(mark), expected);
}

INSTANTIATE_TEST_SUITE_P(Failures, WriterAfterAFailure,
                         testing::Values(Failure::SubObjectGetter, Failure::SubObjectDefinedProperty,
                                         Failure::ChildThatSetsItsOwnRoot),
                         [](const auto& info) {
                           switch (info.param) {
                             case Failure::SubObjectGetter: return std::string("Getter");
                             case Failure::SubObjectDefinedProperty: return std::string("DefinedProperty");
                             default: return std::string("ChildRoot");
                           }
                         });

// ---- the reader ----

// An error inside the reader of a filer-declared property leaves the stream in an unknown place;
// a property that reader reads in turn must not make it look handleable.
TEST_F(StreamStateAfterError, AnErrorInsideAFilerDeclaredPropertyIsNeverHandled) {
  auto source = MakeForm();
  auto* touchy = Add<TTouchyLabel>(source.get(), "Touchy");
  touchy->NestedMood = 5;
  TMemoryStream ms;
  {
    TWriter end(ms, 4096);
    {
      TWriter w(ms, 4096);
      w.SetRoot(source.get());
      w.WriteSignature();
      w.WriteComponent(touchy);
    }
    end.WriteListEnd();
  }
  ms.SetPosition(0);

  auto form = MakeForm("Form2");
  TReader reader(ms, 4096);
  std::vector<std::string> handled;
  reader.OnError = [&](TReader&, const std::string& message, bool& isHandled) {
    handled.push_back(message);
    isHandled = true;
  };
  Faults::setter = true;
  EXPECT_THROW(reader.ReadComponents(form.get(), form.get(), nullptr), EPropertyError);
  EXPECT_TRUE(handled.empty()) << handled.front();
}

TEST_F(StreamStateAfterError, AFailingChildLeavesOwnerParentAndStatesAsTheyWere) {
  auto source = MakeForm();
  auto* panel = Add<TSamplePanel>(source.get(), "Panel1");
  auto* inner = Add<TTouchyLabel>(source.get(), "Inner");
  inner->SetParentComponent(panel);
  inner->SetMood(3);
  TMemoryStream ms(RecordOf(source.get(), panel));

  auto form = MakeForm("Form2");
  auto* existing = Add<TSamplePanel>(form.get(), "Existing");
  TReader reader(ms, 4096);
  reader.SetRoot(form.get());
  reader.SetOwner(form.get());
  reader.SetParent(form.get());
  Faults::setter = true;
  EXPECT_THROW(reader.ReadComponent(existing), EPropertyError);
  Faults::setter = false;
  EXPECT_EQ(reader.Owner(), form.get());
  EXPECT_EQ(reader.Parent(), form.get());
  EXPECT_FALSE(existing->ComponentState().Contains(csReading));
  EXPECT_EQ(form->FindComponent("Inner"), nullptr);  // the half-read child is gone
}
