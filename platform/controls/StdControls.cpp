#include "platform/controls/StdControls.h"

#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/DBText.h"
#include "platform/controls/Dialogs.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/ImgList.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Panel.h"
#include "platform/controls/RadioGroup.h"
#include "platform/controls/SpeedButton.h"
#include "platform/controls/StdActns.h"

void RegisterStandardControls() {
  for (const TClassInfo* cls : {&TPanel::StaticClass(), &TLabel::StaticClass(), &TDBText::StaticClass(),
                                &TSpeedButton::StaticClass(),
                                &TEdit::StaticClass(),
                                &TComboBox::StaticClass(),
                                &TListBox::StaticClass(),
                                &TStringGrid::StaticClass(),
                                &TRadioGroup::StaticClass(),
                                &TBitBtn::StaticClass(),
                                &TBevel::StaticClass(),
                                &TColorDialog::StaticClass(),
                                &TFontDialog::StaticClass(),
                                &TOpenDialog::StaticClass(),
                                &TMainMenu::StaticClass(),
                                &TPopupMenu::StaticClass(),
                                &TMenuItem::StaticClass(),
                                &TActionList::StaticClass(),
                                &TAction::StaticClass(),
                                &TEditCut::StaticClass(),
                                &TEditCopy::StaticClass(),
                                &TEditPaste::StaticClass(),
                                &TWindowClose::StaticClass(),
                                &TWindowCascade::StaticClass(),
                                &TWindowTileHorizontal::StaticClass(),
                                &TWindowTileVertical::StaticClass(),
                                &TWindowMinimizeAll::StaticClass(),
                                &TWindowArrange::StaticClass(),
                                &TImageList::StaticClass(),
                                &TToolBar::StaticClass(),
                                &TToolButton::StaticClass(),
                                &TStatusBar::StaticClass(),
                                &TPageControl::StaticClass(),
                                &TTabSheet::StaticClass()})
    RegisterClass(*cls);
}
