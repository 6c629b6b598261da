// A demonstration of the framework's forms, built from layouts: a multiple-document frame with a
// menu bar (its window menu lists the children), a tool bar, a status bar and two children, and a
// modal dialog with the standard controls.
//
//   forms-demo                         run it
//   forms-demo --screenshot FILE       show the frame, save a picture of it, quit
//   forms-demo --dialog-screenshot FILE  the same for the dialog

#include <QApplication>
#include <QWidget>

#include <cstring>
#include <string>

#include "platform/controls/ActnList.h"
#include "platform/controls/Application.h"
#include "platform/controls/Buttons.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Form.h"
#include "platform/controls/Grids.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Menus.h"
#include "platform/controls/RadioGroup.h"
#include "platform/controls/StatusBar.h"
#include "platform/controls/StdControls.h"
#include "platform/controls/ToolBar.h"
#include "platform/rtl/ClassBuilder.h"

class Tfmdemodialog : public TForm {
  DECLARE_CLASS(Tfmdemodialog)

 public:
  void FormCreate(TObject*) {
    const char* cells[3][4] = {{"", "1", "2", "3"}, {"欄位", "PO/NO", "C/NO.", "N.W."}, {"值", "A-1", "1-UP", "12"}};
    for (int c = 0; c < 3; ++c)
      for (int r = 0; r < 4; ++r) StringGrid1->SetCells(c, r, cells[c][r]);
  }

  TRadioGroup* RadioGroup1 = nullptr;
  TStringGrid* StringGrid1 = nullptr;
  TEdit* Edit1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TListBox* ListBox1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn2 = nullptr;
};

DEFINE_CLASS(Tfmdemodialog, TForm) {
  c.Field("RadioGroup1", &Tfmdemodialog::RadioGroup1);
  c.Field("StringGrid1", &Tfmdemodialog::StringGrid1);
  c.Field("Edit1", &Tfmdemodialog::Edit1);
  c.Field("ComboBox1", &Tfmdemodialog::ComboBox1);
  c.Field("ListBox1", &Tfmdemodialog::ListBox1);
  c.Field("BitBtn1", &Tfmdemodialog::BitBtn1);
  c.Field("BitBtn2", &Tfmdemodialog::BitBtn2);
  c.Method("FormCreate", &Tfmdemodialog::FormCreate);
}

class Tfmdemochild : public TForm {
  DECLARE_CLASS(Tfmdemochild)

 public:
  TLabel* Label1 = nullptr;
};

DEFINE_CLASS(Tfmdemochild, TForm) { c.Field("Label1", &Tfmdemochild::Label1); }

class Tfmdemomain : public TForm {
  DECLARE_CLASS(Tfmdemomain)

 public:
  void FormShow(TObject*) {
    if (children_) return;
    children_ = true;
    Tfmdemochild* side = nullptr;
    Application->CreateForm(main_);
    Application->CreateForm(side);
    side->SetCaption("側嘜");
    side->SetBounds(360, 10, 330, 220);
    side->Label1->SetCaption("MADE IN TAIWAN");
  }
  void DialogClick(TObject*) {
    Tfmdemodialog* dialog = New<Tfmdemodialog>(Application);
    int result = dialog->ShowModal();
    StatusBar1->Panels()->Items(1)->SetText(result == mrOk ? "OK" : "Cancel");
    dialog->Free();
  }
  void FileExitExecute(TObject*) { Close(); }

  TToolBar* ToolBar1 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* Window1 = nullptr;
  TActionList* ActionList1 = nullptr;

 private:
  bool children_ = false;
  Tfmdemochild* main_ = nullptr;
};

DEFINE_CLASS(Tfmdemomain, TForm) {
  c.Field("ToolBar1", &Tfmdemomain::ToolBar1);
  c.Field("StatusBar1", &Tfmdemomain::StatusBar1);
  c.Field("MainMenu1", &Tfmdemomain::MainMenu1);
  c.Field("Window1", &Tfmdemomain::Window1);
  c.Field("ActionList1", &Tfmdemomain::ActionList1);
  c.Method("FormShow", &Tfmdemomain::FormShow);
  c.Method("DialogClick", &Tfmdemomain::DialogClick);
  c.Method("FileExitExecute", &Tfmdemomain::FileExitExecute);
}

namespace {

bool Save(QWidget* window, const char* file) {
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  return window->grab().save(QString::fromLocal8Bit(file));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  const char* screenshot = nullptr;
  const char* dialogShot = nullptr;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0) screenshot = argv[i + 1];
    if (std::strcmp(argv[i], "--dialog-screenshot") == 0) dialogShot = argv[i + 1];
  }
  RegisterStandardControls();
  TApplication* app = ApplicationInstance();
  try {
    app->Initialize();
    app->SetTitle("forms-demo");
    Tfmdemomain* frame = nullptr;
    app->CreateForm(frame);
    if (screenshot || dialogShot) {
      frame->Show();
      bool ok = true;
      if (screenshot) ok = Save(frame->FrameWidget(), screenshot) && ok;
      if (dialogShot) {
        Tfmdemodialog* dialog = New<Tfmdemodialog>(app);
        dialog->Show();
        ok = Save(dialog->FrameWidget(), dialogShot) && ok;
      }
      app->Free();
      return ok ? 0 : 1;
    }
    app->Run();
  } catch (const std::exception& e) {
    app->ShowException(e);
  }
  app->Free();
  return 0;
}
