#pragma once
// The main window: the multiple-document frame of the editor. It holds what both mark editors
// share: the component palette with its label-text buttons, the hidden deposit panel with the
// prototypes the palette copies, the image list of the tool bars, the menus, the status bar and the
// database objects. Created first; closing it ends the program.

#include <array>
#include <string>
#include <vector>

#include "app/MarkStore.h"
#include "app/RecentMarks.h"
#include "platform/controls/Form.h"

class TActionList;
class TArrowButton;
class TDBText;
class TDsnButton;
class TDsnPanel;
class TImageList;
class TLabel;
class TListBox;
class TMainMenu;
class TMenuItem;
class TOpenDialog;
class TPanel;
class TQuery;
class TStatusBar;
class TStoredProc;
class TDsnInspector;
class Tfmmd;
class TBarcode;
class TMarkImage;
class TMarkLine;
class tshape2;

// The caption the next label placed on a stage receives: the text of the label button clicked
// last, in either editor, for the whole run. Empty until a label button is clicked.
extern std::string NewLabelCaption;

// The standard mark texts of the label buttons b0 … b8, in button order.
extern const std::array<const char*, 9> DefaultLabelTexts;

// The positional arguments of the command line, after the program name: the customer number, the
// mark number and one more that is accepted and ignored. Set by the program before the main
// window is created; arguments that are missing read as empty texts.
void SetCommandLineArguments(std::vector<std::string> arguments);
std::string CommandLineArgument(size_t index);

class Tfmmain : public TForm {
  DECLARE_CLASS(Tfmmain)

 public:
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  // The click handler of the label-text buttons: remembers the clicked button's caption.
  void b0Click(TObject* sender);
  void FileExit1Execute(TObject* sender);
  // File > New (Ctrl+N): the numbers of a new mark, then both editors empty on it; a mark that
  // exists already is offered to be opened instead. Nothing is written until the clerk saves.
  void FileNew1Execute(TObject* sender);
  // File > Open (Ctrl+O): the open dialog, then the mark chosen in both editors.
  void FileOpen1Execute(TObject* sender);
  // File > Save As: both sides written under other numbers in one transaction (a mark there is
  // replaced only when the clerk agrees, and only as the clerk saw it); the editors then edit it.
  void FileSaveAs1Execute(TObject* sender);
  // Help > About: the program and its version, the Qt version and the mark database in use
  // (driver and database, never a user name or password).
  void HelpAbout1Execute(TObject* sender);
  // 匯出嘜頭檔 / 匯入嘜頭檔: both sides of the open mark to one text file, and back as one step of
  // unsaved changes in each editor; a file that cannot be taken whole changes nothing.
  void ExportMarkFileClick(TObject* sender);
  void ImportMarkFileClick(TObject* sender);
  void ExportMarkFile(const std::string& path);
  void ImportMarkFile(const std::string& path);
  // 資料庫設定: the mark database's alias, edited in a dialog; once it is saved, the editors read
  // their mark again from the new database (unsaved changes were saved to the old one or dropped).
  void DatabaseSettingsClick(TObject* sender);
  // The text About shows.
  static std::string AboutText();
  // File > Save (Ctrl+S): every editor whose design changed saves it, design mode as it is; the
  // status bar says which sides were saved.
  void FileSave1Execute(TObject* sender);
  // An output item of the File menu, for the active mark editor: its Tag says which (TOutputKind).
  void OutputClick(TObject* sender);

  // Opens one mark editor as a borderless child of the frame, titled `caption`.
  // Puts an editor's property window 10 pixels inside the right edge of the main window.
  void PlaceInspector(TDsnInspector* inspector);
  Tfmmd* OpenMarkEditor(const std::string& caption);
  // The program closes only when every mark editor agrees: each one with unsaved changes asks
  // whether to save them, in the frame's order, and a cancel (or a failed save) keeps all open.
  bool CloseQuery() override;

  // Shows the open dialog and opens the mark chosen; false when none was (or the editors kept
  // theirs).
  bool ChooseAndOpenMark();
  // Both editors on the mark of `customer` and `mark`. Each editor with unsaved changes asks
  // first, and a cancel (or a failed save) keeps everything as it is: false then. An editor the
  // clerk closed is made again; the title and status bar follow, each undo history starts anew.
  // `ask` false opens without the question (what the editors hold is stored already, or gone).
  bool OpenMark(const std::string& customer, const std::string& mark, bool ask = true);
  // The mark editors open in the frame, in the frame's order.
  std::vector<Tfmmd*> Editors();
  // The open editor of side "0" (main mark) or "1" (side mark); null when it was closed.
  Tfmmd* Editor(const std::string& side);

  const std::string& CustomerId() const { return customerId_; }
  const std::string& MarkId() const { return markId_; }

  // Components of the layout.
  TPanel* DsnDpstPanel = nullptr;
  TLabel* Dpst_TLabel = nullptr;
  tshape2* Dpst_tshape2 = nullptr;
  tshape2* Dpst_tshape2X = nullptr;
  tshape2* Dpst_tshape2XX = nullptr;
  tshape2* Dpst_tshape2XXX = nullptr;
  tshape2* Dpst_tshape2XXXX = nullptr;
  TMarkLine* Dpst_TMarkLine = nullptr;
  TBarcode* Dpst_TBarcode = nullptr;
  TMarkImage* Dpst_TMarkImage = nullptr;
  TDBText* Dpst_TDBText = nullptr;
  TDsnPanel* DsnPanel1 = nullptr;
  TArrowButton* ArrowButton1 = nullptr;
  TDsnButton* DsnButton1 = nullptr;
  TDsnButton* DsnButton2 = nullptr;
  TDsnButton* DsnButton3 = nullptr;
  TDsnButton* DsnButton4 = nullptr;
  TDsnButton* DsnButton5 = nullptr;
  TDsnButton* DsnButton6 = nullptr;
  TDsnButton* ed1 = nullptr;
  TStatusBar* StatusBar = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* Window1 = nullptr;
  TActionList* ActionList1 = nullptr;
  TImageList* ImageList1 = nullptr;
  TListBox* ListBox1 = nullptr;
  TListBox* ListBox2 = nullptr;
  TListBox* ListBox3 = nullptr;
  TQuery* Query1 = nullptr;
  TStoredProc* StoredProc1 = nullptr;
  TOpenDialog* OpenDialog = nullptr;

 protected:
  void Destroy() override;

 private:
  // The title with the numbers of the mark open, and the status bar's first panel.
  void ShowMarkInTitle();
  // Both editors, main mark first, on customerId_ and markId_.
  void OpenEditors();
  // The marks opened last, listed in the File menu above Exit; one is opened as Open does.
  void ShowRecentMarks(const std::vector<TMarkNumbers>& marks);
  // The numbers dialog titled `title`; false when the clerk cancelled.
  bool AskMarkNumbers(const std::string& title, std::string& customer, std::string& mark);
  // What Save As writes: each editor's design, except an empty one never stored; a side whose
  // editor was closed keeps what the table holds for the mark open now.
  TMarkPair DesignsToSave();

  std::string title_;       // the layout's caption
  std::string customerId_;  // command-line argument 1, or the mark opened since
  std::string markId_;      // command-line argument 2, or the mark opened since
  bool editorsOpened_ = false;
  std::vector<TWeak<TMenuItem>> recentItems_;  // the File menu's recent marks and their separator
};

// The main window once it has been created.
extern Tfmmain* fmmain;
