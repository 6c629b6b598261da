#pragma once
// Tests answer modal windows without a person: while a modal hook is set, TCustomForm::ShowModal
// calls it with each form it has just shown, inside the modal state, and the hook may act on the
// form (click, type) until it sets a ModalResult. An empty hook lets the windows wait for the user
// again.

#include <functional>

class TCustomForm;

using TModalHook = std::function<void(TCustomForm&)>;
void SetModalHook(TModalHook hook);
