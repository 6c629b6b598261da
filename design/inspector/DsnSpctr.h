#pragma once
// The object inspector: a non-visual component beside the register that, while design mode is on,
// shows a floating window with one row per property that all selected targets have in common
// (caption and value text). Pressing on a row puts an editor over its value: an edit box, a
// drop-down of value names for an enumeration, or a "..." button for the properties named in
// BtnProps, whose OnBtnClick handler edits the value its own way. A changed value goes to every
// selected target when the editor is left, on Enter, or when a value is chosen from the drop-down.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "design/select/DsnCustomInspector.h"
#include "platform/controls/Form.h"

class TBitBtn;
class TBitmap;
class TComboBox;
class TEdit;
class TInspectorFm;
class TMultiProps;
class TPanel;
class TPopupMenu;
class TSpeedButton;
class TStringGrid;

// Which standard properties the inspector shows, and the captions of their rows (empty: the
// property's name).
class TShowProps : public TPersistent {
  DECLARE_CLASS(TShowProps)

 public:
  bool aName = false;
  bool aCaption = false;
  bool aColor = false;
  bool aTop = false;
  bool aLeft = false;
  bool aWidth = false;
  bool aHeight = false;
  bool aFont = false;
  std::string aNameCp;
  std::string aCaptionCp;
  std::string aColorCp;
  std::string aTopCp;
  std::string aLeftCp;
  std::string aWidthCp;
  std::string aHeightCp;
  std::string aFontCp;

  void Assign(TPersistent* source) override;
};

// The window's bounds when it opens.
class TInspectorPos : public TPersistent {
  DECLARE_CLASS(TInspectorPos)

 public:
  int Left = 15;
  int Top = 50;
  int Width = 230;
  int Height = 400;

  void Assign(TPersistent* source) override;
};

// The grid's column headers and widths.
class TGridCp : public TPersistent {
  DECLARE_CLASS(TGridCp)

 public:
  std::string PropCp = "Properties";
  std::string ValueCp = "Values";
  int PropWid = 80;
  int ValueWid = 100;

  void Assign(TPersistent* source) override;
};

// The help strip at the bottom of the window.
class TInspctHlpBtn : public TPersistent {
  DECLARE_CLASS(TInspctHlpBtn)

 public:
  bool Visible = false;
  int HelpContext = 0;
  std::string Caption = "Help(&H)";

  void Assign(TPersistent* source) override;
};

class TDsnInspector : public TCustomInspector {
  DECLARE_CLASS(TDsnInspector)

 public:
  void Create(TComponent* owner) override;

  TShowProps* ShowProps() const { return showProps_; }
  void SetShowProps(TShowProps* value) { showProps_->Assign(value); }
  TInspectorPos* Position() const { return position_; }
  void SetPosition(TInspectorPos* value) { position_->Assign(value); }
  TGridCp* Grid() const { return grid_; }
  void SetGrid(TGridCp* value) { grid_->Assign(value); }
  TInspctHlpBtn* HelpButton() const { return helpButton_; }
  void SetHelpButton(TInspctHlpBtn* value) { helpButton_->Assign(value); }
  // The picture of the "..." button; setting copies it.
  TBitmap* BtnGlyph() const { return btnGlyph_; }
  void SetBtnGlyph(TBitmap* value);
  // A registered vector glyph for the button instead, sharp at every scale.
  const std::string& BtnGlyphName() const { return btnGlyphName_; }
  void SetBtnGlyphName(const std::string& value) { btnGlyphName_ = value; }
  // Kept with the inspector; it has no other effect.
  bool ShowCombo() const { return showCombo_; }
  void SetShowCombo(bool value) { showCombo_ = value; }
  bool StayOnTop() const { return stayOnTop_; }
  void SetStayOnTop(bool value) { stayOnTop_ = value; }
  // The window's caption.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);

  // The window, while the inspector is active.
  TInspectorFm* Window() const { return window_; }
  // The multi-target properties that feed the inspector.
  TMultiProps* Props() const;
  void PropsLinked(TReceiveTargets* props) override;
  // The properties whose edit box has a button beside it that lists texts to put in at the
  // cursor ("{產品編號}" into a caption), and the handler that gives the texts when the list opens.
  std::vector<std::string> InsertProps;
  std::function<std::vector<std::string>(const std::string& propName)> OnInsertTexts;
  bool HasInsertTexts(const std::string& propName) const;

  // The caption of the property's row, which names an undo step; the name when no row shows it.
  std::string RowCaption(const std::string& propName) const;

  // ---- TCustomInspector ----
  void OpenWindow() override;
  void CloseWindow() override;
  void ApplyValue(const std::string& propName, const std::string& value) override;
  void ButtonClick(const std::string& propName, std::string& value) override;
  void RefreshGrid() override;
  void GetShownProps(TNameList& names, TNameList& captions) override;
  TReceiveTargets* CreateMultiProps() override;
  void RefreshMultiProps(TReceiveTargets* props, bool show) override;
  void TargetsChanging() override;
  // Sets the window's bounds.
  virtual void SetWindowBounds(int left, int top, int width, int height);

 protected:
  void Destroy() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TShowProps* showProps_ = nullptr;
  TInspectorFm* window_ = nullptr;
  TInspectorPos* position_ = nullptr;
  bool showCombo_ = false;
  TGridCp* grid_ = nullptr;
  TBitmap* btnGlyph_ = nullptr;
  std::string btnGlyphName_;
  std::string caption_ = "Object Inspector";
  bool stayOnTop_ = false;
  TInspctHlpBtn* helpButton_ = nullptr;
  TWeak<TMultiProps> props_;
};

// The inspector's window: a grid with a row per property under a header row, and the value editors
// placed over the value cell of the row pressed.
class TInspectorFm : public TForm {
  DECLARE_CLASS(TInspectorFm)

 public:
  // The grid's columns: the property names (zero width, never seen), the row captions, the value
  // texts; and the row of the column headers.
  static constexpr int kNameColumn = 0;
  static constexpr int kCaptionColumn = 1;
  static constexpr int kValueColumn = 2;
  static constexpr int kColumnCount = 3;
  static constexpr int kHeaderRow = 0;
  // The editor's row while it is put away.
  static constexpr int kNoRow = -1;

  void Create(TComponent* owner) override;

  // Puts the editor on `row` (the row's value cell), or away for kNoRow; with `focus` the edit box
  // takes the keyboard focus.
  void PlaceEditor(int row, bool focus);
  // The grid row the editor stands on; kNoRow while it is put away.
  int EditorRow() const { return editorRow_; }
  // The property the editor was last placed for, kept while it is put away so that a refreshed grid
  // puts it back on that property's row; empty at first.
  const std::string& EditedProp() const { return editedProp_; }
  // Applies the edit box's text to the targets when the editor stands on the row of the property
  // it was placed for and the text was changed there (or `always`). A refused value raises the
  // "is illegal" error; the edit box keeps the text.
  void Commit(bool always);
  // Commits a changed text before the selection changes, so that it reaches the targets it was
  // typed for; an error is shown once the current operation is over.
  void CommitBeforeChange();

  TStringGrid* StringGrid1 = nullptr;
  // A list of components to select from, above the grid; not shown by the inspector.
  TPanel* Panel3 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  // The value editors: the edit box, the panel of the "..." button, the drop-down of value names.
  TEdit* Edit1 = nullptr;
  TPanel* Panel2 = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TComboBox* ComboBox2 = nullptr;
  // The button beside the edit box that lists the texts to insert (OnInsertTexts), and that list.
  TPanel* Panel4 = nullptr;
  TSpeedButton* SpeedButton2 = nullptr;
  TPopupMenu* InsertMenu = nullptr;
  // The help strip.
  TPanel* Panel1 = nullptr;
  TBitBtn* HelpBtn = nullptr;

  TDsnInspector* Inspector = nullptr;
  // The properties edited through the "..." button.
  TStrings* ButtonProps = nullptr;

  void Dispatch(TMessage& message) override;

 private:
  void BuildControls();
  // ---- handlers ----
  void HideNameColumn(TObject* sender);
  void PlaceEditorOnPressedRow(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void CommitChangedValue(TObject* sender);
  void CommitOrRevertOnKey(TObject* sender, uint16_t& key, TShiftState shift);
  void ChooseListedValue(TObject* sender);
  void OpenValueDialog(TObject* sender);
  void OpenInsertList(TObject* sender);
  void SelectListedComponent(TObject* sender);

  // Puts the edit box at `left`, outside the client area, and hides the drop-down and the button.
  void PutEditorAway(int left);
  // Whether the property `name` is edited through the "..." button (listed in ButtonProps as spelled).
  bool IsButtonProp(const std::string& name) const;
  // The text in `column` of the grid's selected row (arrow keys in the grid can move that row off the
  // editor's).
  std::string SelectedCell(int column) const;

  int editorRow_ = kNoRow;
  std::string editedProp_;
  // The text the editor showed when it was placed: a commit on leaving needs a change from it.
  std::string shownText_;
  bool committing_ = false;
  // An error of a commit made while the selection changed, shown once that is over.
  std::string pendingError_;
};
