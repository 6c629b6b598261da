#pragma once
// The design stage: the panel on which the user's controls stand while they are designed. The
// stage carries the settings and events through which its window takes part in design (may this
// control be covered, selected, moved, deleted; a control was created or loaded), handles the
// framework's messages that must run after an operation is over, turns Delete and the clipboard
// keys into register commands, and saves its controls to a design stream and loads them back.
// The design work itself is done by the register linked to it, reached through TCustomDsnRegister.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/controls/Panel.h"
#include "platform/controls/SpeedButton.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Set.h"
#include "platform/stream/ReadPolicy.h"
#include "platform/stream/Writer.h"

class TCustomDsnRegister;
class TPopupMenu;
class TReader;
class TStream;
class TStrings;

// ---- the framework's private messages ----
// Sent to the window of a target (its parent's window for a control without one); WParam is the
// control. The sender waits for the answer, so plain pointers are safe here.
constexpr UINT DM_SETTARGET = 1597;
// WParam: Left (low 16 bits) and Top (high 16 bits) before a resize; LParam: Width and Height.
constexpr UINT DM_TARGETSIZED = 1598;
constexpr UINT DM_HANDLESSHOWN = 1599;
// Posted to the stage by an agent whose window was destroyed; WParam is a posted reference to the
// agent (platform/rtl/PostedRefs.h).
constexpr UINT DM_AGENTDONE = 1600;
// Sent by the inspector to the window of a component; WParam is the component.
constexpr UINT DM_SELECTCOMPONENT = 1601;
// Posted to the stage after a property changed: the selection's receivers refresh.
constexpr UINT DM_REFRESHTARGETS = 1602;
// Posted to the stage once after a burst of changes of its elements: OnElementsChanged runs.
constexpr UINT DM_ELEMENTSCHANGED = 1603;
// Posted to the stage for a control created from the palette, for a control read from a design
// stream, and for a control pasted; WParam is a posted reference to the control. A paste has a
// message of its own so that what is done only to a new control never touches what was copied.
constexpr UINT DM_CONTROLCREATED = 1604;
constexpr UINT DM_CONTROLLOADED = 1605;
constexpr UINT DM_CONTROLPASTED = 1606;

// The read-only list of the selected components handed to an event handler. Whoever raises the
// event makes it and frees it when the handler returns: a handler must not keep it.
class TSelectedComponents : public TObject {
  DECLARE_CLASS(TSelectedComponents)

 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // The component at `index`; null for an index out of range (or a place emptied meanwhile).
  TComponent* Items(int index) const {
    return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : nullptr;
  }
  void Add(TComponent* component) { items_.push_back(component); }
  // Adds every component of `components`, in order.
  void AddAll(const std::vector<TComponent*>& components) {
    items_.insert(items_.end(), components.begin(), components.end());
  }

 private:
  std::vector<TComponent*> items_;
};

// ---- answers of the design events ----
// Whether a control is covered when design mode starts.
enum TCoverAccept {
  cvCover,     // it becomes a design target, and its child windows are examined
  cvNone,      // it and everything inside it keep working normally
  cvChildren,  // it gets no agent, but its children are examined
};
// What may happen to a component: a control created inside it, or the component selected.
enum TSelectAcceptItem { saCreate, saSelect };
using TSelectAccept = TSet<TSelectAcceptItem>;

using TDeleteQuery = TEvent<TObject*, TComponent*, bool&>;
using TCoverQuery = TEvent<TObject*, TComponent*, TCoverAccept&>;
using TSelectQuery = TEvent<TObject*, TComponent*, TSelectAccept&>;
using TMoveQuery = TEvent<TObject*, TComponent*, bool&>;
using TControlCreate = TEvent<TObject*, TComponent*>;
using TCallCompoEditor = TEvent<TObject*, TComponent*>;
// A property command of the design context menu: the handler may change the value to set.
using TCallPropEditor = TEvent<TObject*, TSelectedComponents*, const std::string&, std::string&>;

// Outline and grid settings of a stage. A register copies them when it is linked to the stage.
class TRubberband : public TPersistent {
  DECLARE_CLASS(TRubberband)

 public:
  void Assign(TPersistent* source) override;

  // Colour of the XOR outlines and of the grab handles.
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  // Pen width of the outlines and handles, in pixels.
  int PenWidth() const { return penWidth_; }
  void SetPenWidth(int v) { penWidth_ = v; }
  // Grid steps for moving and creating, in pixels; 0 or less means no grid.
  int MoveWidth() const { return moveWidth_; }
  void SetMoveWidth(int v) { moveWidth_ = v; }
  int MoveHeight() const { return moveHeight_; }
  void SetMoveHeight(int v) { moveHeight_ = v; }

 private:
  TColor color_ = clGray;
  int penWidth_ = 2;
  int moveWidth_ = 8;
  int moveHeight_ = 8;
};

// The one way designs are written, by the stage (a saved design), the register (a copy for the
// clipboard, a prototype being cloned) alike: a component block per control ("TPF0" and its record,
// references named against `root`, no ancestor), then the end marker.
class TDesignWriter {
 public:
  TDesignWriter(TStream& stream, TComponent* root);
  void WriteBlock(TComponent* component);
  void WriteEnd();

 private:
  TWriter writer_;
};

class TDsnStage : public TPanel {
  DECLARE_CLASS(TDsnStage)

 public:
  void Create(TComponent* owner) override;

  // The register that designs this stage; set by the register when it is linked to the stage.
  TCustomDsnRegister* DsnRegister() const { return register_; }
  void SetDsnRegister(TCustomDsnRegister* value);
  // True while design mode is on; set and cleared only by the register.
  bool DesignActive() const { return designActive_; }
  void SetDesignActive(bool value) { designActive_ = value; }

  // Property names offered as commands of the design context menu, one per line, each optionally
  // followed by "|" and the caption shown. Assigning copies the lines.
  TStrings* SelfProps() const { return selfProps_; }
  void SetSelfProps(TStrings* value);
  // Property names whose commands are left out while two or more targets are selected.
  TStrings* OutProps() const { return outProps_; }
  void SetOutProps(TStrings* value);
  TRubberband* Rubberband() const { return rubberband_; }
  void SetRubberband(TRubberband* value);
  // The menu whose items the design context menu offers; a plain reference, cleared when the menu
  // is destroyed.
  TPopupMenu* CoverMenu() const { return coverMenu_; }
  void SetCoverMenu(TPopupMenu* value);
  // Stored settings that no design operation consults.
  bool FixPosition() const { return fixPosition_; }
  void SetFixPosition(bool v) { fixPosition_ = v; }
  bool FixSize() const { return fixSize_; }
  void SetFixSize(bool v) { fixSize_ = v; }

  // The index-th selected control; null without a register, without a selection list, or for an
  // index out of range.
  TControl* SelectedItem(int index) const;
  // The number of selected controls; -1 without a register or while it has no selection list
  // (design mode off, or on but nothing selected yet since it started).
  int SelectedCount() const;
  // The selection's receivers refresh (handles follow new bounds, values are read again).
  void RefreshTargets();
  void DeleteSelection();
  void CutSelection();
  void CopySelection();
  void PasteSelection();

  // Writes every control of the design (those that belong to a window), in child order, as one
  // component block each, then the end marker. Grab handles are not written, and a selection stays
  // as it is.
  void SaveToStream(TStream& stream);
  // Writes one control as a component block: signature and record, with the stage's owner as root.
  virtual void WriteControl(TStream& stream, TComponent* component);
  // Replaces the stage's controls by those of a design stream. Every control read gets a free name,
  // OnControlLoading while it is read, and OnControlLoaded once the message loop runs again (after
  // the whole stream was read and its references resolved). Property errors and unknown handler
  // names are skipped; a damaged stream (wrong signature, unknown class, cut short) stops the read
  // with EReadError, and the controls read before the damage stay on the stage.
  // Under a read policy a design is loaded whole or not at all: one that asks for more than the
  // policy allows (EReadRefused) or is damaged leaves the stage with the controls it had before.
  virtual void LoadFromStream(TStream& stream);
  // What a design loaded or pasted onto this stage may hold, for a window whose designs come from
  // elsewhere (a shared database, the clipboard); null, the default, allows whatever its classes
  // are.
  const TReadPolicy* ReadPolicy() const { return readPolicy_ ? &*readPolicy_ : nullptr; }
  void SetReadPolicy(const TReadPolicy& policy) { readPolicy_ = policy; }
  // The properties the last load passed over because their values could not be read, each with
  // the reader's reason; the elements were read without them.
  const std::vector<std::string>& SkippedProperties() const { return skipped_; }
  // Called by the register when design mode ends, with False.
  virtual void DesignChanged(bool active);

  // The revision of the design on the stage. Every change of its elements raises it, whoever
  // makes it: an element put on the stage or taken off it (by any code: creating, pasting,
  // deleting, loading), and a change of elements by the register's moves and commands, grab
  // handles, the property window and a window's own commands, which call ElementsChanged. A
  // window keeps the revision it saved and compares; SetRevision puts an earlier revision back (a
  // change undone). Each raise gives a revision never given before, so a state reached anew never
  // passes for a saved one.
  uint64_t Revision() const { return revision_; }
  void SetRevision(uint64_t value) { revision_ = value; }
  // Raises the revision and, once the current operation is over, runs OnElementsChanged (once
  // for a burst of changes). `step` names the change for an undo history, unless a name was given
  // since the last step; `continues` says that it goes on the step before (a held arrow key).
  void ElementsChanged(const std::string& step = {}, bool continues = false);
  // Names the step about to be made, before the selection changes for it (a delete clears the
  // selection first): an undo history then keeps the selection the step started from. The step
  // ends with OnElementsChanged, whether or not anything changed.
  void BeginStep(const std::string& step);
  // The name given to the step under way; empty when none is.
  const std::string& StepName() const { return stepName_; }
  bool StepContinues() const { return stepContinues_; }
  // Ends the step under way: its name, and whether it continues the one before.
  std::string TakeStepName();
  std::function<void()> OnElementsChanged;

  TDeleteQuery OnDeleteQuery;
  TCoverQuery OnCoverQuery;
  TSelectQuery OnSelectQuery;
  TMoveQuery OnMoveQuery;
  // A control was made from the palette: the window gives it the look a new element has.
  TControlCreate OnControlCreate;
  // A control was pasted: it is a copy and keeps what it had when it was copied.
  TControlCreate OnControlPasted;
  TControlCreate OnControlLoaded;
  TControlCreate OnControlLoading;
  TCallCompoEditor OnCoverDblClick;
  TCallPropEditor OnMenuClick;
  TNotifyEvent OnPopup;

  void Dispatch(TMessage& message) override;

 protected:
  void Destroy() override;
  void Notification(TComponent* component, TOperation operation) override;
  // The reader's hooks while a design is loaded.
  virtual void ReaderSetName(TReader& reader, TComponent* component, std::string& name);
  // Keeps `name` when it is free, else gives the next free one of its class's numbered names,
  // going on from where this read last found one: a mark of many clashing names costs one search
  // each, not a search from 1 each.
  void GiveReadName(TReader& reader, TComponent* component, std::string& name);
  virtual void ReaderError(TReader& reader, const std::string& message, bool& handled);
  virtual void ReaderFindMethod(TReader& reader, const std::string& methodName, TMethod& method,
                                bool& error);

 private:
  // A DM_REFRESHTARGETS is on its way.
  bool refreshPosted_ = false;
  // Where the current read's search for free names goes on, a number for each name base.
  std::unordered_map<std::string, int> readNames_;
  std::vector<std::string> skipped_;
  // Delete on release, and the clipboard characters; true when the stage is gone afterwards.
  bool DesignKey(TMessage& message);
  // Frees the stage's controls and reads a design in their place, under `policy` when given.
  void ReadDesign(TStream& stream, const TReadPolicy* policy);
  void AgentDone(WPARAM ref);
  void FireControlEvent(const TControlCreate& event, WPARAM ref);

  TCustomDsnRegister* register_ = nullptr;
  TStrings* selfProps_ = nullptr;
  TStrings* outProps_ = nullptr;
  TRubberband* rubberband_ = nullptr;
  TPopupMenu* coverMenu_ = nullptr;
  bool fixPosition_ = false;
  bool fixSize_ = false;
  bool designActive_ = false;
  std::optional<TReadPolicy> readPolicy_;
  uint64_t revision_ = 0;
  uint64_t lastRevision_ = 0;
  std::string stepName_;
  bool stepContinues_ = false;
  bool changePosted_ = false;
  // Arrow keys move the selection, with Shift they resize it; true when the key was one of them.
  bool ArrowKey(TMessage& message);
};

// The stage on which `control` stands (the nearest above it); null when there is none.
// The reasons of properties passed over in a read, a line each, at most ten and then how many more.
std::string SkippedList(const std::vector<std::string>& skipped);

TDsnStage* StageOf(const TControl* control);

// What the design core needs of a register: the stage forwards the selection commands to it and the
// design agents report the mouse to it. The register itself, with its variants, implements it.
class TCustomDsnRegister : public TComponent {
  DECLARE_CLASS(TCustomDsnRegister)

 public:
  // The stage the register designs; null when none is linked.
  virtual TDsnStage* Stage() const = 0;
  // Design mode: starting covers the stage's controls, stopping gives them back.
  virtual bool DesignActive() const = 0;
  virtual void SetDesigning(bool on) = 0;

  // The selection: -1 while there is no selection list, else the number of targets.
  virtual int SelectedCount() const = 0;
  virtual TControl* SelectedItem(int index) const = 0;
  // Empties the selection and tells its receivers.
  virtual void ClearSelection() = 0;
  // Makes `component` the only selection.
  virtual void SelectComponent(TComponent* component) = 0;
  // The receivers of the selection refresh.
  virtual void RefreshTargets() = 0;
  virtual void DeleteSelection() = 0;
  virtual void CutSelection() = 0;
  virtual void CopySelection() = 0;
  virtual void PasteSelection() = 0;

  // Mouse input that a design agent took from the window of `control`, in its client coordinates;
  // `target` is the control under the mouse at the press (the window-less child there, or
  // `control` itself).
  virtual void MouseDown(TWinControl* control, TControl* target, TShiftState shift, TPoint point) = 0;
  virtual void MouseMove(TWinControl* control, TPoint point, TShiftState shift) = 0;
  virtual void MouseUp(TWinControl* control, TPoint point, TShiftState shift) = 0;
  virtual void RightMouseDown(TWinControl* control, TControl* target, int y, int x) = 0;
  virtual void CoverDblClick(TControl* target) = 0;
  // A grab handle finished a resize: the inspector's values are read again.
  virtual void PropsRefresh() = 0;
  // Grab handles were placed.
  virtual void HandlesShown() = 0;
  // Every element of the stage becomes the selection.
  virtual void SelectAll() = 0;
  // Moves the selection by (dx, dy) grid steps, or pixels when `fine`; with `resize` its width and
  // height change instead. `repeat`: the key is held, the move goes on the step before.
  virtual void NudgeSelection(int dx, int dy, bool resize, bool fine, bool repeat) = 0;
};

// The toggle button that switches its register's design mode: down while design mode is on. A
// window may press or release it from code (StartDesign, StopDesign) exactly as a click would.
// It is always a two-state toggle of its own group.
class TDsnSwitch : public TSpeedButton {
  DECLARE_CLASS(TDsnSwitch)

 public:
  static constexpr int kGroupIndex = 2302;

  void Create(TComponent* owner) override;

  // The register whose design mode the switch controls; cleared when the register is destroyed.
  TCustomDsnRegister* DsnRegister() const { return register_; }
  void SetDsnRegister(TCustomDsnRegister* value);
  // Whether DsnMessage is shown when design mode is switched on.
  bool DsnMessageFlg() const { return messageFlg_; }
  void SetDsnMessageFlg(bool value) { messageFlg_ = value; }
  const std::string& DsnMessage() const { return message_; }
  void SetDsnMessage(const std::string& value) { message_ = value; }

  // Runs after the button took its new state: the message, the register, then OnClick.
  void Click() override;
  // Put the switch down, or up, and run Click; nothing when it already is.
  void StartDesign();
  void StopDesign();

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomDsnRegister* register_ = nullptr;
  bool messageFlg_ = false;
  std::string message_ = "Now, Starting Design";
};
