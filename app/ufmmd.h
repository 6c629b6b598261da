#pragma once
// The mark editor window: one shipping mark (the main mark or the side mark) designed on a white
// stage, with a tool bar of its commands. The main window opens two of them as borderless
// children of its frame.

#include <string>

#include "design/DsnUnit.h"
#include "platform/controls/Form.h"

class TAction;
class TActionList;
class TColorDialog;
class TDBText;
class TFontDialog;
class TLabel;
class TMenuItem;
class TPanel;
class TPopupMenu;
class TTable;
class TToolBar;
class TToolButton;
class tshape2;

// Values the main window sets before it creates an editor: the customer and mark numbers, and the
// mark side ("0" main mark, "1" side mark) that the editor keeps.
extern std::string EditorCustomerId;
extern std::string EditorMarkId;
extern std::string EditorMarkSide;

class Tfmmd : public TForm {
  DECLARE_CLASS(Tfmmd)

 public:
  void FormClose(TObject* sender, TCloseAction& action);
  void FormActivate(TObject* sender);
  void acloadmdExecute(TObject* sender);
  void FormShow(TObject* sender);
  void FormCreate(TObject* sender);

  // "0" for the main mark, "1" for the side mark.
  const std::string& MarkSide() const { return markSide_; }

  // Components of the layout.
  TPanel* Panel2 = nullptr;
  TToolBar* ToolBar1 = nullptr;
  TToolButton* b1 = nullptr;
  TToolButton* b2 = nullptr;
  TLabel* Label2 = nullptr;
  TPanel* Panel1 = nullptr;
  TLabel* Label1 = nullptr;
  tshape2* tshape21 = nullptr;
  TDBText* DBText1 = nullptr;
  TDsnStage* DsnStage1 = nullptr;
  TActionList* ActionList1 = nullptr;
  TAction* acshape = nullptr;
  TAction* acsavemd = nullptr;
  TAction* acloadmd = nullptr;
  TAction* acedit = nullptr;
  TPopupMenu* pop = nullptr;
  TMenuItem* N3 = nullptr;
  TFontDialog* FontDialog1 = nullptr;
  TColorDialog* ColorDialog1 = nullptr;
  TTable* tbmd = nullptr;
  TTable* tbvmd = nullptr;

 private:
  std::string markSide_;
};
