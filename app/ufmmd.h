#pragma once
// The mark editor window: one shipping mark (the main mark or the side mark) designed on a white
// stage, with a tool bar of its commands. The main window opens two of them as borderless
// children of its frame.

#include <cstdint>
#include <optional>
#include <string>

#include "design/DsnUnit.h"
#include "design/inspector/DsnSpctr.h"
#include "design/select/DsnSelect.h"
#include "design/select/DsnSubGr.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"

class TAction;
class TActionList;
class TColorDialog;
class TDataSource;
class TDsnHistory;
class TDBText;
class TFontDialog;
class TLabel;
class TMenuItem;
class TPanel;
class TPopupMenu;
class TQuery;
class TTable;
class TToolBar;
class TToolButton;
class TBarcode;
class TMarkImage;
class TMarkLine;
class tshape2;

// Values the main window sets before it creates an editor: the customer and mark numbers, and the
// mark side ("0" main mark, "1" side mark) that the editor keeps.
extern std::string EditorCustomerId;
extern std::string EditorMarkId;
extern std::string EditorMarkSide;

class Tfmmd : public TForm, public TLabelRow {
  DECLARE_CLASS(Tfmmd)

 public:
  void FormClose(TObject* sender, TCloseAction& action);
  void FormActivate(TObject* sender);
  void DsnInspector1BtnClick(TObject* sender, TSelectedComponents* targets, const std::string& propName,
                             std::string& value);
  void acsavemdExecute(TObject* sender);
  void aceditExecute(TObject* sender);
  void acshapeExecute(TObject* sender);
  void DsnStage1ControlCreate(TObject* sender, TComponent* component);
  void DsnStage1ControlPasted(TObject* sender, TComponent* component);
  void acloadmdExecute(TObject* sender);
  void FormShow(TObject* sender);
  void FormCreate(TObject* sender);

  // "0" for the main mark, "1" for the side mark.
  const std::string& MarkSide() const { return markSide_; }
  // The customer and mark numbers the editor was opened for; its mark is stored under them.
  const std::string& CustomerId() const { return customerId_; }
  const std::string& MarkId() const { return markId_; }

  // Stores the stage's design as this editor's row of the mark table, first ending design mode
  // unless `endDesign` is false. On failure it says why, and the design stays on the stage and
  // the stored row as it was. True when the design was stored.
  bool SaveMark(bool endDesign = true);
  // True when the stage holds something other than what was last loaded or saved.
  bool Modified();
  // Whether the table has (had, when last read or saved) a row for this editor's mark and side.
  bool Stored() const { return storedRow_.has_value(); }

  // The editor's undo history: each change of its design is a step; saving keeps it.
  TDsnHistory* History() const { return history_; }
  // Puts `design` on the stage as one step of unsaved changes (匯入嘜頭檔), read as a stored mark
  // is; a design that is refused raises and leaves the stage as it was.
  void ImportDesign(const std::string& design);
  // Undo and redo of the last step, design mode on or off; false when there was none to take.
  bool Undo();
  bool Redo();
  // The stage's current design stream; the selection stays as it was.
  std::string CurrentDesign();
  // An item of the 輸出 drop-down: its Tag says which output (TOutputKind).
  void OutputClick(TObject* sender);

  // Live values: with design mode off, the data texts show the values of one row of the customer's
  // shipments, and labels that row's numbers ("{n}" of "{N}"). The 資料列 button lists the rows;
  // nothing of it is stored with the mark or counts as a change.
  void RowButtonClick(TObject* sender);
  // Shows row `row` (from 1) of shipment `bill`; an empty bill shows the design alone again. Says
  // why when the rows cannot be read.
  void ChooseRow(const std::string& bill, int row);
  bool LabelRowNumbers(int& position, int& count) const override;
  std::optional<std::string> LabelFieldValue(const std::string& name) const override;
  TPopupMenu* RowMenu() const { return rowMenu_; }
  // With unsaved changes, asks whether to save them first: yes saves (and keeps the window open
  // when that fails), no discards them, cancel keeps the window open.
  bool CloseQuery() override;

  // Components of the layout.
  TPanel* Panel2 = nullptr;
  TToolBar* ToolBar1 = nullptr;
  TToolButton* b1 = nullptr;
  TToolButton* b2 = nullptr;
  TToolButton* b3 = nullptr;
  TToolButton* b4 = nullptr;
  TLabel* Label2 = nullptr;
  TPanel* Panel1 = nullptr;
  TLabel* Label1 = nullptr;
  tshape2* tshape21 = nullptr;
  TMarkLine* MarkLine1 = nullptr;
  TBarcode* Barcode1 = nullptr;
  TMarkImage* MarkImage1 = nullptr;
  TDBText* DBText1 = nullptr;
  TDsnSwitch* DsnSwitch1 = nullptr;
  TDsnStage* DsnStage1 = nullptr;
  TDsnDpRegister* DsnDpRegister1 = nullptr;
  TDsnSelect* DsnSelect1 = nullptr;
  TDsnInspector* DsnInspector1 = nullptr;
  TActionList* ActionList1 = nullptr;
  TAction* acshape = nullptr;
  TAction* acsavemd = nullptr;
  TAction* acloadmd = nullptr;
  TAction* acedit = nullptr;
  TPopupMenu* pop = nullptr;
  TPopupMenu* outmenu = nullptr;
  TMenuItem* N3 = nullptr;
  TFontDialog* FontDialog1 = nullptr;
  TColorDialog* ColorDialog1 = nullptr;
  TTable* tbmd = nullptr;
  TTable* tbvmd = nullptr;

 private:
  // Shows the field link dialog; false when it could not be made (the user has been told) or
  // went away meanwhile. Otherwise `field` is the name chosen, empty for none.
  bool ChooseField(std::string& field);
  // A picture file the clerk chooses, read and checked; false when cancelled or refused (said).
  bool ChoosePictureFile(std::string& bytes);
  // Names the pictures of the design that cannot be drawn.
  void WarnOfPictures();
  void ClearStage();
  // One element as the design stream writes it, to learn whether a command changed it.
  std::string ElementText(TControl& element);
  // Shows a stored design on the stage (an empty one for no row) and takes it as what is saved; a
  // design that cannot be read leaves the stage empty and is said.
  void ShowStoredMark(const std::optional<std::string>& row);
  // Before a save, the numbers the row is kept under must be there; false (and said) otherwise.
  bool CheckMarkKey();
  // Another clerk saved this mark since this editor read it: asks what to do and does it. True
  // when the clerk chose to overwrite the row found.
  bool ResolveOtherSave(const std::optional<std::string>& found);

  std::string markSide_;
  std::string customerId_;
  std::string markId_;
  // The stage's revision as last loaded or saved: what "unsaved changes" are measured against.
  uint64_t savedRevision_ = 0;
  // The row as this editor last read or wrote it, nothing when there was none (or it could not be
  // read): a save finding anything else asks before it overwrites another clerk's design.
  std::optional<std::string> storedRow_;
  bool loaded_ = false;
  // Live values: the chosen shipment's rows, their source (off in design mode), and the row menu.
  TQuery* rows_ = nullptr;
  TDataSource* rowsSource_ = nullptr;
  TPopupMenu* rowMenu_ = nullptr;
  // Binds every data text on the stage to the rows, and repaints the stage.
  void ShowLiveValues();
  TDsnHistory* history_ = nullptr;
  // The design menu's layout commands, made as it first opens and enabled for the selection.
  void AddAlignItems();

 protected:
  void Destroy() override;
};
