#include "app/EditMenu.h"

#include <string>

#include "app/ufmmain.h"
#include "app/ufmmd.h"
#include "design/select/DsnHistory.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StdActns.h"
#include "platform/rtl/Tr.h"

namespace {

// The Edit menu's commands.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(EditMenu)
};

// The mark editor the Edit menu acts on; null when none is active.
Tfmmd* ActiveEditor(Tfmmain& window) { return dynamic_cast<Tfmmd*>(window.ActiveMDIChild()); }

// The active editor while its stage is designed; null otherwise.
Tfmmd* DesignedEditor(Tfmmain& window) {
  Tfmmd* editor = ActiveEditor(window);
  return editor && editor->DsnStage1 && editor->DsnStage1->DesignActive() && editor->DsnDpRegister1 ? editor
                                                                                                     : nullptr;
}

TAction* NewAction(Tfmmain& window, const std::string& caption, TShortCut key) {
  auto* action = New<TAction>(&window);
  action->SetCaption(caption);
  action->SetShortCut(key);
  action->SetActionList(window.ActionList1);
  return action;
}

TMenuItem* NewItem(Tfmmain& window, TMenuItem* parent, int index, TAction* action) {
  auto* item = New<TMenuItem>(&window);
  if (action) item->SetAction(action);
  else item->SetCaption("-");
  if (index < 0) parent->Add(item);
  else parent->Insert(index, item);
  return item;
}

// Undo or redo in the active editor, enabled and named by the step it would take.
TAction* HistoryAction(Tfmmain& window, const std::string& command, TShortCut key, bool redo) {
  TAction* action = NewAction(window, command, key);
  Tfmmain* self = &window;
  action->OnExecute.Bind([self, redo](TObject*) {
    if (Tfmmd* editor = ActiveEditor(*self)) redo ? editor->Redo() : editor->Undo();
  });
  action->OnUpdate.Bind([self, action, command, redo](TObject*) {
    Tfmmd* editor = ActiveEditor(*self);
    TDsnHistory* history = editor ? editor->History() : nullptr;
    action->SetEnabled(history && (redo ? history->CanRedo() : history->CanUndo()));
    const std::string step = history ? (redo ? history->RedoName() : history->UndoName()) : std::string();
    action->SetCaption(step.empty() ? command : command + " " + step);
  });
  return action;
}

}  // namespace

void FillAlignMenu(TMenuItem& submenu, TComponent* owner, const std::function<void(TMenuItem&, TAlignCommand)>& bind) {
  for (int i = 0; i < kAlignCommandCount; ++i) {
    const auto command = static_cast<TAlignCommand>(i);
    if (command == alSpaceHorz || command == alSameWidth) {
      auto* line = New<TMenuItem>(owner);
      line->SetCaption("-");
      submenu.Add(line);
    }
    auto* item = New<TMenuItem>(owner);
    item->SetCaption(AlignCaption(command));
    item->SetTag(command);
    bind(*item, command);
    submenu.Add(item);
  }
}

void BuildEditMenu(Tfmmain& window) {
  auto* edit = dynamic_cast<TMenuItem*>(window.FindComponent("Edit1"));
  if (!edit || !window.ActionList1) return;
  Tfmmain* self = &window;

  TAction* undo = HistoryAction(window, Tr(Texts::tr("Undo")), ShortCut('Z', {ssCtrl}), false);
  TAction* redo = HistoryAction(window, Tr(Texts::tr("Redo")), ShortCut('Y', {ssCtrl}), true);
  NewItem(window, edit, 0, undo);
  NewItem(window, edit, 1, redo)->SetSecondaryShortCuts({ShortCut('Z', {ssCtrl, ssShift})});
  NewItem(window, edit, 2, nullptr);

  TAction* all = NewAction(window, Tr(Texts::tr("Select all")), ShortCut('A', {ssCtrl}));
  all->OnExecute.Bind([self](TObject*) {
    if (Tfmmd* editor = DesignedEditor(*self)) editor->DsnDpRegister1->SelectAll();
  });
  all->OnUpdate.Bind([self, all](TObject*) { all->SetEnabled(DesignedEditor(*self) != nullptr); });
  NewItem(window, edit, -1, nullptr);
  NewItem(window, edit, -1, all);

  // The layout commands have no keys: they are made when the menu first opens, not at start.
  auto* layout = New<TMenuItem>(&window);
  layout->SetCaption(Tr(Texts::tr("Align")));
  edit->Add(layout);
  edit->OnClick.Bind([self, layout = TWeak<TMenuItem>(layout)](TObject*) {
    if (!layout || layout->Count() > 0) return;
    FillAlignMenu(*layout, self, [self](TMenuItem& item, TAlignCommand command) {
      TAction* action = NewAction(*self, AlignCaption(command), 0);
      action->OnExecute.Bind([self, command](TObject*) {
        if (Tfmmd* editor = DesignedEditor(*self)) editor->DsnDpRegister1->AlignSelection(command);
      });
      action->OnUpdate.Bind([self, command, action](TObject*) {
        Tfmmd* editor = DesignedEditor(*self);
        action->SetEnabled(editor && editor->DsnDpRegister1->CanAlign(command));
      });
      item.SetAction(action);
    });
  });

  // Cut, copy and paste act on the designed stage unless an edit box has the focus.
  TBasicAction* cut = dynamic_cast<TBasicAction*>(window.FindComponent("EditCut1"));
  TBasicAction* copy = dynamic_cast<TBasicAction*>(window.FindComponent("EditCopy1"));
  TBasicAction* paste = dynamic_cast<TBasicAction*>(window.FindComponent("EditPaste1"));
  auto stageFor = [self, cut, copy, paste](TBasicAction* action) -> TDsnStage* {
    if (action != cut && action != copy && action != paste) return nullptr;
    if (TEditAction::FocusedEdit()) return nullptr;
    Tfmmd* editor = DesignedEditor(*self);
    return editor ? editor->DsnStage1 : nullptr;
  };
  window.ActionList1->OnExecute.Bind([stageFor, cut, copy](TBasicAction* action, bool& handled) {
    TDsnStage* stage = stageFor(action);
    if (!stage) return;
    handled = true;
    if (action == cut) stage->CutSelection();
    else if (action == copy) stage->CopySelection();
    else stage->PasteSelection();
  });
  window.ActionList1->OnUpdate.Bind([stageFor, paste](TBasicAction* action, bool& handled) {
    TDsnStage* stage = stageFor(action);
    auto* custom = dynamic_cast<TCustomAction*>(action);
    if (!stage || !custom) return;
    handled = true;
    custom->SetEnabled(action == paste || stage->SelectedCount() > 0);
  });
}
