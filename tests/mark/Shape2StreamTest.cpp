// Shape labels in design streams: a fresh label's settings, the four own properties always
// written and in their order, and reading them back by the class name.

#include <gtest/gtest.h>

#include <string>

#include "mark/shape2.h"
#include "platform/controls/Panel.h"
#include "platform/rtl/Stream.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"
#include "tests/support/QtApp.h"

namespace {

class Shape2StreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    RegisterClass(tshape2::StaticClass());
    root = New<TPanel>(nullptr);
    root->SetName("Stage");
  }
  void TearDown() override {
    FreeAndNil(root);
    UnRegisterClass(tshape2::StaticClass());
  }
  tshape2* AddShape(const std::string& name) {
    auto* shape = New<tshape2>(root);
    shape->SetName(name);
    shape->SetParent(root);
    return shape;
  }
  // A design stream of the one component: its block, then the end marker.
  std::string Write(TComponent* component) {
    TMemoryStream ms;
    {
      TWriter w(ms);
      w.SetRoot(root);
      w.WriteSignature();
      w.WriteComponent(component);
      w.WriteListEnd();
    }
    return ms.Bytes();
  }

  TPanel* root = nullptr;
};

TEST_F(Shape2StreamTest, FreshLabelWritesItsOwnPropertiesLastInTheirOrderEvenAtZero) {
  tshape2* shape = AddShape("tshape21");
  EXPECT_EQ(shape->Font()->Size(), 12);
  EXPECT_FALSE(shape->AutoSize());
  const std::string text = StreamToText(Write(shape));
  EXPECT_NE(text.find("object tshape21: tshape2\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  Font.Name = '新細明體'\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  Layout = tlCenter\n"), std::string::npos) << text;
  const std::string own =
      "  kind = square1\n"
      "  slset = [sltop, slbottom, slleft, slright]\n"
      "  pencolor = clBlack\n"
      "  penwidth = 3\n"
      "end\n";
  ASSERT_GE(text.size(), own.size() + 5);
  EXPECT_EQ(text.substr(text.size() - own.size() - 5), own + "end.\n") << text;
}

TEST_F(Shape2StreamTest, ReadingFindsTheClassAndRestoresEveryProperty) {
  tshape2* shape = AddShape("tshape21");
  shape->Setkind(triangle2);
  shape->Setslset({sllr, slbottom});
  shape->Setpencolor(clMaroon);
  shape->Setpenwidth(0);
  const std::string bytes = Write(shape);
  FreeAndNil(shape);

  TMemoryStream ms(bytes);
  TReader reader(ms);
  TComponent* read = nullptr;
  reader.ReadComponents(root, root, [&](TComponent* c) { read = c; });
  auto* copy = dynamic_cast<tshape2*>(read);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Name(), "tshape21");
  EXPECT_EQ(copy->kind(), triangle2);
  EXPECT_EQ(copy->slset(), (tslset{sllr, slbottom}));
  EXPECT_EQ(copy->pencolor(), clMaroon);
  EXPECT_EQ(copy->penwidth(), 0);
}

}  // namespace
