#include "platform/win/Clipboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QMimeData>

#include <cstring>
#include <string>

#include "tests/platform/win/QtApp.h"

namespace {

constexpr HWND kOwner = 7;

HGLOBAL BlockOf(const std::string& bytes) {
  const HGLOBAL block = GlobalAlloc(GHND, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}

std::string BytesOf(HGLOBAL block) {
  const void* bytes = GlobalLock(block);
  if (!bytes) return "<no block>";
  std::string copy(static_cast<const char*>(bytes), GlobalSize(block));
  GlobalUnlock(block);
  return copy;
}

bool IsBlock(HGLOBAL block) { return !(GlobalFlags(block) & GMEM_INVALID_HANDLE); }

std::string Wide(const std::u16string& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
}

TEST(RegisterClipboardFormat, SameNameInAnyCaseGivesSameId) {
  const UINT id = RegisterClipboardFormat("Mark Layout");
  EXPECT_GE(id, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormat("MARK layout"), id);
  EXPECT_NE(RegisterClipboardFormat("Mark Layout 2"), id);
  EXPECT_EQ(GetClipboardFormatName(id), "Mark Layout") << "the first spelling is kept";
  EXPECT_EQ(ClipboardFormatMimeType(id), "application/x-qt-windows-mime;value=\"Mark Layout\"");
  const std::string bad[] = {"", "a\"b", "a\\b", "tab\there"};
  for (const std::string& name : bad) EXPECT_EQ(RegisterClipboardFormat(name), 0u) << name;
}

// Starts every test with an empty desktop clipboard and leaves ours closed.
class Clipboard : public testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    Desktop()->clear();
  }
  void TearDown() override { CloseClipboard(); }

  static QClipboard* Desktop() { return QGuiApplication::clipboard(); }

  // What the desktop's clipboard holds under a MIME type, as another reader sees it.
  static std::string OnDesktop(const QString& mime) {
    const QMimeData* data = Desktop()->mimeData();
    return data && data->hasFormat(mime) ? data->data(mime).toStdString() : "<none>";
  }

  void Write(UINT format, const std::string& bytes) {
    ASSERT_TRUE(OpenClipboard(kOwner));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_NE(SetClipboardData(format, BlockOf(bytes)), 0u);
    ASSERT_TRUE(CloseClipboard());
  }

  std::string Read(UINT format) {
    EXPECT_TRUE(OpenClipboard(kOwner));
    const HGLOBAL block = GetClipboardData(format);
    const std::string bytes = block ? BytesOf(block) : "<none>";
    CloseClipboard();
    return bytes;
  }

  const UINT shapes_ = RegisterClipboardFormat("MarkEdit Shapes");
  const QString shapesMime_ = "application/x-qt-windows-mime;value=\"MarkEdit Shapes\"";
};

TEST_F(Clipboard, CallsNeedTheClipboardOpenByOneOwner) {
  const HGLOBAL block = BlockOf("x");
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(SetClipboardData(shapes_, block), 0u);
  EXPECT_EQ(GetClipboardData(shapes_), 0u);
  EXPECT_FALSE(CloseClipboard());
  ASSERT_TRUE(OpenClipboard(kOwner));
  EXPECT_FALSE(OpenClipboard(kOwner + 1));
  EXPECT_EQ(SetClipboardData(2, block), 0u) << "a format the clipboard does not keep";
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GlobalFree(block), 0u) << "a refused block stays its owner's";
}

TEST_F(Clipboard, RegisteredFormatIsPublishedUnderItsMimeTypeOnClose) {
  ASSERT_TRUE(OpenClipboard(kOwner));
  EmptyClipboard();
  SetClipboardData(shapes_, BlockOf("tshape2 A"));
  EXPECT_EQ(OnDesktop(shapesMime_), "<none>");
  CloseClipboard();
  EXPECT_EQ(OnDesktop(shapesMime_), "tshape2 A");
}

TEST_F(Clipboard, BlockRoundTripsByteExactly) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes.push_back(static_cast<char>(i * 7));
  Write(shapes_, bytes);
  EXPECT_EQ(Read(shapes_), bytes);
  Write(shapes_, "");
  EXPECT_EQ(Read(shapes_), "");
}

TEST_F(Clipboard, ReadsFormatOtherProgramsWroteInAnotherCase) {
  auto* data = new QMimeData;
  data->setData("application/x-qt-windows-mime;value=\"MARKEDIT SHAPES\"", "from elsewhere");
  Desktop()->setMimeData(data);
  EXPECT_TRUE(IsClipboardFormatAvailable(shapes_));
  EXPECT_EQ(Read(shapes_), "from elsewhere");
}

TEST_F(Clipboard, EmptiedClipboardHoldsNothing) {
  Write(shapes_, "old");
  ASSERT_TRUE(OpenClipboard(kOwner));
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_FALSE(IsClipboardFormatAvailable(shapes_));
  EXPECT_EQ(GetClipboardData(shapes_), 0u);
  ASSERT_TRUE(CloseClipboard());
  EXPECT_FALSE(IsClipboardFormatAvailable(shapes_));
  EXPECT_EQ(OnDesktop(shapesMime_), "<none>");
}

TEST_F(Clipboard, MissingFormatGivesNoBlock) {
  Write(shapes_, "shapes");
  ASSERT_TRUE(OpenClipboard(kOwner));
  EXPECT_EQ(GetClipboardData(RegisterClipboardFormat("MarkEdit Fields")), 0u);
  EXPECT_EQ(GetClipboardData(CF_TEXT), 0u);
  EXPECT_EQ(GetClipboardData(0xFFFE), 0u) << "an id never registered";
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST_F(Clipboard, WritingWithoutEmptyingAddsToContents) {
  Write(CF_TEXT, std::string("label\0", 6));
  ASSERT_TRUE(OpenClipboard(kOwner));
  SetClipboardData(shapes_, BlockOf("shape"));
  CloseClipboard();
  EXPECT_EQ(Desktop()->text().toStdString(), "label");
  EXPECT_EQ(Read(shapes_), "shape");
}

TEST_F(Clipboard, ClipboardFreesItsBlocksWhenReplacedEmptiedOrClosed) {
  Write(shapes_, "on the desktop");
  ASSERT_TRUE(OpenClipboard(kOwner));
  const HGLOBAL read = GetClipboardData(shapes_);
  EXPECT_EQ(GetClipboardData(shapes_), read);
  const HGLOBAL first = BlockOf("1");
  const HGLOBAL second = BlockOf("2");
  ASSERT_EQ(SetClipboardData(shapes_, first), first);
  EXPECT_EQ(GetClipboardData(shapes_), first);
  SetClipboardData(shapes_, second);
  EXPECT_FALSE(IsBlock(first));
  EmptyClipboard();
  EXPECT_FALSE(IsBlock(second));
  EXPECT_FALSE(IsBlock(read));
  const HGLOBAL third = BlockOf("3");
  SetClipboardData(shapes_, third);
  EXPECT_EQ(BytesOf(third), "3") << "readable until the clipboard closes";
  CloseClipboard();
  EXPECT_FALSE(IsBlock(third));
}

TEST_F(Clipboard, BlockHandedOverTwiceStaysWhileAFormatHoldsIt) {
  const UINT fields = RegisterClipboardFormat("MarkEdit Fields");
  ASSERT_TRUE(OpenClipboard(kOwner));
  EmptyClipboard();
  const HGLOBAL shared = BlockOf("both");
  SetClipboardData(shapes_, shared);
  SetClipboardData(shapes_, shared);
  SetClipboardData(fields, shared);
  SetClipboardData(shapes_, BlockOf("own"));
  EXPECT_TRUE(IsBlock(shared));
  CloseClipboard();
  EXPECT_EQ(Read(fields), "both");
  EXPECT_EQ(Read(shapes_), "own");
}

TEST_F(Clipboard, TextFormatsShareTheDesktopText) {
  Write(CF_TEXT, std::string("嘜頭\0junk", 11));
  EXPECT_EQ(Desktop()->text().toStdString(), "嘜頭") << "the text ends at its zero byte";
  Write(CF_UNICODETEXT, Wide(u"側嘜"));
  EXPECT_EQ(Desktop()->text().toStdString(), "側嘜");
  Desktop()->setText(QStringLiteral("C001 正嘜"));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(Read(CF_TEXT), std::string("C001 正嘜\0", 12));
  EXPECT_EQ(Read(CF_UNICODETEXT), Wide(u"C001 正嘜"));
}

TEST_F(Clipboard, TextWrittenInOneFormatReadsInTheOther) {
  ASSERT_TRUE(OpenClipboard(kOwner));
  EmptyClipboard();
  SetClipboardData(CF_TEXT, BlockOf(std::string("ab\0", 3)));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_EQ(BytesOf(GetClipboardData(CF_UNICODETEXT)), Wide(u"ab"));
  SetClipboardData(CF_TEXT, BlockOf(std::string("cd\0", 3)));
  EXPECT_EQ(BytesOf(GetClipboardData(CF_UNICODETEXT)), Wide(u"cd"))
      << "a block read before the text changed is out of date";
}

}  // namespace
