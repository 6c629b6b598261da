#pragma once
// The register: the coordinator of design mode. It links a design stage, a component palette with
// its arrow button, and an object inspector. When design mode starts it covers the stage's controls
// with design agents; it turns their mouse reports into selecting, moving, creating controls from the
// palette and the design context menu; it deletes, cuts, copies and pastes the selection, which it
// keeps in a target list whose receivers (grab handles, the inspector's properties, the partners'
// selection managers) follow it. When design mode ends it removes the agents and frees what design
// mode made.
//
// The register lives with the selection because it owns target lists, outlines and grab handles;
// the design core reaches it through TCustomDsnRegister.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "design/DsnUnit.h"
#include "design/select/DsnAlign.h"
#include "design/select/DsnCustomInspector.h"
#include "design/select/DsnList.h"
#include "platform/controls/Menus.h"
#include "platform/rtl/List.h"

class TCustomCmpPlt;
class TDsnCtrl;
class TDsnPartner;
class TMultiHandler;
class TMultiShape;
class TSpeedButton;

// The register's design agents.
class TDsnList : public TList<TDsnCtrl*> {};

// A property command of the design context menu: the property it sets, and the value.
class TDsnMenuItem : public TMenuItem {
  DECLARE_CLASS(TDsnMenuItem)

 public:
  const std::string& PropName() const { return propName_; }
  void SetPropName(const std::string& value) { propName_ = value; }
  const std::string& Value() const { return value_; }
  void SetValue(const std::string& value) { value_ = value; }

 private:
  std::string propName_;
  std::string value_;
};

// How a register's variant lets the user select with the mouse. The mouse handling is the
// register's own, written once; each variant says which of these gestures it allows.
struct TSelectRules {
  // Shift+press adds the control pressed to the selection, or takes it out.
  bool ShiftToggles = false;
  // A press on the empty stage draws a rubber band; a right press there leaves the selection alone.
  // Without it, a press on the empty stage clears the selection.
  bool BandOnStage = false;
  // A press with Ctrl held draws a rubber band wherever it starts.
  bool BandWithCtrl = false;
};

class TDsnRegister : public TCustomDsnRegister {
  DECLARE_CLASS(TDsnRegister)

 public:
  void Create(TComponent* owner) override;

  // ---- links; each asks to be told when the linked component is destroyed ----
  TDsnStage* DsnStage() const { return stage_; }
  // Also copies the stage's outline and grid settings and links the stage back to the register.
  void SetDsnStage(TDsnStage* value);
  TCustomCmpPlt* DsnPanel() const { return palette_; }
  void SetDsnPanel(TCustomCmpPlt* value);
  TCustomInspector* DsnInspector() const { return inspector_; }
  void SetDsnInspector(TCustomInspector* value);
  TSpeedButton* ArrowButton() const { return arrow_; }
  void SetArrowButton(TSpeedButton* value);

  // ---- the selection: these are the only ways it changes. Each edits the target list and then
  // announces the change once (TargetsChanged), so every receiver sees the whole new selection ----
  // Makes `components` the selection, in the order given; nulls and repeats are left out.
  void Select(const std::vector<TComponent*>& components);
  // Select for a list known to hold each component once (a band's, a paste's, the select partner's), without looking
  // for repeats.
  void SelectDistinct(const std::vector<TWeak<TComponent>>& components);
  // Adds `control` to the selection, or takes it out when it is there.
  void Toggle(TControl* control);
  // Empties the selection (nothing when there is no target list yet).
  void ClearSelection() override;
  // Makes `component` the only selection; null empties it.
  void SelectComponent(TComponent* component) override;

  // ---- TCustomDsnRegister ----
  TDsnStage* Stage() const override { return stage_; }
  bool DesignActive() const override { return designActive_; }
  void SetDesigning(bool on) override;
  int SelectedCount() const override;
  TControl* SelectedItem(int index) const override;
  void RefreshTargets() override;
  void MouseDown(TWinControl* control, TControl* target, TShiftState shift, TPoint point) override;
  void MouseMove(TWinControl* control, TPoint point, TShiftState shift) override;
  void MouseUp(TWinControl* control, TPoint point, TShiftState shift) override;
  void RightMouseDown(TWinControl* control, TControl* target, int y, int x) override;
  void CoverDblClick(TControl* target) override;
  void PropsRefresh() override;
  void HandlesShown() override {}
  void CutSelection() override;
  void CopySelection() override;
  void PasteSelection() override;
  void DeleteSelection() override;
  void SelectAll() override;
  void NudgeSelection(int dx, int dy, bool resize, bool fine, bool repeat) override;

  // ---- layout commands on a selection of two or more (three to distribute) of one parent ----
  bool CanAlign(TAlignCommand command) const;
  // One step named by the command; nothing when it moves nothing.
  void AlignSelection(TAlignCommand command);

  // ---- what a variant decides: its gestures and the objects it makes ----
  virtual TSelectRules SelectRules() const { return {}; }
  virtual TMultiHandler* CreateHandler();
  virtual TDsnCtrl* CreateAgent(TWinControl* control);
  virtual TTargetList* CreateTargetList();
  virtual void ControlRemoving(TComponent*) {}
  virtual void TargetRemoving(TComponent*) {}
  virtual TWinControl* PasteTarget() const { return stage_; }
  virtual void ControlCreated(TControl* control) { created_ = control; }
  virtual void NameControl(TControl* control);
  virtual void TargetsMoved(int dx, int dy);
  virtual void BuildDesignMenu();
  virtual void DesignMenuClick(TObject* item);
  virtual void AddPartner(TDsnPartner* partner);
  virtual void RemovePartner(TDsnPartner* partner);
  virtual void AddReceiver(TReceiveTargets* receiver);
  void RemoveReceiver(TReceiveTargets* receiver);

  // ---- the gestures, in the order the mouse handlers use them ----
  // A press selects (or toggles) and, unless it toggled, starts dragging the selection's outline.
  void MoveBegin(TWinControl* control, TControl* target, TShiftState shift, TPoint point);
  void MoveDrag(TPoint point, TShiftState shift);
  // Moves the selection by the outline's way from the press, each control as OnMoveQuery allows.
  void MoveEnd(TPoint point, TShiftState shift);
  void BandStart(TWinControl* control, TControl* target, TPoint point, TShiftState shift);
  void BandDrag(TWinControl* control, TPoint point, TShiftState shift);
  // Selects every control of the band's parent that the band touches.
  void BandEnd(TWinControl* control, TPoint point, TShiftState shift);
  // With a palette button down: the new control's frame, then the control made from its prototype.
  void CreateBegin(TWinControl* control, TControl* target, TShiftState shift, TPoint point);
  void CreateDrag(TWinControl* control, TPoint point);
  void CreateEnd(TWinControl* control, TPoint point);
  void RightSelect(TWinControl* control, TControl* target);
  bool CanCopy() const;
  bool CanPaste() const;

  // Gives `control` a design agent, and the windowed controls inside it of the stage's owner theirs,
  // as the stage's OnCoverQuery allows.
  void CoverControl(TWinControl* control);
  // True without a target list, with an empty one, or when all targets share the first's parent.
  bool SameParent() const;
  TPoint SnapToGrid(TPoint point) const;

  // The target list, made when there is none.
  TTargetList* EnsureTargetList();

  // ---- state, for the variants and for tests ----
  TTargetList* Targets() const { return targets_; }
  // The controls of the selection, in order; null for a forgotten one.
  std::vector<TControl*> TargetControls() const;
  TMultiHandler* Handler() const { return handler_; }
  // The move or creation outline; not null exactly while one is drawn.
  TMultiShape* Outline() const { return outline_; }
  // The rubber band; not null exactly while one is drawn.
  TMultiShape* BandShape() const { return bandShape_; }
  TPopupMenu* DesignMenu() const { return designMenu_; }
  const TDsnList& Agents() const { return agents_; }
  int AgentCount() const { return agents_.Count(); }
  const std::vector<TDsnPartner*>& Partners() const { return partners_; }
  int ReceiverCount() const;
  int GridWidth() const { return gridWidth_; }
  int GridHeight() const { return gridHeight_; }
  // The clipboard format of copied controls.
  static UINT ClipboardFormat();

 protected:
  void Destroy() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // Gives each target that OnMoveQuery lets move its place of `bounds`, and makes it the step
  // `step` when any changed.
  void SetTargetBounds(const std::vector<TRect>& bounds, const std::string& step, bool continues);
  // Whether the stage's OnSelectQuery leaves `component` selectable.
  bool Selectable(TComponent* component) const;
  // The selection after a press on `target`: it alone, unless it already belongs to a selection of
  // one parent, which then stays whole so that the press can drag all of it.
  void PressOn(TControl* target);
  // Whether a press with `shift` on `target` draws a rubber band.
  bool StartsBand(TControl* target, TShiftState shift) const;
  bool Creating() const;
  // A new XOR frame in the outline's colours (a move or creation outline), or the band's dotted one.
  TMultiShape* NewOutline() const;
  // Erases and frees the move or creation outline, or the band, freeing the cursor.
  void FinishOutline();
  void FinishBand();
  // A frame drawn on `control` (a new control's, or a rubber band) is measured in the control when
  // it holds controls, else in its parent: the parent, and `point` moved into its coordinates.
  static TWinControl* FrameParent(TWinControl* control, TPoint& point);
  static TPoint InFrameParent(TWinControl* control, TPoint point);
  static bool AcceptsControls(const TControl* control);

  void Cover(TWinControl* control, TDsnCtrl* current);
  void StartDesign();
  void StopDesign();
  void FreeSelectionObjects();
  void ReleaseAgents();
  void RestoreCoverMenu();
  // Appends the property commands for the current targets to the design menu.
  void AddPropertyCommands();
  // Clones the palette's prototype into `parent`; null when that fails.
  TControl* CloneControl(TComponent* prototype, TWinControl* parent);
  // Reads a stream of component blocks into `parent` as new controls with free names; each control
  // read is announced to the stage with `announce` (DM_CONTROLCREATED for a control made from the
  // palette, DM_CONTROLPASTED for a pasted one) and handed to `each`. Under `policy`, data that
  // asks for more than it allows is refused (EReadRefused). A read that fails leaves nothing.
  // Given `skipped`, a property whose value can't be read is passed over, as a stored design's
  // is, and its reason kept there; otherwise it fails the read.
  void ReadControls(TStream& stream, TWinControl* parent, UINT announce,
                    const std::function<void(TComponent*)>& each, const TReadPolicy* policy = nullptr,
                    std::vector<std::string>* skipped = nullptr);
  void TargetDestroyed(TComponent* component);

  bool designActive_ = false;
  TCustomCmpPlt* palette_ = nullptr;
  TDsnStage* stage_ = nullptr;
  TCustomInspector* inspector_ = nullptr;
  TSpeedButton* arrow_ = nullptr;
  TReceiveTargets* multiProps_ = nullptr;
  TPopupMenu* designMenu_ = nullptr;
  TDsnList agents_;
  std::vector<TWeak<TReceiveTargets>> receivers_;
  std::vector<TDsnPartner*> partners_;
  TTargetList* targets_ = nullptr;
  int gridWidth_ = 8;
  int gridHeight_ = 8;
  TColor outlineColor_ = clGray;
  int outlinePenWidth_ = 2;
  TControl* created_ = nullptr;
  TMultiHandler* handler_ = nullptr;
  // The gesture under way: the parent in which the outline or band is measured, the press point
  // (snapped to the grid) and the frame drawn.
  TWinControl* moveParent_ = nullptr;
  TPoint origin_;
  TMultiShape* outline_ = nullptr;
  TMultiShape* bandShape_ = nullptr;
};

// The base of components that attach themselves to a register and are told when design mode
// switches (the selection managers of other windows).
class TDsnPartner : public TComponent {
  DECLARE_CLASS(TDsnPartner)

 public:
  TDsnRegister* DsnRegister() const { return register_; }
  // Joins the register (it lists the partner until either goes); null leaves it.
  void SetDsnRegister(TDsnRegister* value);
  bool Active() const { return active_; }
  virtual void SetDesigning(bool active) { active_ = active; }
  // Whether the register's stage holds `component` so that it may be covered and selected.
  bool CanSelect(TComponent* component) const;

 protected:
  void Destroy() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TDsnRegister* register_ = nullptr;
  bool active_ = false;
};
