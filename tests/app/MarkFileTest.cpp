// Mark files through the File menu: both sides to one text file and back byte for byte, as one
// undoable step; files that are damaged, foreign, too long or hold what a mark may not, refused
// whole with the editors unchanged.

#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/MarkFile.h"
#include "design/select/DsnHistory.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Menus.h"
#include "tests/app/MarkDialogsFixture.h"

namespace {

namespace fs = std::filesystem;

class MarkFileTest : public marks_test::MarkDialogsFixture {
 protected:
  void TearDown() override {
    SetDialogHook({});
    MarkDialogsFixture::TearDown();
  }
  // The File menu item `caption`, with the file dialog answered with `path`.
  void FileMenuWithFile(const std::string& caption, const fs::path& path) {
    SetDialogHook([path](TCommonDialog& dialog) {
      auto* files = dynamic_cast<TOpenDialog*>(&dialog);
      if (!files) return false;
      files->SetFileName(path.string());
      return true;
    });
    FileMenu(caption);
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
};

TEST_F(MarkFileTest, BothSidesGoToOneFileAndComeBackAsOneStepAndABadFileChangesNothing) {
  Start();
  Tfmmd* main = Editor("0");
  Tfmmd* side = Editor("1");
  PlaceLabel(main, "PO/NO", 8, 8);
  PlaceShape(main, square2, 100, 20);
  PlaceDBText(side, "產品編號", 16, 40);
  const std::string mainDesign = main->CurrentDesign();
  const std::string sideDesign = side->CurrentDesign();
  const fs::path file = windows_ / "C001-M01.mark";
  FileMenuWithFile("匯出嘜頭檔...", file);
  const std::string text = Read(file);
  ASSERT_EQ(text.rfind(std::string(kMarkFileHeader) + "\n[正嘜]\n", 0), 0u) << text;
  EXPECT_NE(text.find("[側嘜]\n"), std::string::npos);
  EXPECT_NE(text.find("產品編號"), std::string::npos) << "readable text";

  // Another mark, empty; the file read into it: both designs byte for byte, one undoable step.
  answers_ = {saNo, saNo};
  ASSERT_TRUE(main_->OpenMark("C003", "M01"));
  main = Editor("0");
  side = Editor("1");
  FileMenuWithFile("匯入嘜頭檔...", file);
  EXPECT_TRUE(warnings_.empty()) << warnings_.front();
  EXPECT_EQ(main->CurrentDesign(), mainDesign);
  EXPECT_EQ(side->CurrentDesign(), sideDesign);
  EXPECT_TRUE(main->Modified());
  EXPECT_EQ(main->History()->UndoName(), "匯入嘜頭檔");

  // Files to refuse whole: the editors keep what they show, changed since.
  PlaceLabel(main, "N.W.", 8, 80);
  Settle();
  const std::string mainNow = main->CurrentDesign();
  const std::string lastStep = main->History()->UndoName();
  const std::string sideLine = "[側嘜]\n";
  const size_t sideAt = text.find(sideLine);
  const std::string panel = "object P: TPanel\n  Left = 1\nend\nend.\n";
  struct Bad {
    std::string name, contents, said;
  } bad[] = {
      {"truncated", text.substr(0, text.size() - 30), "側嘜的第 "},
      {"picture", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "這不是嘜頭檔"},
      {"newer", "markedit mark file, version 2\n[正嘜]\n[側嘜]\n", "版本（2）"},
      {"panel", text.substr(0, sideAt + sideLine.size()) + panel, "側嘜"},
      // A line that is no text form, named by its line in the file.
      {"garbled", text.substr(0, sideAt + sideLine.size()) + "this is no object\n",
       "側嘜的第 " + std::to_string(std::count(text.begin(), text.begin() + sideAt, '\n') + 2) + " 行"},
      {"long", std::string(kMarkFileHeader) + "\n" + std::string(kMarkFileLimit, ' '), "32 MB"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    warnings_.clear();
    Write(windows_ / "bad.mark", b.contents);
    FileMenuWithFile("匯入嘜頭檔...", windows_ / "bad.mark");
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_NE(warnings_[0].find(b.said), std::string::npos) << warnings_[0];
    EXPECT_EQ(main->CurrentDesign(), mainNow);
    EXPECT_EQ(side->CurrentDesign(), sideDesign);
    EXPECT_EQ(main->History()->UndoName(), lastStep) << "no step of a refused file";
  }
  warnings_.clear();
}

}  // namespace
