#pragma once
// Naming of components that the designer creates or reads into a window.

#include <string>

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
