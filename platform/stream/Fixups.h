#pragma once
// Component references read from a stream wait here until they can be resolved. Internal to the
// stream reader; the public entry points are declared in Reader.h.

#include <functional>
#include <string>

class TComponent;
class TPersistent;
class TPropInfo;
class TReader;

// Records that `prop` of `instance` names the component `name`, relative to `root`. `component` is
// the component being read (the instance itself or the owner of a sub-object such as a font).
void AddFixup(TReader* reader, TPersistent* instance, const TPropInfo& prop, TComponent* component,
              TComponent* root, std::string name);
// Resolves the references `reader` recorded; those that can't be resolved yet stay waiting for a
// later root. Errors raised by property setters are passed on after all are tried.
void ResolveFixups(TReader* reader);
// The same, each name looked up by `find` instead of as a path from the root; names it does not
// find stay waiting.
void ResolveFixups(TReader* reader, const std::function<TComponent*(const std::string& name)>& find);
// Calls `visit` with the name of every reference `reader` recorded and has not resolved.
void ForEachFixupName(const TReader* reader, const std::function<void(const std::string& name)>& visit);
// Forgets the references `reader` recorded without resolving them.
void DropFixups(TReader* reader);
// Resolves a dotted name ("Label1", "fmmain.DsnPanel1", "Owner") against a root.
TComponent* FindNestedComponent(TComponent* root, const std::string& path);
