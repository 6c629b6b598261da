#include "app/ufmmd.h"

#include "mark/shape2.h"
#include "platform/controls/ActnList.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Label.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Panel.h"
#include "platform/controls/ToolBar.h"
#include "platform/db/Table.h"
#include "platform/rtl/ClassBuilder.h"
#include "platform/rtl/Stream.h"

std::string EditorCustomerId;
std::string EditorMarkId;
std::string EditorMarkSide;

DEFINE_CLASS(Tfmmd, TForm) {
  c.Field("Panel2", &Tfmmd::Panel2);
  c.Field("ToolBar1", &Tfmmd::ToolBar1);
  c.Field("b1", &Tfmmd::b1);
  c.Field("b2", &Tfmmd::b2);
  c.Field("Label2", &Tfmmd::Label2);
  c.Field("Panel1", &Tfmmd::Panel1);
  c.Field("Label1", &Tfmmd::Label1);
  c.Field("tshape21", &Tfmmd::tshape21);
  c.Field("DBText1", &Tfmmd::DBText1);
  c.Field("DsnStage1", &Tfmmd::DsnStage1);
  c.Field("ActionList1", &Tfmmd::ActionList1);
  c.Field("acshape", &Tfmmd::acshape);
  c.Field("acsavemd", &Tfmmd::acsavemd);
  c.Field("acloadmd", &Tfmmd::acloadmd);
  c.Field("acedit", &Tfmmd::acedit);
  c.Field("pop", &Tfmmd::pop);
  c.Field("N3", &Tfmmd::N3);
  c.Field("FontDialog1", &Tfmmd::FontDialog1);
  c.Field("ColorDialog1", &Tfmmd::ColorDialog1);
  c.Field("tbmd", &Tfmmd::tbmd);
  c.Field("tbvmd", &Tfmmd::tbvmd);
  c.Method("FormClose", &Tfmmd::FormClose);
  c.Method("FormActivate", &Tfmmd::FormActivate);
  c.Method("acloadmdExecute", &Tfmmd::acloadmdExecute);
  c.Method("FormShow", &Tfmmd::FormShow);
  c.Method("FormCreate", &Tfmmd::FormCreate);
}

void Tfmmd::FormCreate(TObject*) { markSide_ = EditorMarkSide; }

void Tfmmd::FormShow(TObject*) { acloadmd->Execute(); }

void Tfmmd::FormActivate(TObject*) {}

// Closing an editor destroys it.
void Tfmmd::FormClose(TObject*, TCloseAction& action) { action = caFree; }

// Designs are not stored anywhere, so the stream the stage would load from stays empty and the
// stage starts empty.
void Tfmmd::acloadmdExecute(TObject*) {
  TMemoryStream stream;
  (void)stream;
}
