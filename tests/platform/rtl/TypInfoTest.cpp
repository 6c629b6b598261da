#include "platform/rtl/TypInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/IntegerConsts.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Texts.h"

namespace {

ENUMERATION(TMarkShape, msSquare, msTriangle, msDiamond)
SET_OF(TMarkShapes, TMarkShape)

class TTypedBase : public TComponent {
  DECLARE_CLASS(TTypedBase)

 public:
  int Count = 0;
  char Initial = 'A';
  TMarkShape Shape = msSquare;
  double Ratio = 0;
  TMarkShapes Shapes;
  TStringList* Lines = nullptr;
  TNotifyEvent OnClick;
  std::string Wide;
  std::string Caption;
  int64_t Big = 0;
  bool Visible = true;
  TColor Color = clBtnFace;
  TComponent* Buddy = nullptr;
};
DEFINE_CLASS(TTypedBase, TComponent) {
  c.Prop("Count", &TTypedBase::Count, &TTypedBase::Count).Default(0);
  c.Prop("Initial", &TTypedBase::Initial, &TTypedBase::Initial);
  c.Prop("Shape", &TTypedBase::Shape, &TTypedBase::Shape).Default(msSquare);
  c.Prop("Ratio", &TTypedBase::Ratio, &TTypedBase::Ratio);
  c.Prop("Shapes", &TTypedBase::Shapes, &TTypedBase::Shapes);
  c.Prop("Lines", &TTypedBase::Lines, nullptr);
  c.Event("OnClick", &TTypedBase::OnClick);
  c.Prop("Wide", &TTypedBase::Wide, &TTypedBase::Wide).Type(WideStringType());
  c.Prop("Caption", &TTypedBase::Caption, &TTypedBase::Caption);
  c.Prop("Big", &TTypedBase::Big, &TTypedBase::Big);
  c.Prop("Visible", &TTypedBase::Visible, &TTypedBase::Visible).Default(true);
  c.Prop("Color", &TTypedBase::Color, &TTypedBase::Color).Type(ColorType()).Default(clBtnFace);
  c.Prop("Buddy", &TTypedBase::Buddy, &TTypedBase::Buddy);
}

// Republishes Shape with another default and adds a property of its own.
class TTypedChild : public TTypedBase {
  DECLARE_CLASS(TTypedChild)

 public:
  int Extra = 0;
  void Click(TObject* sender) { Senders.push_back(sender); }
  void KeyPress(TObject*, char& key) { key = 0; }
  void Unpublished(TObject*) {}
  std::vector<TObject*> Senders;
};
DEFINE_CLASS(TTypedChild, TTypedBase) {
  c.Prop("Extra", &TTypedChild::Extra, &TTypedChild::Extra);
  c.Prop("shape", &TTypedChild::Shape, &TTypedChild::Shape).Default(msDiamond);
  c.Method("Click", &TTypedChild::Click);
  c.Method("KeyPress", &TTypedChild::KeyPress);
}

std::vector<std::string> PropNames(const TClassInfo& cls) {
  std::vector<std::string> names;
  for (const TPropInfo* p : cls.Props()) names.push_back(p->Name);
  return names;
}

const TPropInfo& Prop(const TClassInfo& cls, const char* name) {
  const TPropInfo* prop = cls.FindProp(name);
  if (!prop) throw EPropertyError(std::string("no property ") + name);
  return *prop;
}

// ---- properties ----

TEST(ClassInfo, PropertiesListAncestorsFirstThenDeclarationOrder) {
  EXPECT_EQ(PropNames(TTypedBase::StaticClass()),
            (std::vector<std::string>{"Name", "Tag", "Count", "Initial", "Shape", "Ratio", "Shapes",
                                      "Lines", "OnClick", "Wide", "Caption", "Big", "Visible",
                                      "Color", "Buddy"}));
}

TEST(ClassInfo, RepublishedPropertyKeepsItsPlaceWithTheNewDefault) {
  const TClassInfo& child = TTypedChild::StaticClass();
  std::vector<std::string> names = PropNames(child);
  ASSERT_EQ(names.size(), PropNames(TTypedBase::StaticClass()).size() + 1);
  EXPECT_EQ(names[4], "shape");
  EXPECT_EQ(names.back(), "Extra");
  EXPECT_EQ(Prop(child, "Shape").Default, msDiamond);
  EXPECT_EQ(Prop(child, "Shape").DeclaringClass, &child);
  EXPECT_EQ(Prop(TTypedBase::StaticClass(), "Shape").Default, msSquare);
}

TEST(ClassInfo, FindPropIgnoresCase) {
  const TClassInfo& cls = TTypedBase::StaticClass();
  EXPECT_EQ(cls.FindProp("cAPTION"), cls.FindProp("Caption"));
  EXPECT_NE(cls.FindProp("tag"), nullptr);
  EXPECT_EQ(cls.FindProp("Missing"), nullptr);
  EXPECT_EQ(cls.FindProp(""), nullptr);
}

struct KindCase {
  const char* prop;
  TTypeKind kind;
  int code;
};
void PrintTo(const KindCase& c, std::ostream* os) { *os << c.prop; }

class PropertyKind : public testing::TestWithParam<KindCase> {};

TEST_P(PropertyKind, FollowsTheMembersTypeWithTheStoredCode) {
  const TPropInfo& prop = Prop(TTypedBase::StaticClass(), GetParam().prop);
  EXPECT_EQ(prop.Kind(), GetParam().kind);
  EXPECT_EQ(static_cast<int>(prop.Kind()), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(TypInfo, PropertyKind,
                         testing::Values(KindCase{"Count", tkInteger, 1},
                                         KindCase{"Initial", tkChar, 2},
                                         KindCase{"Shape", tkEnumeration, 3},
                                         KindCase{"Visible", tkEnumeration, 3},
                                         KindCase{"Ratio", tkFloat, 4},
                                         KindCase{"Shapes", tkSet, 6},
                                         KindCase{"Lines", tkClass, 7},
                                         KindCase{"OnClick", tkMethod, 8},
                                         KindCase{"Caption", tkLString, 10},
                                         KindCase{"Wide", tkWString, 11},
                                         KindCase{"Big", tkInt64, 16},
                                         KindCase{"Color", tkInteger, 1}),
                         [](const auto& info) { return std::string(info.param.prop); });

TEST(PropertyAccess, OrdinalsRoundTripThroughTheDescriptor) {
  TTypedBase* object = New<TTypedBase>(nullptr);
  const TClassInfo& cls = object->ClassType();
  SetOrdProp(object, Prop(cls, "Shapes"), TMarkShapes{msSquare, msDiamond}.Bits());
  EXPECT_TRUE(object->Shapes.Contains(msDiamond));
  EXPECT_FALSE(object->Shapes.Contains(msTriangle));
  SetOrdProp(object, Prop(cls, "Initial"), 0xE9);
  EXPECT_EQ(GetOrdProp(object, Prop(cls, "Initial")), 0xE9);  // chars read back unsigned
  SetOrdProp(object, Prop(cls, "Big"), int64_t{1} << 40);
  EXPECT_EQ(object->Big, int64_t{1} << 40);
  SetEnumProp(object, Prop(cls, "Shape"), "MSTRIANGLE");
  EXPECT_EQ(GetEnumProp(object, Prop(cls, "Shape")), "msTriangle");
  EXPECT_THROW(SetEnumProp(object, Prop(cls, "Shape"), "msCircle"), EPropertyError);
  EXPECT_EQ(object->Shape, msTriangle);
  object->Free();
}

TEST(PropertyAccess, WrongAccessorOrReadOnlyRaises) {
  TTypedBase* object = New<TTypedBase>(nullptr);
  const TClassInfo& cls = object->ClassType();
  EXPECT_THROW(GetStrProp(object, Prop(cls, "Count")), EPropertyError);
  EXPECT_THROW(SetOrdProp(object, Prop(cls, "Caption"), 1), EPropertyError);
  EXPECT_FALSE(Prop(cls, "Lines").HasSetter());
  EXPECT_THROW(SetObjectProp(object, Prop(cls, "Lines"), nullptr), EPropertyError);
  object->Free();
}

TEST(PropertyAccess, ObjectPropertyRefusesObjectsOfAnotherClass) {
  TTypedBase* object = New<TTypedBase>(nullptr);
  TStringList* list = New<TStringList>();
  const TPropInfo& buddy = Prop(object->ClassType(), "Buddy");
  EXPECT_EQ(buddy.PropType, &TComponent::StaticClass().TypeInfo());
  EXPECT_THROW(SetObjectProp(object, buddy, list), EPropertyError);
  EXPECT_EQ(object->Buddy, nullptr);
  SetObjectProp(object, buddy, object);
  EXPECT_EQ(GetObjectProp(object, buddy), object);
  list->Free();
  object->Free();
}

// ---- enumerations, sets and named constants ----

TEST(EnumerationInfo, NamesByOrdinalAndValuesByName) {
  const TTypeInfo& type = TypeInfoOf(static_cast<const TMarkShape*>(nullptr));
  EXPECT_EQ(type.Kind, tkEnumeration);
  EXPECT_EQ(type.Name, "TMarkShape");
  EXPECT_EQ(type.EnumNames, (std::vector<std::string>{"msSquare", "msTriangle", "msDiamond"}));
  EXPECT_EQ(GetEnumName(type, msDiamond), "msDiamond");
  EXPECT_EQ(GetEnumName(type, 3), "");
  EXPECT_EQ(GetEnumName(type, -1), "");
  EXPECT_EQ(GetEnumValue(type, "MSTRIANGLE"), msTriangle);
  EXPECT_EQ(GetEnumValue(type, "msCircle"), -1);
  EXPECT_EQ(GetEnumValue(type, ""), -1);
}

TEST(EnumerationInfo, BooleanIsAnEnumerationOfFalseAndTrue) {
  const TTypeInfo& type = BooleanType();
  EXPECT_EQ(type.Kind, tkEnumeration);
  EXPECT_EQ(type.Name, "Boolean");
  EXPECT_EQ(type.EnumNames, (std::vector<std::string>{"False", "True"}));
  EXPECT_EQ(GetEnumValue(type, "true"), 1);
  EXPECT_EQ(&::TypeInfoOf(static_cast<const bool*>(nullptr)), &type);
}

TEST(SetInfo, NamesItsElementEnumeration) {
  const TTypeInfo& type = TypeInfoOf(static_cast<const TMarkShapes*>(nullptr));
  EXPECT_EQ(type.Kind, tkSet);
  EXPECT_EQ(type.Name, "TMarkShapes");
  EXPECT_EQ(type.CompType, &TypeInfoOf(static_cast<const TMarkShape*>(nullptr)));
  EXPECT_EQ(&type, &TypeInfoOf(static_cast<const TMarkShapes*>(nullptr)));  // made once
}

TEST(IdentInfo, ColoursHaveNamesBothWays) {
  const TTypeInfo& type = ColorType();
  EXPECT_EQ(type.Kind, tkInteger);
  ASSERT_EQ(type.Idents, &ColorIdents());
  std::string ident;
  ASSERT_TRUE(IntToIdent(clBtnFace, ident, *type.Idents));
  EXPECT_EQ(ident, "clBtnFace");
  ASSERT_TRUE(IntToIdent(clSilver, ident, *type.Idents));
  EXPECT_EQ(ident, "clSilver");  // clLtGray shares the value but is never written
  EXPECT_FALSE(IntToIdent(0x123456, ident, *type.Idents));

  int32_t value = 0;
  ASSERT_TRUE(IdentToInt("clwhite", value, *type.Idents));
  EXPECT_EQ(value, clWhite);
  ASSERT_TRUE(IdentToInt("clLtGray", value, *type.Idents));
  EXPECT_EQ(value, clSilver);
  value = 7;
  EXPECT_FALSE(IdentToInt("clPlaid", value, *type.Idents));
  EXPECT_EQ(value, 7);
}

// The names are looked up through an index: every name of every map in any case, the first of
// two entries with one name, and nothing for a name that is not one (a prefix, one too long).
TEST(IdentInfo, EveryNameIsFoundInAnyCaseAndOnlyWholeNames) {
  for (const TIdentMap* map : {&ColorIdents(), &CharsetIdents()}) {
    for (const TIdentMapEntry& entry : *map) {
      int32_t value = 0;
      ASSERT_TRUE(IdentToInt(UpperCase(entry.Name), value, *map)) << entry.Name;
      EXPECT_EQ(value, entry.Value) << entry.Name;
      const std::string name = entry.Name;
      EXPECT_FALSE(IdentToInt(name.substr(0, name.size() - 1), value, *map)) << entry.Name;
      EXPECT_FALSE(IdentToInt(name + "x", value, *map)) << entry.Name;
    }
  }
  const TIdentMap twice = {{1, "clOne"}, {2, "clTwo"}, {3, "CLONE"}};
  int32_t value = 0;
  ASSERT_TRUE(IdentToInt("clone", value, twice));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(IdentToInt("", value, twice));
  const TIdentMap none = {};
  EXPECT_FALSE(IdentToInt("clOne", value, none));
}

// Values are indexed too: every value finds the first entry that has it, as a walk through the
// map would, with its name padded for the writer; a value no entry has finds nothing.
TEST(IdentInfo, EveryValueFindsItsFirstEntry) {
  for (const TIdentMap* map : {&ColorIdents(), &CharsetIdents()}) {
    for (const TIdentMapEntry& entry : *map) {
      const TIdentMapEntry* first = nullptr;
      for (const TIdentMapEntry& e : *map)
        if (!first && e.Value == entry.Value) first = &e;
      ASSERT_EQ(map->FindValue(entry.Value), first) << entry.Name;
      const TPaddedName& padded = map->PaddedName(*first);
      ASSERT_TRUE(padded.Kept()) << entry.Name;
      EXPECT_EQ(std::string(padded.Chars, padded.Length), first->Name);
      EXPECT_EQ(map->FindValue(entry.Value ^ 0x40000000), nullptr) << entry.Name;
    }
  }
  const TIdentMap twice = {{1, "clOne"}, {2, "clTwo"}, {1, "clUno"}, {-1, "clNone"}};
  ASSERT_NE(twice.FindValue(1), nullptr);
  EXPECT_STREQ(twice.FindValue(1)->Name, "clOne");
  ASSERT_NE(twice.FindValue(-1), nullptr);
  EXPECT_STREQ(twice.FindValue(-1)->Name, "clNone");
  EXPECT_EQ(twice.FindValue(3), nullptr);
  EXPECT_EQ(TIdentMap{}.FindValue(0), nullptr);
}

// ---- events and published methods ----

TEST(Event, BoundToAPublishedMethodKnowsItsName) {
  TTypedChild* form = New<TTypedChild>(nullptr);
  TNotifyEvent event;
  event.Bind(form, &TTypedChild::Click);
  ASSERT_TRUE(event.Method());
  EXPECT_EQ(event.Method().Data, form);
  EXPECT_EQ(form->ClassType().MethodName(event.Method().Code), "Click");
  event(form);
  EXPECT_EQ(form->Senders, (std::vector<TObject*>{form}));
  form->Free();
}

TEST(Event, AnonymousHandlersHaveNoName) {
  TTypedChild* form = New<TTypedChild>(nullptr);
  int calls = 0;
  TNotifyEvent lambda;
  lambda.Bind([&](TObject*) { ++calls; });
  TNotifyEvent unpublished;
  unpublished.Bind(form, &TTypedChild::Unpublished);
  for (TNotifyEvent* e : {&lambda, &unpublished}) {
    EXPECT_TRUE(*e);
    EXPECT_FALSE(e->Method());
    EXPECT_EQ(form->ClassType().MethodName(e->Method().Code), "");
  }
  lambda(nullptr);
  EXPECT_EQ(calls, 1);
  lambda.Clear();
  EXPECT_FALSE(lambda);
  lambda(nullptr);  // no handler: nothing happens
  EXPECT_EQ(calls, 1);
  form->Free();
}

TEST(Event, MethodPropertyBindsByNameAndChecksTheSignature) {
  TTypedChild* form = New<TTypedChild>(nullptr);
  TTypedChild* target = New<TTypedChild>(form);
  const TPropInfo& onClick = Prop(form->ClassType(), "OnClick");

  TMethod click{form->ClassType().FindMethod("click"), form};
  ASSERT_TRUE(click);
  SetMethodProp(target, onClick, click);
  EXPECT_EQ(GetMethodProp(target, onClick), click);
  target->OnClick(target);
  EXPECT_EQ(form->Senders, (std::vector<TObject*>{target}));

  TMethod keyPress{form->ClassType().FindMethod("KeyPress"), form};
  EXPECT_THROW(SetMethodProp(target, onClick, keyPress), EPropertyError);
  EXPECT_EQ(GetMethodProp(target, onClick), click);  // the old handler stays

  SetMethodProp(target, onClick, TMethod{});
  EXPECT_FALSE(target->OnClick);
  EXPECT_EQ(form->ClassType().FindMethod("Unpublished"), nullptr);
  form->Free();
}

// ---- class registry ----

TEST(ClassRegistry, RegisteredClassesAreFoundIgnoringCase) {
  const TClassInfo& cls = TTypedChild::StaticClass();
  EXPECT_EQ(GetClass("TTypedChild"), nullptr);
  RegisterClass(cls);
  EXPECT_EQ(GetClass("ttypedchild"), &cls);
  EXPECT_EQ(&FindClass("TTYPEDCHILD"), &cls);
  EXPECT_TRUE(cls.ClassNameIs("tTypedChild"));
  UnRegisterClass(cls);
  EXPECT_EQ(GetClass("TTypedChild"), nullptr);
}

TEST(ClassRegistry, FindClassOfAnUnknownNameRaises) {
  try {
    FindClass("TNowhere");
    ADD_FAILURE() << "no error";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNowhere not found");
  }
}

TEST(ClassInfo, InheritanceAndCreatability) {
  const TClassInfo& child = TTypedChild::StaticClass();
  EXPECT_TRUE(child.InheritsFrom(TComponent::StaticClass()));
  EXPECT_TRUE(child.InheritsFrom(child));
  EXPECT_FALSE(TComponent::StaticClass().InheritsFrom(child));
  // Classes as deep as each other in different branches, and a deeper one of another branch.
  EXPECT_FALSE(TStrings::StaticClass().InheritsFrom(TCollection::StaticClass()));
  EXPECT_FALSE(TStringList::StaticClass().InheritsFrom(TCollection::StaticClass()));
  EXPECT_FALSE(TStringList::StaticClass().InheritsFrom(child));
  EXPECT_TRUE(TStringList::StaticClass().InheritsFrom(TPersistent::StaticClass()));
  EXPECT_EQ(child.Parent(), &TTypedBase::StaticClass());
  EXPECT_FALSE(TStrings::StaticClass().IsCreatable());  // abstract
  EXPECT_EQ(TStrings::StaticClass().NewInstance(), nullptr);
  EXPECT_EQ(child.TypeInfo().Kind, tkClass);
  EXPECT_EQ(child.TypeInfo().ClassType, &child);
}

}  // namespace
