#pragma once
// Naming of components that the designer creates or reads into a window.

#include <string>
#include <unordered_map>

class TComponent;
class TReader;  // platform/stream/Reader.h

// Replaces `name` by a name that no component of `owner` has yet: the incoming name stays when
// it is free; otherwise the result is the first free one of Base1, Base2, … where Base is the
// component's class name without its first character ("TLabel" → "Label", "tshape2" → "shape2").
// Counting starts at 1 even when the incoming name already ends in a number. An empty name stays
// empty. Names are compared ignoring case; a name that only `component` itself has counts as
// free. A null owner or component leaves the name unchanged. `reader` is not used; the signature
// matches the stream reader's set-name hook with the owner in front.
void UniqueComponentName(TComponent* owner, TReader* reader, TComponent* component, std::string& name);

// Where the search for a free name of each base goes on within one read: every number below it
// was taken when it was last looked at. A read that names many components of one base (a paste
// of copies) then costs one search per component instead of one per taken name.
using TFreeNameHint = std::unordered_map<std::string, int>;

// As above, starting each base's search where `hint` says and moving the hint on. A component
// freed meanwhile may leave a lower number free: the name given is then free but not the first.
void UniqueComponentName(TComponent* owner, TReader* reader, TComponent* component, std::string& name,
                         TFreeNameHint& hint);
