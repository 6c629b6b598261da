#include "design/DsnPropText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Stream.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"

namespace {

class TLabel : public TComponent {
  DECLARE_CLASS(TLabel)
};
DEFINE_CLASS(TLabel, TComponent) {}

// Class names as the inspector may meet them: in lower case with a digit, and of one character.
class tshape2 : public TComponent {
  DECLARE_CLASS(tshape2)
};
DEFINE_CLASS(tshape2, TComponent) {}

class X : public TComponent {
  DECLARE_CLASS(X)
};
DEFINE_CLASS(X, TComponent) {}

struct NameCase {
  std::vector<const char*> taken;  // names of the owner's other components
  const char* incoming;
  const char* expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.incoming << " among " << c.taken.size() << " taken -> " << c.expected;
}

class UniqueLabelName : public testing::TestWithParam<NameCase> {};

TEST_P(UniqueLabelName, IsTheFirstFreeName) {
  TComponent* owner = New<TComponent>(nullptr);
  for (const char* name : GetParam().taken) New<TLabel>(owner)->SetName(name);
  TLabel* label = New<TLabel>(owner);
  std::string name = GetParam().incoming;
  UniqueComponentName(owner, nullptr, label, name);
  EXPECT_EQ(name, GetParam().expected);
  EXPECT_NO_THROW(label->SetName(name));
  owner->Free();
}

INSTANTIATE_TEST_SUITE_P(
    DsnPropText, UniqueLabelName,
    testing::Values(NameCase{{}, "Label3", "Label3"},
                    NameCase{{"Label1", "Label2"}, "Label3", "Label3"},
                    NameCase{{"Label3"}, "Label3", "Label1"},
                    NameCase{{"Label3", "Label2"}, "Label3", "Label1"},
                    NameCase{{"Label1", "Label2", "Label3"}, "Label3", "Label4"},
                    NameCase{{"Label1", "Label3"}, "Label1", "Label2"},
                    NameCase{{"label3"}, "Label3", "Label1"},      // case of the taken name
                    NameCase{{"Box", "LABEL1"}, "box", "Label2"},  // case of the candidates
                    NameCase{{"Shape9"}, "Shape9", "Label1"},      // base from the class
                    NameCase{{"Label1"}, "", ""}));

TEST(UniqueComponentName, BaseIsTheClassNameWithoutItsFirstCharacter) {
  TComponent* owner = New<TComponent>(nullptr);
  New<tshape2>(owner)->SetName("Taken");
  tshape2* shape = New<tshape2>(owner);
  std::string name = "taken";
  UniqueComponentName(owner, nullptr, shape, name);
  EXPECT_EQ(name, "shape21");  // counting starts at 1 after the class name's own digit

  // With a one-character class name the base is empty and only the number remains; that is no
  // valid component name, so naming the component with it is refused.
  X* x = New<X>(owner);
  name = "TAKEN";
  UniqueComponentName(owner, nullptr, x, name);
  EXPECT_EQ(name, "1");
  EXPECT_THROW(x->SetName(name), EComponentError);
  owner->Free();
}

TEST(UniqueComponentName, ANameOnlyTheComponentItselfHasIsFree) {
  TComponent* owner = New<TComponent>(nullptr);
  TLabel* label = New<TLabel>(owner);
  label->SetName("Label7");
  std::string name = "label7";
  UniqueComponentName(owner, nullptr, label, name);
  EXPECT_EQ(name, "label7");
  owner->Free();
}

TEST(UniqueComponentName, WithoutOwnerTheNameStays) {
  TLabel* label = New<TLabel>(nullptr);
  std::string name = "Label1";
  UniqueComponentName(nullptr, nullptr, label, name);
  EXPECT_EQ(name, "Label1");
  label->Free();
}

// Pasting: components read into an owner that already has their names get fresh ones.
TEST(UniqueComponentName, AsTheReadersSetNameHookRenamesPastedComponents) {
  TComponent* source = New<TComponent>(nullptr);
  for (const char* name : {"Label1", "Label2"}) New<TLabel>(source)->SetName(name);
  TMemoryStream clip;
  {
    TWriter writer(clip);
    for (TComponent* c : source->ComponentList()) writer.WriteRootComponent(c);  // one block each
    writer.WriteListEnd();
  }
  source->Free();

  TComponent* target = New<TComponent>(nullptr);
  New<TLabel>(target)->SetName("label2");
  RegisterClass(TLabel::StaticClass());
  clip.SetPosition(0);
  std::vector<std::string> pasted;
  {
    TReader reader(clip);
    reader.OnSetName = [target](TReader& r, TComponent* component, std::string& name) {
      UniqueComponentName(target, &r, component, name);
    };
    reader.ReadComponents(target, nullptr,
                          [&](TComponent* c) { pasted.push_back(c->Name()); });
  }
  UnRegisterClass(TLabel::StaticClass());
  EXPECT_EQ(pasted, (std::vector<std::string>{"Label1", "Label3"}));
  EXPECT_EQ(target->ComponentCount(), 3);
  target->Free();
}

}  // namespace

namespace {

// A series of names within one read goes on where the last one was found; what it gives is free
// even when a lower number was freed meanwhile.
TEST(UniqueComponentName, AHintedSeriesGoesOnWhereItStopped) {
  TComponent* owner = New<TComponent>(nullptr);
  TComponent* first = New<TLabel>(owner);
  first->SetName("Label1");
  New<TLabel>(owner)->SetName("Label2");
  TFreeNameHint hint;
  std::vector<std::string> given;
  for (int i = 0; i < 3; ++i) {
    TLabel* label = New<TLabel>(owner);
    std::string name = "Label1";
    UniqueComponentName(owner, nullptr, label, name, hint);
    label->SetName(name);
    given.push_back(name);
  }
  EXPECT_EQ(given, (std::vector<std::string>{"Label3", "Label4", "Label5"}));
  EXPECT_EQ(hint["Label"], 6);
  first->Free();
  TLabel* late = New<TLabel>(owner);
  std::string name = "Label2";
  UniqueComponentName(owner, nullptr, late, name, hint);
  EXPECT_EQ(name, "Label6");
  EXPECT_NO_THROW(late->SetName(name));
  owner->Free();
}

}  // namespace
