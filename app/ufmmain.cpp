#include "app/ufmmain.h"

#include <utility>

#include "app/EditMenu.h"
#include "app/OutputCommand.h"
#include "app/RecentMarks.h"
#include "app/UPub.h"
#include "app/ufmmd.h"
#include "design/palette/DsnPanel.h"
#include "mark/Barcode.h"
#include "mark/MarkImage.h"
#include "mark/MarkLine.h"
#include "mark/shape2.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/Application.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/ImgList.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Panel.h"
#include "platform/controls/StatusBar.h"
#include "platform/db/Query.h"
#include "platform/db/StoredProc.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Texts.h"
#include "platform/rtl/Tr.h"
#include "platform/win/Folders.h"

namespace {

// What the main window shows.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

}  // namespace

std::string NewLabelCaption;

const std::array<const char*, 9> DefaultLabelTexts = {
    "PO/NO", "DESTINATION", "ITEM NO.", "C/NO.", "N.W.", "ITEM MAIN DESC", "MADE IN TAIWAN", "R.O.C.",
    "Q'TY"};

Tfmmain* fmmain = nullptr;

namespace {

std::vector<std::string>& Arguments() {
  static std::vector<std::string> arguments;
  return arguments;
}

// Folders are separated by "/" here; the data path always ends in one.
constexpr char kPathDelimiter[] = "/";

}  // namespace

void SetCommandLineArguments(std::vector<std::string> arguments) {
  Arguments() = std::move(arguments);
}

std::string CommandLineArgument(size_t index) {
  return index < Arguments().size() ? Arguments()[index] : std::string();
}

DEFINE_CLASS(Tfmmain, TForm) {
  c.Field("DsnDpstPanel", &Tfmmain::DsnDpstPanel);
  c.Field("Dpst_TLabel", &Tfmmain::Dpst_TLabel);
  c.Field("Dpst_tshape2", &Tfmmain::Dpst_tshape2);
  c.Field("Dpst_tshape2X", &Tfmmain::Dpst_tshape2X);
  c.Field("Dpst_tshape2XX", &Tfmmain::Dpst_tshape2XX);
  c.Field("Dpst_tshape2XXX", &Tfmmain::Dpst_tshape2XXX);
  c.Field("Dpst_tshape2XXXX", &Tfmmain::Dpst_tshape2XXXX);
  c.Field("Dpst_TMarkLine", &Tfmmain::Dpst_TMarkLine);
  c.Field("Dpst_TBarcode", &Tfmmain::Dpst_TBarcode);
  c.Field("Dpst_TMarkImage", &Tfmmain::Dpst_TMarkImage);
  c.Field("Dpst_TDBText", &Tfmmain::Dpst_TDBText);
  c.Field("DsnPanel1", &Tfmmain::DsnPanel1);
  c.Field("ArrowButton1", &Tfmmain::ArrowButton1);
  c.Field("DsnButton1", &Tfmmain::DsnButton1);
  c.Field("DsnButton2", &Tfmmain::DsnButton2);
  c.Field("DsnButton3", &Tfmmain::DsnButton3);
  c.Field("DsnButton4", &Tfmmain::DsnButton4);
  c.Field("DsnButton5", &Tfmmain::DsnButton5);
  c.Field("DsnButton6", &Tfmmain::DsnButton6);
  c.Field("ed1", &Tfmmain::ed1);
  c.Field("StatusBar", &Tfmmain::StatusBar);
  c.Field("MainMenu1", &Tfmmain::MainMenu1);
  c.Field("Window1", &Tfmmain::Window1);
  c.Field("ActionList1", &Tfmmain::ActionList1);
  c.Field("ImageList1", &Tfmmain::ImageList1);
  c.Field("ListBox1", &Tfmmain::ListBox1);
  c.Field("ListBox2", &Tfmmain::ListBox2);
  c.Field("ListBox3", &Tfmmain::ListBox3);
  c.Field("Query1", &Tfmmain::Query1);
  c.Field("StoredProc1", &Tfmmain::StoredProc1);
  c.Field("OpenDialog", &Tfmmain::OpenDialog);
  c.Method("FormCreate", &Tfmmain::FormCreate);
  c.Method("FormShow", &Tfmmain::FormShow);
  c.Method("b0Click", &Tfmmain::b0Click);
  c.Method("FileExit1Execute", &Tfmmain::FileExit1Execute);
  c.Method("FileNew1Execute", &Tfmmain::FileNew1Execute);
  c.Method("FileOpen1Execute", &Tfmmain::FileOpen1Execute);
  c.Method("FileSaveAs1Execute", &Tfmmain::FileSaveAs1Execute);
  c.Method("DatabaseSettingsClick", &Tfmmain::DatabaseSettingsClick);
  c.Method("HelpAbout1Execute", &Tfmmain::HelpAbout1Execute);
  c.Method("ExportMarkFileClick", &Tfmmain::ExportMarkFileClick);
  c.Method("ImportMarkFileClick", &Tfmmain::ImportMarkFileClick);
  c.Method("FileSave1Execute", &Tfmmain::FileSave1Execute);
  c.Method("OutputClick", &Tfmmain::OutputClick);
}

void Tfmmain::FormCreate(TObject*) {
  fmmain = this;

  // The data folder, always with its trailing delimiter, and the "mdfile" folder beneath it. When
  // no folder is configured the path is the lone delimiter; nothing is created at the root of the
  // file system then.
  const std::string configured = ReadProfileString("win.ini", "tavrix", "datapath");
  DataPath = configured;
  if (RightText(DataPath, 1) != kPathDelimiter) DataPath += kPathDelimiter;
  const std::string mdfile = DataPath + "mdfile";
  if (!configured.empty() && !DirectoryExists(mdfile)) CreateDir(mdfile);  // failure is not reported

  customerId_ = CommandLineArgument(0);
  markId_ = CommandLineArgument(1);
  title_ = Caption();
  if (StatusBar) StatusBar->Font()->SetSize(12);
  ShowMarkInTitle();

  SetWindowState(wsMaximized);
  BuildEditMenu(*this);

  for (size_t i = 0; i < DefaultLabelTexts.size(); ++i) {
    if (auto* button = dynamic_cast<TControl*>(FindComponent("b" + std::to_string(i))))
      button->SetCaption(DefaultLabelTexts[i]);
  }
}

void Tfmmain::ShowMarkInTitle() {
  SetCaption(Tr(Texts::tr("%1 customer no.  %2 mark no.  %3"), title_, customerId_, markId_));
  // The status bar shows the caption without the title "嘜頭編輯程式", twelve bytes of the code
  // page, from the blank that follows it.
  const int length = static_cast<int>(Utf8ToCp950(Caption()).size());
  if (!StatusBar || StatusBar->Panels()->Count() == 0) return;
  StatusBar->Panels()->Items(0)->SetText(MidText(Caption(), 13, length));
}

void Tfmmain::Destroy() {
  if (fmmain == this) fmmain = nullptr;
  TForm::Destroy();
}

void Tfmmain::FormShow(TObject*) {
  // The editors are opened once, when the window is first shown.
  if (editorsOpened_) return;
  editorsOpened_ = true;
  OpenEditors();
  ShowRecentMarks(!customerId_.empty() && !markId_.empty() ? RememberRecentMark({customerId_, markId_})
                                                          : ReadRecentMarks());
}

void Tfmmain::OpenEditors() {
  EditorCustomerId = customerId_;
  EditorMarkId = markId_;
  EditorMarkSide = "0";
  OpenMarkEditor(Tr(Texts::tr("Main mark")));
  EditorMarkSide = "1";
  OpenMarkEditor(Tr(Texts::tr("Side mark")));
}

std::vector<Tfmmd*> Tfmmain::Editors() {
  std::vector<Tfmmd*> editors;
  for (int i = 0; i < MDIChildCount(); ++i)
    if (auto* editor = dynamic_cast<Tfmmd*>(MDIChildren(i))) editors.push_back(editor);
  return editors;
}

Tfmmd* Tfmmain::Editor(const std::string& side) {
  for (Tfmmd* editor : Editors())
    if (editor->MarkSide() == side) return editor;
  return nullptr;
}


Tfmmd* Tfmmain::OpenMarkEditor(const std::string& caption) {
  Tfmmd* editor = New<Tfmmd>(Application);
  editor->SetBorderStyle(bsNone);
  // The title names the editor in the frame's window menu as well as on its tool bar.
  editor->SetCaption(caption);
  editor->Label2->SetCaption(caption);
  editor->DsnInspector1->SetCaption(Tr(Texts::tr("Properties")));
  PlaceInspector(editor->DsnInspector1);
  return editor;
}

// The main window is maximised only once it is shown, and the user may resize it: editors place
// their inspector again each time design mode starts.
void Tfmmain::PlaceInspector(TDsnInspector* inspector) {
  if (!inspector) return;
  TInspectorPos* position = inspector->Position();
  position->Left = Left() + Width() - position->Width - 10;
}

bool Tfmmain::CloseQuery() {
  // A question runs a modal loop, in which an editor may go away.
  std::vector<TWeak<Tfmmd>> editors;
  for (Tfmmd* editor : Editors()) editors.emplace_back(editor);
  for (const TWeak<Tfmmd>& editor : editors)
    if (editor && !editor->CloseQuery()) return false;
  return TForm::CloseQuery();
}

void Tfmmain::b0Click(TObject* sender) {
  if (auto* button = dynamic_cast<TControl*>(sender)) NewLabelCaption = button->Caption();
}

void Tfmmain::FileExit1Execute(TObject*) { Close(); }

void Tfmmain::OutputClick(TObject* sender) {
  auto* item = dynamic_cast<TComponent*>(sender);
  auto* editor = dynamic_cast<Tfmmd*>(ActiveMDIChild());
  if (item) RunMarkOutput(static_cast<TOutputKind>(item->Tag()), editor ? editor->MarkSide() : "0");
}
