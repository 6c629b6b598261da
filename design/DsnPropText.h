#pragma once
// Properties as text: the value texts that the inspector and the design context menu show, the
// conversion of a typed text back into every target's property, the name|caption lists that
// configure them, and the naming of components that the designer creates or reads into a window.

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TComponent;
class TObject;
class TPropInfo;
class TReader;  // platform/stream/Reader.h
class TStrings;

// ---- value texts ----

// The text of one property's value as the inspector shows it: integers (colours included) in
// decimal, a character as itself, an enumeration by its value name, a set as the names of its
// elements below ordinal 16 in brackets ("[sltop,slleft]", "[]"), a floating-point number in the
// general format with up to 15 significant digits, strings as they are, a component reference by
// the component's name (empty for none), another object by its type name in parentheses
// ("(TFont)"), a handler by its published method's name, and "Unknown" for the kinds that have no
// text (wide characters and strings, variants, 64-bit integers, …).
std::string PropValueText(TObject* instance, const TPropInfo& prop);

// Sets the property `propName` of every target from `value`, in list order. An integer takes a
// decimal number (also "$" or "0x" hexadecimal) that fits in 32 bits, a character the first
// character of the text, an enumeration one of its value names (ignoring case), a floating-point
// number a finite number, and the string kinds the text as it is. The empty text empties a string
// property and leaves any other alone. Sets, objects and handlers ignore the text.
//
// The text is converted for every target before any is changed, so a text that does not convert,
// or a target without the property, changes nothing. A setter that fails stops the loop: the
// targets before it keep their new value. Either way the error is an EPropertyError whose message
// is `value` + " is illegal (" + `propName` + ")", whatever went wrong underneath. An empty
// `propName` does nothing; null targets are skipped.
void ApplyPropValue(const std::vector<TComponent*>& targets, const std::string& propName, const std::string& value);

// ---- name|caption lists ----

using TNameList = std::vector<std::string>;

// The position of `name` in `list`, ignoring case; -1 when it is not there.
int IndexOfName(const TNameList& list, std::string_view name);

// Splits lines of the form "Name|Caption" into two parallel lists: the text before the first "|"
// is the name, the rest the caption; a line without "|" is both. Both lists are cleared first.
void SplitNameCaption(const TNameList& source, TNameList& names, TNameList& captions);
void SplitNameCaption(const TStrings& source, TNameList& names, TNameList& captions);
// The lines of a string list.
TNameList LinesOf(const TStrings& source);

// The caption standing at the place of `name` in `names`; empty when `name` is not there.
std::string CaptionOfName(std::string_view name, const TNameList& names, const TNameList& captions);

// Moves the entries of `names` that occur in `reference` to the front, in the order of
// `reference`; the others follow in their former order. `values` moves in step with `names`.
void OrderLike(const TNameList& reference, TNameList& names, TNameList& values);

// ---- naming ----

// The one rule for free names: the first of candidate(from), candidate(from + 1), … that no
// component of `owner` has, or that only `component` itself has (names compare ignoring case).
// Every way the design framework names a component goes through it.
std::string FirstFreeName(const TComponent& owner, const TComponent* component,
                          const std::function<std::string(int)>& candidate, int from = 1);
// The candidates Base1, Base2, …, and the base of a class: its name without the first character
// ("TLabel" → "Label", "tshape2" → "shape2").
std::string NumberedName(const std::string& base, int number);
std::string NameBaseOf(const TComponent& component);

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
