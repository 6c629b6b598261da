#pragma once
// The object inspector as the register drives it. The register switches it on and off with design
// mode, tells it which stage it serves, and links the multi-target properties it makes to each new
// target list; the inspector library implements the window and those properties.

#include <string>

#include "design/DsnPropText.h"
#include "design/DsnUnit.h"
#include "platform/rtl/Component.h"

class TReceiveTargets;
class TStrings;

class TCustomInspector : public TComponent {
  DECLARE_CLASS(TCustomInspector)

 public:
  void Create(TComponent* owner) override;

  // Further properties shown after the standard ones, one per line, each optionally followed by
  // "|" and the caption of its row.
  TStrings* SelfProps() const { return selfProps_; }
  // Properties edited through the "..." button; the names must match exactly.
  TStrings* BtnProps() const { return btnProps_; }
  // Properties hidden while two or more targets are selected.
  TStrings* OutProps() const { return outProps_; }
  TStrings* GetOutProps() const { return outProps_; }
  // Assigning copies the lines.
  void SetSelfProps(TStrings* value);
  void SetBtnProps(TStrings* value);
  void SetOutProps(TStrings* value);

  // Whether the inspector's window is open: from design start to design end.
  bool Active() const { return active_; }
  // Opens the window when design mode starts and closes it when it ends.
  virtual void SetActive(bool value);
  // The stage whose targets the inspector edits; held weakly, null once the stage is gone.
  TDsnStage* Stage() const { return stage_.get(); }
  void SetStage(TDsnStage* value) { stage_ = value; }
  // Announces a changed property to the stage (DM_REFRESHTARGETS, posted to the window it has now),
  // which moves the handles and redraws the grid once the current message is over. Nothing while
  // the stage or its window is gone.
  void PostRefreshToStage() const;

  virtual void OpenWindow() = 0;
  virtual void CloseWindow() = 0;
  // Writes `value` into the property on every target; raises the "is illegal" error when a target
  // cannot take it, before anything is announced.
  virtual void ApplyValue(const std::string& propName, const std::string& value) = 0;
  // Raises OnBtnClick for the property with the current targets; the handler may change `value`.
  virtual void ButtonClick(const std::string& propName, std::string& value) = 0;
  // Shows the current common properties.
  virtual void RefreshGrid() = 0;
  // Makes `component` the only selected target, through the design agent of its window.
  virtual void SelectComponent(TComponent* component);
  // The shown properties and their row captions, in display order.
  virtual void GetShownProps(TNameList& names, TNameList& captions) = 0;

  // New multi-target properties bound to this inspector, for a new target list; the register owns
  // and frees them.
  virtual TReceiveTargets* CreateMultiProps() = 0;
  // Multi-target properties bound to this inspector say so: they feed what it shows from now on.
  virtual void PropsLinked(TReceiveTargets* props) = 0;
  // The targets' values changed outside the inspector (a move, a resize): `props` read them again,
  // and the inspector shows them when `show`.
  virtual void RefreshMultiProps(TReceiveTargets* props, bool show) = 0;
  // The selection is about to change: an edit in progress goes to the targets it was made for.
  virtual void TargetsChanging() {}

  TCallPropEditor OnBtnClick;

 protected:
  void Destroy() override;

 private:
  TStrings* selfProps_ = nullptr;
  TStrings* btnProps_ = nullptr;
  TStrings* outProps_ = nullptr;
  bool active_ = false;
  TWeak<TDsnStage> stage_;
};
