// The main window's commands over the marks of table md: open, new, save, save as, delete (through
// the open dialog), the recent marks of the File menu, mark files, the database settings and About.

#include <QTimer>
#include <QtGlobal>

#include <optional>

#include "app/MarkFile.h"
#include "app/MarkStore.h"
#include "app/Question.h"
#include "app/RecentMarks.h"
#include "app/UPub.h"
#include "app/ufmdbset.h"
#include "app/ufmkey.h"
#include "app/ufmmain.h"
#include "app/ufmmd.h"
#include "app/ufmopen.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Menus.h"
#include "platform/controls/StatusBar.h"
#include "platform/db/DatabaseAliases.h"
#include "platform/rtl/Tr.h"
#include "platform/win/MessageBox.h"

namespace {

// What the main window's file commands say.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

}  // namespace

void Tfmmain::ShowRecentMarks(const std::vector<TMarkNumbers>& marks) {
  for (const TWeak<TMenuItem>& item : recentItems_)
    if (TMenuItem* gone = item.get()) gone->Free();
  recentItems_.clear();
  auto* file = dynamic_cast<TMenuItem*>(FindComponent("File1"));
  auto* exitSeparator = dynamic_cast<TMenuItem*>(FindComponent("N1"));
  if (!file || !exitSeparator || marks.empty()) return;
  int at = file->IndexOf(exitSeparator);
  for (size_t i = 0; i < marks.size(); ++i) {
    auto* item = New<TMenuItem>(this);
    item->SetCaption("&" + std::to_string(i + 1) + "  " + marks[i].CustomerId + "  " + marks[i].MarkId);
    item->OnClick.Bind([this, mark = marks[i]](TObject*) { OpenMark(mark.CustomerId, mark.MarkId); });
    file->Insert(at++, item);
    recentItems_.emplace_back(item);
  }
  auto* separator = New<TMenuItem>(this);
  separator->SetCaption("-");
  file->Insert(at, separator);
  recentItems_.emplace_back(separator);
}

bool Tfmmain::OpenMark(const std::string& customer, const std::string& mark, bool ask) {
  // A question runs a modal loop, in which an editor may go away.
  std::vector<TWeak<Tfmmd>> editors;
  for (Tfmmd* editor : Editors()) editors.emplace_back(editor);
  for (const TWeak<Tfmmd>& editor : editors)
    if (ask && editor && !editor->CloseQuery()) return false;
  // Made anew, as at the start: the designs, the histories and the row menus are the new mark's.
  for (const TWeak<Tfmmd>& editor : editors)
    if (Tfmmd* gone = editor.get()) gone->Free();
  customerId_ = customer;
  markId_ = mark;
  ShowMarkInTitle();
  editorsOpened_ = true;
  OpenEditors();
  // Listed not now: the item clicked may be one of the recent marks, still running its click.
  QTimer::singleShot(0, [self = TWeak<Tfmmain>(this), marks = RememberRecentMark({customerId_, markId_})] {
    if (self) self->ShowRecentMarks(marks);
  });
  return true;
}

namespace {

std::string MarkFileFilter() { return Tr(Texts::tr("Mark files (*.mark)|*.mark|All files (*.*)|*.*")); }

}  // namespace

void Tfmmain::ExportMarkFile(const std::string& path) {
  Tfmmd* main = Editor("0");
  Tfmmd* side = Editor("1");
  try {
    const TMarkPair stored = (!main || !side) ? ReadMarkPair(customerId_, markId_) : TMarkPair{};
    TMarkFileDesigns designs;
    designs.Main = main ? main->CurrentDesign() : stored.Main.value_or("");
    designs.Side = side ? side->CurrentDesign() : stored.Side.value_or("");
    SaveMarkFile(path, designs);
  } catch (const std::exception& e) {
    ShowWarning(Tr(Texts::tr("Cannot export the mark file.\n\n%1"), WithAdvice(e)));
  }
}

void Tfmmain::ImportMarkFile(const std::string& path) {
  TMarkFileDesigns designs;
  try {
    designs = LoadMarkFile(path);
  } catch (const std::exception& e) {
    ShowWarning(Tr(Texts::tr("Cannot import the mark file; the editors did not change.\n\n%1"), std::string(e.what())));
    return;
  }
  Tfmmd* main = Editor("0");
  Tfmmd* side = Editor("1");
  if (!main || !side) {
    ShowWarning(Tr(Texts::tr("Importing a mark file needs both editors, the main mark's and the side mark's: open the mark again first.")));
    return;
  }
  const std::string mainBefore = main->CurrentDesign();
  try {
    main->ImportDesign(designs.Main);
  } catch (const std::exception& e) {
    ShowWarning(Tr(Texts::tr("Cannot import the main mark of the mark file; the editors did not change.\n\n%1"), std::string(e.what())));
    return;
  }
  try {
    side->ImportDesign(designs.Side);
  } catch (const std::exception& e) {
    // Both sides or neither: the main mark goes back to what it was (no step is left of it).
    try {
      main->ImportDesign(mainBefore);
    } catch (const std::exception&) {
    }
    ShowWarning(Tr(Texts::tr("Cannot import the side mark of the mark file; the editors did not change.\n\n%1"), std::string(e.what())));
  }
}

void Tfmmain::ExportMarkFileClick(TObject*) {
  auto* dialog = New<TSaveDialog>(this);
  dialog->SetTitle(Tr(Texts::tr("Export mark file")));
  dialog->SetFilter(MarkFileFilter());
  dialog->SetDefaultExt("mark");
  dialog->SetFileName(customerId_ + "-" + markId_ + ".mark");
  const bool chosen = dialog->Execute();
  const std::string path = dialog->FileName();
  dialog->Free();
  if (chosen) ExportMarkFile(path);
}

void Tfmmain::ImportMarkFileClick(TObject*) {
  auto* dialog = New<TOpenDialog>(this);
  dialog->SetTitle(Tr(Texts::tr("Import mark file")));
  dialog->SetFilter(MarkFileFilter());
  const bool chosen = dialog->Execute();
  const std::string path = dialog->FileName();
  dialog->Free();
  if (chosen) ImportMarkFile(path);
}

void Tfmmain::DatabaseSettingsClick(TObject*) {
  auto* dialog = New<Tfmdbset>(this);
  const TWeak<Tfmdbset> alive(dialog);
  // The editors' changes go to the database they were read from, or are dropped, before the alias
  // changes: no save reaches the new database with what was read from the old one.
  dialog->BeforeSave = [this] {
    std::vector<TWeak<Tfmmd>> editors;
    for (Tfmmd* editor : Editors()) editors.emplace_back(editor);
    for (const TWeak<Tfmmd>& editor : editors)
      if (editor && !editor->CloseQuery()) return false;
    return true;
  };
  dialog->AfterSave = [this] { OpenMark(customerId_, markId_, false); };
  dialog->ShowModal();
  if (alive) dialog->Free();
}

std::string Tfmmain::AboutText() {
  std::string database;
  try {
    TAliasSettings settings;
    if (FindAlias(kMarkAlias, settings)) {
      database = settings.Driver + "  " + (settings.Host.empty() ? "" : settings.Host + "  ") + settings.Database;
      database = WithoutCredentials(database, settings);
    } else {
      database = Tr(Texts::tr("(dbalias.ini has no %1)"), std::string(kMarkAlias));
    }
  } catch (const std::exception& e) {
    database = e.what();
  }
  return Tr(Texts::tr("Shipping mark editor markedit %1\n\nQt %2\nMark database %3: %4"), std::string(MARKEDIT_VERSION),
            std::string(qVersion()), std::string(kMarkAlias), database);
}

void Tfmmain::HelpAbout1Execute(TObject*) {
  MessageBox(Handle(), AboutText(), Tr(Texts::tr("About the shipping mark editor")), MB_OK | MB_ICONINFORMATION);
}

bool Tfmmain::ChooseAndOpenMark() {
  auto* dialog = New<Tfmopen>(this);
  const TWeak<Tfmopen> alive(dialog);
  // The mark open here deleted: the editors are left empty, with nothing to save.
  dialog->OnDeleted = [this](const std::string& customer, const std::string& mark) {
    if (customer == customerId_ && mark == markId_) OpenMark(customer, mark, false);
  };
  const bool chosen = dialog->ShowModal() == mrOk && alive && dialog->Chosen();
  const std::optional<TStoredMark> mark = alive ? dialog->Chosen() : std::nullopt;
  if (alive) dialog->Free();
  return chosen && mark && OpenMark(mark->CustomerId, mark->MarkId);
}

bool Tfmmain::AskMarkNumbers(const std::string& title, std::string& customer, std::string& mark) {
  auto* dialog = New<Tfmkey>(this);
  const TWeak<Tfmkey> alive(dialog);
  dialog->SetCaption(title);
  const bool taken = dialog->ShowModal() == mrOk && alive;
  if (taken) {
    customer = dialog->Customer();
    mark = dialog->Mark();
  }
  if (alive) dialog->Free();
  return taken && !customer.empty() && !mark.empty();
}

void Tfmmain::FileNew1Execute(TObject*) {
  std::string customer;
  std::string mark;
  if (!AskMarkNumbers(Tr(Texts::tr("New mark")), customer, mark)) return;
  try {
    const TMarkPair stored = ReadMarkPair(customer, mark);
    if (stored.Main || stored.Side) {
      if (AskQuestion(Tr(Texts::tr("Customer %1 already has a mark %2. Open it?"), customer, mark),
                      {Tr(Texts::tr("Yes")), Tr(Texts::tr("No"))}, 1) == 0)
        OpenMark(customer, mark);
      return;
    }
  } catch (const std::exception& e) {
    ShowWarning(WithAdvice(e));
    return;
  }
  OpenMark(customer, mark);
}

TMarkPair Tfmmain::DesignsToSave() {
  const auto design = [this](const std::string& side) -> std::optional<std::string> {
    Tfmmd* editor = Editor(side);
    if (!editor) return ReadMark({customerId_, markId_, side});
    if (editor->DsnStage1->ControlCount() > 0 || editor->Stored()) return editor->CurrentDesign();
    return std::nullopt;
  };
  return {design("0"), design("1")};
}

void Tfmmain::FileSaveAs1Execute(TObject*) {
  std::string customer;
  std::string mark;
  if (!AskMarkNumbers(Tr(Texts::tr("Save mark as")), customer, mark)) return;
  const std::string where = Tr(Texts::tr("customer %1's mark %2"), customer, mark);
  try {
    const TMarkPair designs = DesignsToSave();
    // What the clerk is asked about is what the write expects to find.
    const TMarkPair there = ReadMarkPair(customer, mark);
    if ((there.Main || there.Side) &&
        AskQuestion(Tr(Texts::tr("%1 exists already. Replace it with this design?"), where),
                    {Tr(Texts::tr("Yes")), Tr(Texts::tr("No"))}, 1) != 0)
      return;
    if (!StoreMarkPair(customer, mark, designs, there).Done) {
      ShowWarning(Tr(Texts::tr("Someone else changed %1 after you were asked; nothing was written. Try again."), where));
      return;
    }
  } catch (const std::exception& e) {
    ShowWarning(Tr(Texts::tr("Cannot save the mark as a new one: %1"), WithAdvice(e)));
    return;
  }
  // Both sides are stored under the new numbers: the editors edit them from now on.
  OpenMark(customer, mark, false);
  if (StatusBar && StatusBar->Panels()->Count() > 1) StatusBar->Panels()->Items(1)->SetText(Tr(Texts::tr("Saved as %1"), where));
}

void Tfmmain::FileOpen1Execute(TObject*) { ChooseAndOpenMark(); }

void Tfmmain::FileSave1Execute(TObject*) {
  std::vector<TWeak<Tfmmd>> editors;
  for (Tfmmd* editor : Editors()) editors.emplace_back(editor);
  std::string saved;
  bool failed = false;
  for (const TWeak<Tfmmd>& editor : editors) {
    if (!editor || !editor->Modified()) continue;
    if (editor->SaveMark(false)) saved += (saved.empty() ? std::string() : Tr(Texts::tr(", "))) + MarkSideName(editor->MarkSide());
    else failed = true;
  }
  std::string text = !saved.empty() ? Tr(Texts::tr("Saved %1"), saved)
                     : failed        ? Tr(Texts::tr("Nothing was saved"))
                                     : Tr(Texts::tr("No changes to save"));
  if (StatusBar && StatusBar->Panels()->Count() > 1) StatusBar->Panels()->Items(1)->SetText(text);
}
