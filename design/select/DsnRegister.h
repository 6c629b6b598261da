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

  // ---- TCustomDsnRegister ----
  TDsnStage* Stage() const override { return stage_; }
  bool DesignActive() const override { return designActive_; }
  void SetDesigning(bool on) override;
  int SelectedCount() const override;
  TControl* SelectedItem(int index) const override;
  void ClearSelection() override;
  void SelectComponent(TComponent* component) override;
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

  // ---- the register's own operations; the variants override them ----
  virtual void ControlRemoving(TComponent*) {}
  virtual void TargetRemoving(TComponent*) {}
  virtual TMultiHandler* CreateHandler();
  virtual void CreateOutline();
  virtual void RenewOutline();
  virtual TDsnCtrl* CreateAgent(TWinControl* control);
  virtual TTargetList* CreateTargetList();
  virtual void CreateBegin(TWinControl* control, TControl* target, TShiftState shift, TPoint point);
  virtual void CreateDrag(TWinControl* control, TPoint point);
  virtual void CreateEnd(TWinControl* control, TPoint point);
  virtual void MoveBegin(TWinControl* control, TControl* target, TShiftState shift, TPoint point);
  virtual void MoveDrag(TPoint point);
  virtual void MoveEnd(TPoint point);
  virtual void RightSelect(TWinControl* control, TControl* target);
  virtual bool CanCopy() const;
  virtual bool CanPaste() const;
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
  TMultiHandler* Handler() const { return handler_; }
  TMultiShape* Outline() const { return outline_; }
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

  // Makes `target` the selection unless it already belongs to a selection of one parent; the rule
  // of a press. Returns false when the stage's OnSelectQuery refuses to select it.
  bool SelectForPress(TWinControl* control, TControl* target);
  // Whether the stage's OnSelectQuery leaves `component` selectable.
  bool Selectable(TComponent* component) const;
  // The selection after a press on `target`: it alone, unless it already belongs to a selection of
  // one parent, which then stays whole so that the press can drag all of it.
  void TakePress(TControl* target);

  // Erases and frees the move or creation outline, freeing the cursor.
  void FinishOutline();
  // A frame drawn on `control` (a new control's, or a rubber band) is measured in the control when
  // it holds controls, else in its parent: the parent, and `point` moved into its coordinates.
  static TWinControl* FrameParent(TWinControl* control, TPoint& point);
  static TPoint InFrameParent(TWinControl* control, TPoint point);

  TWinControl* moveParent_ = nullptr;
  TPoint origin_;
  TMultiShape* outline_ = nullptr;

 private:
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
  void ReadControls(TStream& stream, TWinControl* parent, UINT announce,
                    const std::function<void(TComponent*)>& each, const TReadPolicy* policy = nullptr);
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
  // The register's selection, made when there is none; null without a register.
  TTargetList* TargetList() const;

 protected:
  void Destroy() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TDsnRegister* register_ = nullptr;
  bool active_ = false;
};
