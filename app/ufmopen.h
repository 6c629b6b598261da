#pragma once
// The open dialog ("開啟嘜頭"): the marks kept in table md, each with the sides it has, read from
// the keys alone when the dialog is shown. Typing into the filter narrows the list to the marks
// whose customer or mark number holds the text; the arrow keys move in the list, Enter or a double
// click opens. The chosen mark is Chosen(), nothing when the dialog ended otherwise.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/MarkStore.h"
#include "platform/controls/Form.h"

class TBitBtn;
class TEdit;
class TLabel;
class TListBox;
class TMarkPreview;

class Tfmopen : public TForm {
  DECLARE_CLASS(Tfmopen)

 public:
  void FormShow(TObject* sender);
  void Edit1Change(TObject* sender);
  void Edit1KeyDown(TObject* sender, uint16_t& key, TShiftState shift);
  void ListBox1KeyDown(TObject* sender, uint16_t& key, TShiftState shift);
  void ListBox1DblClick(TObject* sender);
  void ListBox1Click(TObject* sender);
  void BitBtn1Click(TObject* sender);
  void BitBtn3Click(TObject* sender);
  // 刪除嘜頭: the highlighted mark, both rows in one transaction, after a question naming it; the
  // rows are deleted only as they were when the clerk was asked.
  void BitBtn4Click(TObject* sender);

  // Runs after a mark was deleted, with its numbers.
  std::function<void(const std::string& customer, const std::string& mark)> OnDeleted;

  // Reads the list of marks again; when the database cannot give it, says so under the list and
  // keeps the dialog open for another try.
  void Reload();
  // The line of a mark as the list shows it: customer, mark, the sides stored.
  static std::string LineOf(const TStoredMark& mark);

  const std::optional<TStoredMark>& Chosen() const { return chosen_; }
  // The marks shown now, in list order.
  const std::vector<TStoredMark>& Shown() const { return shown_; }

  TLabel* Label1 = nullptr;
  TEdit* Edit1 = nullptr;
  TListBox* ListBox1 = nullptr;
  TLabel* Label2 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn2 = nullptr;
  TBitBtn* BitBtn3 = nullptr;
  TBitBtn* BitBtn4 = nullptr;
  // Both sides of the highlighted mark, read when it is highlighted.
  TMarkPreview* Preview = nullptr;

 private:
  // Shows the marks that match the filter, the first one highlighted.
  void Refilter();
  // Moves the highlight by `step` lines, within the list.
  void MoveHighlight(int step);
  // The highlighted mark becomes the choice and the dialog ends with OK; nothing without one.
  void OpenHighlighted();
  // The preview follows the highlight.
  void ShowHighlighted();
  // Reacts to the keys both the filter and the list share; true when the key was taken.
  bool NavigationKey(uint16_t key);

  std::vector<TStoredMark> marks_;
  std::vector<TStoredMark> shown_;
  std::optional<TStoredMark> chosen_;
  std::optional<std::pair<std::string, std::string>> previewed_;  // the mark the preview shows
};
