#include "app/ufmopen.h"

#include <algorithm>

#include "app/MarkPreview.h"
#include "app/Question.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"
#include "platform/win/Windows.h"

namespace {

// What the open dialog says.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(OpenDialog)
};

}  // namespace

DEFINE_CLASS(Tfmopen, TForm) {
  c.Field("Label1", &Tfmopen::Label1);
  c.Field("Edit1", &Tfmopen::Edit1);
  c.Field("ListBox1", &Tfmopen::ListBox1);
  c.Field("Label2", &Tfmopen::Label2);
  c.Field("BitBtn1", &Tfmopen::BitBtn1);
  c.Field("BitBtn2", &Tfmopen::BitBtn2);
  c.Field("BitBtn3", &Tfmopen::BitBtn3);
  c.Field("BitBtn4", &Tfmopen::BitBtn4);
  c.Method("FormShow", &Tfmopen::FormShow);
  c.Method("Edit1Change", &Tfmopen::Edit1Change);
  c.Method("Edit1KeyDown", &Tfmopen::Edit1KeyDown);
  c.Method("ListBox1KeyDown", &Tfmopen::ListBox1KeyDown);
  c.Method("ListBox1DblClick", &Tfmopen::ListBox1DblClick);
  c.Method("ListBox1Click", &Tfmopen::ListBox1Click);
  c.Method("BitBtn1Click", &Tfmopen::BitBtn1Click);
  c.Method("BitBtn3Click", &Tfmopen::BitBtn3Click);
  c.Method("BitBtn4Click", &Tfmopen::BitBtn4Click);
}

std::string Tfmopen::LineOf(const TStoredMark& mark) {
  std::string line = mark.CustomerId + "    " + mark.MarkId + "   ";
  if (mark.Main) line += " " + MarkSideName("0");
  if (mark.Side) line += " " + MarkSideName("1");
  return line;
}

void Tfmopen::FormShow(TObject*) {
  chosen_.reset();
  if (!Preview) {
    Preview = New<TMarkPreview>(this);
    Preview->SetBounds(462, 44, 310, 296);
    Preview->SetParent(this);
  }
  previewed_.reset();
  Reload();
  if (Edit1->CanFocus()) Edit1->SetFocus();
}

void Tfmopen::Reload() {
  try {
    marks_ = ListMarks();
    Label2->SetCaption(marks_.empty() ? Tr(Texts::tr("The database holds no mark yet.")) : std::string());
  } catch (const std::exception& e) {
    marks_.clear();
    Label2->SetCaption(Tr(Texts::tr("Cannot read the list of marks: %1"), WithAdvice(e)));
  }
  Refilter();
}

void Tfmopen::Refilter() {
  // Latin letters in either case match; other bytes (the Chinese of a number) as they are.
  const std::string filter = UpperCase(Edit1->Text());
  shown_.clear();
  for (const TStoredMark& mark : marks_)
    if (filter.empty() || UpperCase(mark.CustomerId).find(filter) != std::string::npos ||
        UpperCase(mark.MarkId).find(filter) != std::string::npos)
      shown_.push_back(mark);
  TStrings* lines = ListBox1->Items();
  lines->BeginUpdate();
  lines->Clear();
  for (const TStoredMark& mark : shown_) lines->Add(LineOf(mark));
  lines->EndUpdate();
  ListBox1->SetItemIndex(shown_.empty() ? -1 : 0);
  ShowHighlighted();
}

void Tfmopen::ShowHighlighted() {
  if (!Preview) return;
  const int index = ListBox1->ItemIndex();
  if (index < 0 || index >= static_cast<int>(shown_.size())) {
    previewed_.reset();
    Preview->ShowText("");
    return;
  }
  const TStoredMark& mark = shown_[static_cast<size_t>(index)];
  const std::pair<std::string, std::string> key{mark.CustomerId, mark.MarkId};
  if (previewed_ == key) return;
  previewed_ = key;
  try {
    const TMarkPair designs = ReadMarkPair(mark.CustomerId, mark.MarkId);
    Preview->ShowMark(designs.Main, designs.Side, mark.CustomerId);
  } catch (const std::exception& e) {
    Preview->ShowText(Tr(Texts::tr("Cannot read this mark: %1"), WithAdvice(e)));
  }
}

void Tfmopen::ListBox1Click(TObject*) { ShowHighlighted(); }

void Tfmopen::Edit1Change(TObject*) { Refilter(); }

void Tfmopen::MoveHighlight(int step) {
  if (shown_.empty()) return;
  const int last = static_cast<int>(shown_.size()) - 1;
  ListBox1->SetItemIndex(std::clamp(ListBox1->ItemIndex() + step, 0, last));
  ShowHighlighted();
}

bool Tfmopen::NavigationKey(uint16_t key) {
  switch (key) {
    case VK_UP:
      MoveHighlight(-1);
      return true;
    case VK_DOWN:
      MoveHighlight(1);
      return true;
    case VK_RETURN:
      OpenHighlighted();
      return true;
    default:
      return false;
  }
}

void Tfmopen::Edit1KeyDown(TObject*, uint16_t& key, TShiftState) {
  if (NavigationKey(key)) key = 0;
}

void Tfmopen::ListBox1KeyDown(TObject*, uint16_t& key, TShiftState) {
  // The list moves its highlight itself; Enter opens.
  if (key == VK_RETURN && NavigationKey(key)) key = 0;
}

void Tfmopen::OpenHighlighted() {
  const int index = ListBox1->ItemIndex();
  if (index < 0 || index >= static_cast<int>(shown_.size())) return;
  chosen_ = shown_[static_cast<size_t>(index)];
  SetModalResult(mrOk);
}

void Tfmopen::ListBox1DblClick(TObject*) { OpenHighlighted(); }

void Tfmopen::BitBtn1Click(TObject*) {
  OpenHighlighted();
  // Without a mark highlighted, 開啟 does nothing and the dialog stays.
  if (!chosen_) SetModalResult(mrNone);
}

void Tfmopen::BitBtn3Click(TObject*) { Reload(); }

void Tfmopen::BitBtn4Click(TObject*) {
  const int index = ListBox1->ItemIndex();
  if (index < 0 || index >= static_cast<int>(shown_.size())) return;
  const TStoredMark mark = shown_[static_cast<size_t>(index)];
  const TWeak<Tfmopen> alive(this);
  try {
    const TMarkPair seen = ReadMarkPair(mark.CustomerId, mark.MarkId);
    std::string sides;
    if (seen.Main) sides += MarkSideName("0");
    if (seen.Side) sides += (sides.empty() ? std::string() : Tr(Texts::tr(", "))) + MarkSideName("1");
    if (sides.empty()) {
      Label2->SetCaption(Tr(Texts::tr("This mark is no longer in the database.")));
    } else if (AskQuestion(Tr(Texts::tr("Delete customer %1's mark %2 (%3)?\n\nA deleted mark cannot be brought back."),
                              mark.CustomerId, mark.MarkId, sides),
                           {Tr(Texts::tr("Delete")), Tr(Texts::tr("Cancel"))}, 1) == 0) {
      if (!alive) return;
      if (StoreMarkPair(mark.CustomerId, mark.MarkId, {}, seen).Done) {
        Label2->SetCaption(Tr(Texts::tr("Deleted %1 %2."), mark.CustomerId, mark.MarkId));
        if (OnDeleted) OnDeleted(mark.CustomerId, mark.MarkId);
      } else {
        Label2->SetCaption(Tr(Texts::tr("Someone else changed this mark after you were asked; it was not deleted.")));
      }
    }
  } catch (const std::exception& e) {
    if (alive) Label2->SetCaption(Tr(Texts::tr("Cannot delete the mark: %1"), WithAdvice(e)));
  }
  if (!alive) return;
  const std::string message = Label2->Caption();
  Reload();
  if (!message.empty()) Label2->SetCaption(message);
}
