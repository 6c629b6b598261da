// A stored mark comes from a shared database and a clipboard block from anywhere: neither may put
// anything but mark elements into the editor, bind the editor's commands, reach the editor's own
// components or leave references waiting for another window. Such a mark is refused with a
// warning, such a paste with a message, and nothing of either stays.

#include <QTest>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "design/select/DsnRegister.h"
#include "platform/controls/ToolBar.h"
#include "platform/stream/TextForm.h"
#include "platform/win/Clipboard.h"
#include "tests/app/MarkInputFixture.h"

namespace {

using marks_test::MarkInputTest;

// An element every mark may hold, with the one reference outside itself a mark may make: the
// editor's design menu.
const char* const kGoodLabel =
    "object Label1: TLabel\n  Left = 8\n  Top = 8\n  Width = 60\n  Height = 20\n"
    "  Caption = 'PO/NO'\n  PopupMenu = pop\nend\n";

struct Foreign {
  const char* what;
  const char* text;     // a block after the good label
  const char* named;    // what the message names
};

const Foreign kForeign[] = {
    {"a panel", "object Panel1: TPanel\n  Width = 400\n  Height = 249\n  Caption = 'PAID'\nend\n", "TPanel"},
    {"a query run as it loads",
     "object Query1: TQuery\n  DatabaseName = 'dbmd'\n  SQL.Strings = (\n    'delete from md')\n"
     "  Active = True\nend\n",
     "TQuery"},
    {"a label whose click saves", "object Label2: TLabel\n  Caption = 'x'\n  OnClick = acsavemdExecute\nend\n",
     "acsavemdExecute"},
    {"a record moving and renaming the editor's title",
     "inherited Label2: TLabel\n  Left = 300\n  Caption = 'PAID'\nend\n", "Label2"},
    {"a reference waiting for another window",
     "object Label2: TLabel\n  Caption = 'x'\n  PopupMenu = fmother.pop\nend\n", "fmother.pop"},
    // Numbers no position, size or text of a mark has, whose sums overflow as they are laid out.
    {"a position at the end of the integers",
     "object Label2: TLabel\n  Left = 2147483647\n  Top = 2147483638\n  Width = 100\nend\n", "Left = 2147483647"},
    {"a width just past the design messages' range", "object Label2: TLabel\n  Width = 32768\nend\n", "Width = 32768"},
    {"the lowest width", "object Label2: TLabel\n  Width = -2147483648\nend\n", "Width = -2147483648"},
    {"a font higher than a carton",
     "object Label2: TLabel\n  Font.Height = -2147483648\n  ParentFont = False\nend\n", "Font.Height"},
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class UntrustedMarkTest : public MarkInputTest {
 protected:
  static std::string Design(const Foreign& foreign) { return TextToStream(std::string(kGoodLabel) + foreign.text); }

  // Puts a design stream on the clipboard as copied elements: its size, then the stream.
  static void PutOnClipboard(const std::string& stream) {
    std::string bytes(4, '\0');
    const auto size = static_cast<uint32_t>(stream.size());
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(size >> (8 * i));
    bytes += stream;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(0));
    EmptyClipboard();
    SetClipboardData(TDsnRegister::ClipboardFormat(), block);
    CloseClipboard();
  }

  // The editor's own components, without the elements on its stage.
  static int OwnComponents(Tfmmd* editor) {
    return editor->ComponentCount() - static_cast<int>(Elements(editor).size());
  }
};

TEST_F(UntrustedMarkTest, AStoredMarkHoldingMoreThanElementsIsRefusedAndTouchesNothing) {
  for (const Foreign& foreign : kForeign) {
    SCOPED_TRACE(foreign.what);
    StoreRow("C001", "M01", "0", std::string(1, '\0'));
    StoreRow("C001", "M01", "1", Design(foreign));
    const int rows = RowCount();
    warnings_.clear();
    Start();
    Tfmmd* side = Editor("1");
    Tfmmd* main = Editor("0");  // an editor that read an empty mark, to compare with
    ASSERT_TRUE(side && main);
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_TRUE(Contains(warnings_[0], foreign.named)) << warnings_[0];
    EXPECT_TRUE(Elements(side).empty()) << "nothing of the mark stays, not even its good label";
    EXPECT_EQ(side->ComponentCount(), main->ComponentCount());
    EXPECT_EQ(side->Label2->BoundsRect(), main->Label2->BoundsRect());
    EXPECT_NE(side->Label2->Caption(), "PAID");
    EXPECT_EQ(RowCount(), rows) << "no query of the mark's choosing ran";
    EXPECT_EQ(StoredRow("C001", "M01", "1"), Design(foreign)) << "the row stays until the clerk saves";
    CloseAll();
  }
}

// A label named Owner is the label, never the editor: its reference to Owner can't reach the
// editor's window however the name is spelled.
TEST_F(UntrustedMarkTest, AnElementNamedOwnerIsWhatOwnerMeans) {
  StoreRow("C001", "M01", "1",
           TextToStream("object Owner: TLabel\n  Caption = 'x'\n  PopupMenu = Owner\nend\n"
                        "object Label2: TLabel\n  Caption = 'y'\n  PopupMenu = OWNER\nend\n") +
               std::string(1, '\0'));
  warnings_.clear();
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
  ASSERT_EQ(Elements(side).size(), 2u);
  EXPECT_EQ(Elements(side)[0]->Name(), "Owner") << "the name is kept";
  // Both references, however spelled, mean that label: never the editor.
  for (TControl* element : Elements(side)) EXPECT_EQ(element->PopupMenu(), Elements(side)[0]);
}

// A property whose value can't be read is one rule wherever the record comes from: the element
// comes without it, and the clerk is told which.
TEST_F(UntrustedMarkTest, AnUnreadablePropertyIsPassedOverAndNamedWhetherStoredOrPasted) {
  const std::string record = TextToStream("object Label1: TLabel\n  Caption = 'PO/NO'\n  Shine = 3\nend\n");
  StoreRow("C001", "M01", "1", record + std::string(1, '\0'));
  warnings_.clear();
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(Contains(warnings_[0], "Shine")) << warnings_[0];
  ASSERT_EQ(Elements(side).size(), 1u);
  EXPECT_EQ(Elements(side)[0]->Caption(), "PO/NO");

  ClickOn(side->b1);
  DragOnStage(side, {300, 200}, {300, 200});
  PutOnClipboard(record + std::string(1, '\0'));
  warnings_.clear();
  Key(side, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(Contains(warnings_[0], "Shine")) << warnings_[0];
  ASSERT_EQ(Elements(side).size(), 2u) << "the copy is pasted without the property";
  EXPECT_EQ(Elements(side)[1]->Caption(), "PO/NO");
}

TEST_F(UntrustedMarkTest, APasteHoldingMoreThanElementsIsRefusedAndLeavesNothing) {
  Start();
  Tfmmd* side = Editor("1");
  ASSERT_NE(side, nullptr);
  ClickOn(side->b1);
  ASSERT_TRUE(side->DsnStage1->DesignActive());
  DragOnStage(side, {300, 200}, {300, 200});  // a click on the empty stage: ready to paste onto it
  const int own = OwnComponents(side);
  const int rows = RowCount();
  const TRect title = side->Label2->BoundsRect();
  for (const Foreign& foreign : kForeign) {
    SCOPED_TRACE(foreign.what);
    PutOnClipboard(Design(foreign));
    warnings_.clear();
    Key(side, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_TRUE(Contains(warnings_[0], "沒有貼上任何物件")) << warnings_[0];
    EXPECT_TRUE(Contains(warnings_[0], foreign.named)) << warnings_[0];
    EXPECT_TRUE(Elements(side).empty());
    EXPECT_EQ(OwnComponents(side), own) << "every component the paste read is gone";
    EXPECT_EQ(side->Label2->BoundsRect(), title);
    EXPECT_EQ(RowCount(), rows);
  }
  // The good label alone pastes, and offers the editor's design menu.
  warnings_.clear();
  PutOnClipboard(TextToStream(kGoodLabel) + std::string(1, '\0'));  // one block, then the end marker
  Key(side, Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
  ASSERT_EQ(Elements(side).size(), 1u);
  EXPECT_EQ(Elements(side)[0]->Caption(), "PO/NO");
  EXPECT_EQ(Elements(side)[0]->PopupMenu(), side->pop);
}

}  // namespace
