#pragma once
// The link of a client that shows an action's values through properties of its own (menu items,
// tool buttons): it passes the action's changes on to the properties that still hold the action's
// value, copies the values when the action is assigned, and tells which properties need not be
// stored because they are the action's.
//
// A client says which of its properties show which value by specialising TActionLinkProps with
// pointers to their getters and setters; a value it does not show is std::nullptr_t:
//
//   template <> struct TActionLinkProps<TMenuItem> {
//     static constexpr auto Caption = &TMenuItem::Caption;
//     static constexpr auto SetCaption = &TMenuItem::SetCaption;
//     …
//   };

#include <cstddef>
#include <string>
#include <type_traits>

#include "platform/controls/ActnList.h"

template <class TClient>
struct TActionLinkProps;

template <class TClient>
class TClientActionLink : public TActionLink {
  using P = TActionLinkProps<TClient>;

 public:
  explicit TClientActionLink(TClient* client) : TActionLink(client), client_(client) {}

  // Whether the client's property holds the action's value.
  bool IsCaptionLinked() const { return Linked<P::Caption>(&TCustomAction::Caption); }
  bool IsCheckedLinked() const { return Linked<P::Checked>(&TCustomAction::Checked); }
  bool IsEnabledLinked() const { return Linked<P::Enabled>(&TCustomAction::Enabled); }
  bool IsHintLinked() const { return Linked<P::Hint>(&TCustomAction::Hint); }
  bool IsImageIndexLinked() const { return Linked<P::ImageIndex>(&TCustomAction::ImageIndex); }
  bool IsShortCutLinked() const { return Linked<P::ShortCut>(&TCustomAction::ShortCut); }
  bool IsVisibleLinked() const { return Linked<P::Visible>(&TCustomAction::Visible); }

  // The action is about to take a new value.
  void SetCaption(const std::string& v) override { Follow<P::Caption, P::SetCaption>(&TCustomAction::Caption, v); }
  void SetChecked(bool v) override { Follow<P::Checked, P::SetChecked>(&TCustomAction::Checked, v); }
  void SetEnabled(bool v) override { Follow<P::Enabled, P::SetEnabled>(&TCustomAction::Enabled, v); }
  void SetHint(const std::string& v) override { Follow<P::Hint, P::SetHint>(&TCustomAction::Hint, v); }
  void SetImageIndex(int v) override { Follow<P::ImageIndex, P::SetImageIndex>(&TCustomAction::ImageIndex, v); }
  void SetShortCut(TShortCut v) override { Follow<P::ShortCut, P::SetShortCut>(&TCustomAction::ShortCut, v); }
  void SetVisible(bool v) override { Follow<P::Visible, P::SetVisible>(&TCustomAction::Visible, v); }

  // Copies the action's values into the client; `checkDefaults` (while the client is read) copies
  // only into properties that the stream left at their defaults.
  void CopyValues(const TCustomAction& action, bool checkDefaults) {
    Copy<P::Caption, P::SetCaption>(action.Caption(), std::string(), checkDefaults);
    Copy<P::Checked, P::SetChecked>(action.Checked(), false, checkDefaults);
    Copy<P::Enabled, P::SetEnabled>(action.Enabled(), true, checkDefaults);
    Copy<P::Hint, P::SetHint>(action.Hint(), std::string(), checkDefaults);
    Copy<P::ImageIndex, P::SetImageIndex>(action.ImageIndex(), -1, checkDefaults);
    Copy<P::ShortCut, P::SetShortCut>(action.ShortCut(), TShortCut(0), checkDefaults);
    Copy<P::Visible, P::SetVisible>(action.Visible(), true, checkDefaults);
  }

  // Whether a click runs the client's own OnClick rather than executing the action: when the
  // client has a handler that is not the action's own (bound as OnClick, it runs through the
  // action, which updates it and asks its list first), or has no action.
  static bool RunsOwnHandler(const TNotifyEvent& onClick, TBasicAction* action) {
    return !action || (onClick && !(onClick.Method() && onClick.Method() == action->OnExecute.Method()));
  }

 private:
  template <auto Get>
  static constexpr bool Shown = !std::is_null_pointer_v<decltype(Get)>;

  template <auto Get, class ActionGet>
  bool Linked(ActionGet actionGet) const {
    if constexpr (Shown<Get>) return CustomAction() && (client_->*Get)() == (CustomAction()->*actionGet)();
    else return false;
  }

  template <auto Get, auto Set, class ActionGet, class V>
  void Follow(ActionGet actionGet, const V& v) {
    if constexpr (Shown<Get>)
      if (Linked<Get>(actionGet)) (client_->*Set)(v);
  }

  template <auto Get, auto Set, class V>
  void Copy(const V& value, const V& fallback, bool checkDefaults) {
    if constexpr (Shown<Get>)
      if (!checkDefaults || (client_->*Get)() == fallback) (client_->*Set)(value);
  }

  TClient* client_;
};
