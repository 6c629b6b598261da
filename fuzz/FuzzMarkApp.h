#pragma once
// The start of a fuzz target that feeds data from elsewhere to a mark editor: a headless
// application with the program's class registry, and one real mark editor window (its layout, its
// fields, methods, menus and data tables) kept for the whole run, as a clerk's editor reads many
// marks and pastes. After each input the editor must hold exactly the components it had before
// besides the elements on its stage, and its own components must stay where they were; anything
// else means the input reached the editor itself, and the target stops with a finding.

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "app/PrintModule.h"
#include "app/ufmmd.h"
#include "design/palette/DsnPanel.h"
#include "platform/controls/Application.h"
#include "platform/controls/StdControls.h"
#include "platform/db/DataControls.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Windows.h"

// One line per component the editor owns: name, class and, for a control, its parent and bounds.
inline std::vector<std::string> EditorState(Tfmmd* editor) {
  std::vector<std::string> state;
  for (int i = 0; i < editor->ComponentCount(); ++i) {
    TComponent* c = editor->Components(i);
    if (auto* control = ClassCast<TControl>(c); control && control->Parent() == editor->DsnStage1) continue;
    std::string line = c->Name() + ":" + c->ClassName();
    if (auto* control = ClassCast<TControl>(c)) {
      const TRect r = control->BoundsRect();
      line += " in " + (control->Parent() ? control->Parent()->Name() : std::string("-")) + " " +
              std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
              std::to_string(r.Bottom);
    }
    state.push_back(line);
  }
  return state;
}

// The elements on the stage may be mark elements only, none of them bound to an event.
inline void CheckStage(Tfmmd* editor) {
  for (int i = 0; i < editor->DsnStage1->ControlCount(); ++i) {
    TControl* c = editor->DsnStage1->Controls(i);
    if (!c->Owner()) continue;  // a grab handle of design mode, which nothing saves
    static const char* const kElements[] = {"TLabel", "tshape2", "TDBText", "TMarkLine", "TBarcode", "TMarkImage"};
    if (std::find(std::begin(kElements), std::end(kElements), c->ClassName()) == std::end(kElements)) {
      std::fprintf(stderr, "a %s stands on the stage\n", c->ClassName().c_str());
      abort();
    }
    for (const TPropInfo* prop : c->ClassType().Props()) {
      if (prop->Kind() != tkMethod) continue;
      if (GetMethodProp(c, *prop).Code) {
        std::fprintf(stderr, "%s.%s is bound\n", c->Name().c_str(), prop->Name.c_str());
        abort();
      }
    }
  }
}

inline void CheckEditorUnchanged(Tfmmd* editor, const std::vector<std::string>& before) {
  const std::vector<std::string> after = EditorState(editor);
  if (after == before) return;
  std::fprintf(stderr, "the editor's own components changed:\n");
  for (const std::string& line : before) std::fprintf(stderr, "  before %s\n", line.c_str());
  for (const std::string& line : after) std::fprintf(stderr, "  after  %s\n", line.c_str());
  abort();
}

inline Tfmmd* StartMarkEditor(char* programName) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char* argv[] = {programName, nullptr};
  new QApplication(argc, argv);
  // The program's classes, as it registers them at start.
  RegisterStandardControls();
  RegisterDataControls();
  RegisterPaletteClasses();
  UseModuleForSvgPictures();
  // A paste that is refused says so in a message box; nobody is there to answer it.
  SetMessageBoxHook([](const std::string&, const std::string&, UINT) { return IDOK; });
  Tfmmd* editor = New<Tfmmd>(ApplicationInstance());
  DispatchPostedMessages();
  return editor;
}
