#include "platform/controls/StdControls.h"

#include "platform/controls/DBText.h"
#include "platform/controls/Label.h"
#include "platform/controls/Panel.h"
#include "platform/controls/SpeedButton.h"

void RegisterStandardControls() {
  for (const TClassInfo* cls : {&TPanel::StaticClass(), &TLabel::StaticClass(), &TDBText::StaticClass(),
                                &TSpeedButton::StaticClass()})
    RegisterClass(*cls);
}
