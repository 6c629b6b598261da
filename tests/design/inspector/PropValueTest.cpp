// Properties as the inspector reads and writes them: value texts of every kind, a typed text
// written to several targets, and the name|caption lists that configure the rows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/DsnPropText.h"
#include "design/inspector/DsnInfo.h"
#include "platform/controls/Label.h"
#include "platform/graphics/Font.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"

namespace {

ENUMERATION(TWide, w0, w1, w2, w3, w4, w5, w6, w7, w8, w9, w10, w11, w12, w13, w14, w15, w16, w17)
SET_OF(TWideSet, TWide)

// One published property of each kind the inspector meets.
class TAllKinds : public TComponent {
  DECLARE_CLASS(TAllKinds)

 public:
  int Number = 0;
  char Letter = 'a';
  bool Flag = false;
  TWideSet Wide;
  double Ratio = 0;
  std::string Text;
  std::string Wstr;
  TComponent* Link = nullptr;
  TFont* Font = nullptr;
  int64_t Big = 0;
  TNotifyEvent OnThing;
  void Create(TComponent* owner) override {
    TComponent::Create(owner);
    Font = New<TFont>();
  }
  void Destroy() override {
    FreeAndNil(Font);
    TComponent::Destroy();
  }
  void Handler(TObject*) {}
  // A locked object refuses every number, as a setter with a rule of its own may.
  void SetNumber(int v) {
    if (Text == "locked") throw Exception("locked");
    Number = v;
  }
  TFont* GetFont() const { return Font; }
};

DEFINE_CLASS(TAllKinds, TComponent) {
  c.Prop("Number", &TAllKinds::Number, &TAllKinds::SetNumber);
  c.Prop("Letter", &TAllKinds::Letter, &TAllKinds::Letter);
  c.Prop("Flag", &TAllKinds::Flag, &TAllKinds::Flag);
  c.Prop("Wide", &TAllKinds::Wide, &TAllKinds::Wide);
  c.Prop("Ratio", &TAllKinds::Ratio, &TAllKinds::Ratio);
  c.Prop("Text", &TAllKinds::Text, &TAllKinds::Text);
  c.Prop("Wstr", &TAllKinds::Wstr, &TAllKinds::Wstr).Type(WideStringType());
  c.Prop("Link", &TAllKinds::Link, &TAllKinds::Link);
  c.Prop("Font", &TAllKinds::GetFont);
  c.Prop("Big", &TAllKinds::Big, &TAllKinds::Big);
  c.Event("OnThing", &TAllKinds::OnThing);
  c.Method("Handler", &TAllKinds::Handler);
}

std::string Text(TObject* object, const char* name) { return PropValueText(object, *GetPropInfo(object, name)); }

TEST(PropValueText, EachKindShowsAsTheInspectorWritesIt) {
  TComponent* owner = New<TAllKinds>(nullptr);
  owner->SetName("Form1");
  auto* o = New<TAllKinds>(owner);
  o->Number = -42;
  EXPECT_EQ(Text(o, "Number"), "-42");
  EXPECT_EQ(Text(o, "Letter"), "a");
  EXPECT_EQ(Text(o, "Flag"), "False");
  EXPECT_EQ(Text(o, "Wide"), "[]");
  o->Wide = TWideSet{w3};
  EXPECT_EQ(Text(o, "Wide"), "[w3]");
  o->Wide = TWideSet{w0, w15, w16, w17};
  EXPECT_EQ(Text(o, "Wide"), "[w0,w15]") << "elements from ordinal 16 on are not shown";
  o->Ratio = 1.5;
  EXPECT_EQ(Text(o, "Ratio"), "1.5");
  o->Ratio = 1e20;
  EXPECT_EQ(Text(o, "Ratio"), "1E20");
  EXPECT_EQ(Text(o, "Link"), "") << "no component";
  o->Link = owner;
  EXPECT_EQ(Text(o, "Link"), "Form1");
  EXPECT_EQ(Text(o, "Font"), "(TFont)");
  EXPECT_EQ(Text(o, "Wstr"), "Unknown");
  EXPECT_EQ(Text(o, "Big"), "Unknown");
  EXPECT_EQ(Text(o, "OnThing"), "");
  o->OnThing.Bind(static_cast<TAllKinds*>(owner), &TAllKinds::Handler);
  EXPECT_EQ(Text(o, "OnThing"), "Handler") << "the owner's method";

  auto* label = New<TLabel>(owner);
  label->SetColor(clWhite);
  EXPECT_EQ(Text(label, "Color"), "16777215");
  owner->Free();
}

TEST(ApplyPropValue, ConvertsByKindAndChangesNothingWhenATextDoesNotConvert) {
  auto* a = New<TAllKinds>(nullptr);
  auto* b = New<TAllKinds>(nullptr);
  a->Number = 5;
  b->Number = 7;
  const std::vector<TComponent*> both{a, b};

  ApplyPropValue(both, "Number", " 12 ");
  EXPECT_EQ(a->Number, 12);
  EXPECT_EQ(b->Number, 12);
  ApplyPropValue(both, "number", "$FF");
  EXPECT_EQ(b->Number, 255) << "names ignore case; hexadecimal is taken";
  ApplyPropValue(both, "Number", "");
  EXPECT_EQ(a->Number, 255) << "the empty text leaves a number alone";
  for (const char* bad : {"12x", "abc", "99999999999", "-2147483649", "1.5", "--1", "$"}) {
    try {
      ApplyPropValue(both, "Number", bad);
      ADD_FAILURE() << bad << " was taken";
    } catch (const EPropertyError& error) {
      EXPECT_EQ(error.Message(), std::string(bad) + " is illegal (Number)");
    }
    EXPECT_EQ(a->Number, 255);
    EXPECT_EQ(b->Number, 255);
  }
  ApplyPropValue(both, "Number", "-2147483648");
  EXPECT_EQ(a->Number, INT32_MIN);

  ApplyPropValue(both, "Flag", "true");
  EXPECT_TRUE(a->Flag && b->Flag);
  EXPECT_THROW(ApplyPropValue(both, "Flag", "maybe"), EPropertyError);
  ApplyPropValue(both, "Letter", "Zed");
  EXPECT_EQ(b->Letter, 'Z');
  ApplyPropValue(both, "Ratio", "2.25");
  EXPECT_EQ(a->Ratio, 2.25);
  EXPECT_THROW(ApplyPropValue(both, "Ratio", "1e999"), EPropertyError);
  EXPECT_THROW(ApplyPropValue(both, "Ratio", "nan"), EPropertyError);

  a->Text = "keep";
  ApplyPropValue(both, "Text", "");
  EXPECT_EQ(a->Text, "") << "the empty text empties a string";
  ApplyPropValue(both, "Wstr", "寬字串");
  EXPECT_EQ(b->Wstr, "寬字串") << "a wide string shows Unknown but takes a text";
  // Objects and sets ignore a text without an error.
  a->Wide = TWideSet{w1};
  EXPECT_NO_THROW(ApplyPropValue(both, "Font", "Arial"));
  EXPECT_NO_THROW(ApplyPropValue(both, "Wide", "[w2]"));
  EXPECT_EQ(a->Wide, TWideSet{w1});
  EXPECT_EQ(a->Font->Name(), b->Font->Name());

  // A target without the property: nothing changes anywhere.
  auto* label = New<TLabel>(nullptr);
  EXPECT_THROW(ApplyPropValue({a, label}, "Number", "3"), EPropertyError);
  EXPECT_EQ(a->Number, INT32_MIN);
  EXPECT_NO_THROW(ApplyPropValue(both, "", "3")) << "no property, nothing to do";

  // A setter that refuses stops there: the targets before it keep the new value.
  b->Text = "locked";
  auto* c = New<TAllKinds>(nullptr);
  EXPECT_THROW(ApplyPropValue({a, b, c}, "Number", "13"), EPropertyError);
  EXPECT_EQ(a->Number, 13);
  EXPECT_EQ(b->Number, INT32_MIN);
  EXPECT_EQ(c->Number, 0);
  for (TObject* o : std::vector<TObject*>{a, b, c, label}) o->Free();
}

TEST(NameCaptionLists, SplitFindAndOrder) {
  TNameList names, captions;
  SplitNameCaption(TNameList{"Caption|文字內容", "kind", "Color|a|b", "|x"}, names, captions);
  EXPECT_EQ(names, (TNameList{"Caption", "kind", "Color", ""}));
  EXPECT_EQ(captions, (TNameList{"文字內容", "kind", "a|b", "x"}));
  EXPECT_EQ(CaptionOfName("caption", names, captions), "文字內容");
  EXPECT_EQ(CaptionOfName("nothing", names, captions), "");

  TNameList order{"Caption", "Color", "Font"};
  TNameList found{"Extra", "font", "Caption"};
  TNameList values{"e", "f", "c"};
  OrderLike(order, found, values);
  EXPECT_EQ(found, (TNameList{"Caption", "font", "Extra"}));
  EXPECT_EQ(values, (TNameList{"c", "f", "e"}));
}

TEST(ObjInfo, ListsThePublishedPropertiesOfOneObject) {
  auto* o = New<TAllKinds>(nullptr);
  auto* info = New<TObjInfo>(o);
  EXPECT_EQ(info->ObjClassName(), "TAllKinds");
  ASSERT_GT(info->Count(), 10);
  const int at = info->IndexOfProp("ratio");
  ASSERT_GE(at, 0);
  TMyPropInfo prop;
  info->GetProp(at, prop);
  EXPECT_EQ(prop.Name, "Ratio");
  EXPECT_EQ(prop.Value, "0");
  EXPECT_EQ(prop.Kind, tkFloat);
  EXPECT_EQ(info->IndexOfProp("Nothing"), -1);
  EXPECT_THROW(info->GetProp(info->Count(), prop), Exception);
  EXPECT_THROW(info->GetProp(-1, prop), Exception);
  info->Free();
  auto* none = New<TObjInfo>(nullptr);
  EXPECT_EQ(none->Count(), 0);
  EXPECT_EQ(none->ObjClassName(), "");
  EXPECT_EQ(none->IndexOfProp("Name"), -1);
  none->Free();
  o->Free();
}

}  // namespace
