#include "mark/ufmsetup.h"

#include "platform/controls/PageControl.h"
#include "platform/controls/Panel.h"
#include "platform/controls/RadioGroup.h"
#include "platform/controls/SpeedButton.h"
#include "platform/rtl/ClassBuilder.h"

DEFINE_CLASS(Tfmsetup, TForm) {
  c.Field("Panel1", &Tfmsetup::Panel1);
  c.Field("SpeedButton1", &Tfmsetup::SpeedButton1);
  c.Field("SpeedButton2", &Tfmsetup::SpeedButton2);
  c.Field("PageControl1", &Tfmsetup::PageControl1);
  c.Field("TabSheet1", &Tfmsetup::TabSheet1);
  c.Field("Panel3", &Tfmsetup::Panel3);
  c.Field("RadioGroup1", &Tfmsetup::RadioGroup1);
  c.Field("Panel2", &Tfmsetup::Panel2);
  c.Field("sb1", &Tfmsetup::sb1);
  c.Field("sb2", &Tfmsetup::sb2);
  c.Field("sb3", &Tfmsetup::sb3);
  c.Field("sb4", &Tfmsetup::sb4);
  c.Field("sb5", &Tfmsetup::sb5);
  c.Field("sb6", &Tfmsetup::sb6);
  c.Field("shape", &Tfmsetup::shape);
  c.Method("FormShow", &Tfmsetup::FormShow);
  c.Method("RadioGroup1Click", &Tfmsetup::RadioGroup1Click);
  c.Method("sb1Click", &Tfmsetup::sb1Click);
  c.Method("SpeedButton1Click", &Tfmsetup::SpeedButton1Click);
  c.Method("SpeedButton2Click", &Tfmsetup::SpeedButton2Click);
}

namespace {
// The figures of the radio items, in item order; lab and field have none.
constexpr tkind kItemKinds[] = {square1, square2, triangle1, triangle2, eclipse};

// The line of each button, found by its group.
bool LineOfGroup(int groupIndex, tsline& line) {
  switch (groupIndex) {
    case 1: line = slleft; return true;
    case 2: line = slright; return true;
    case 3: line = sltop; return true;
    case 4: line = slbottom; return true;
    case 5: line = sllr; return true;
    case 6: line = slrl; return true;
    default: return false;
  }
}
}  // namespace

std::array<TSpeedButton*, 6> Tfmsetup::LineButtons() const { return {sb1, sb2, sb3, sb4, sb5, sb6}; }

void Tfmsetup::SetLineButtonsVisible(bool value) {
  for (TSpeedButton* button : LineButtons())
    if (button) button->SetVisible(value);
}

void Tfmsetup::UpdateLineButtons() {
  if (!shape) return;
  if (shape->kind() != square1) {
    SetLineButtonsVisible(false);
    return;
  }
  SetLineButtonsVisible(true);
  const tslset lines = shape->slset();
  tsline line;
  for (TSpeedButton* button : LineButtons())
    if (button && LineOfGroup(button->GroupIndex(), line)) button->SetDown(lines.Contains(line));
}

void Tfmsetup::FormShow(TObject*) {
  if (!shape || !RadioGroup1) return;
  int item = -1;
  for (int i = 0; i < static_cast<int>(std::size(kItemKinds)); ++i)
    if (kItemKinds[i] == shape->kind()) item = i;
  RadioGroup1->SetItemIndex(item);
  UpdateLineButtons();
}

void Tfmsetup::RadioGroup1Click(TObject*) {
  if (!shape || !RadioGroup1) return;
  const int item = RadioGroup1->ItemIndex();
  if (item >= 0 && item < static_cast<int>(std::size(kItemKinds))) shape->Setkind(kItemKinds[item]);
  UpdateLineButtons();
}

void Tfmsetup::sb1Click(TObject* sender) {
  auto* button = ClassCast<TSpeedButton>(sender);
  tsline line;
  if (!button || !shape || !LineOfGroup(button->GroupIndex(), line)) return;
  tslset lines = shape->slset();
  if (button->Down()) lines.Include(line);
  else lines.Exclude(line);
  shape->Setslset(lines);
}

void Tfmsetup::SpeedButton1Click(TObject*) { SetModalResult(mrOk); }

void Tfmsetup::SpeedButton2Click(TObject*) { Close(); }
