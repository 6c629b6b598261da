#pragma once
// Window layouts embedded in the program. The build converts each layout file (the text form of
// the component stream) into a binary stream and links it in, registered under the class name of
// its root; a form of that class reads it while it is created.

#include <cstddef>
#include <string>
#include <string_view>

class TComponent;

// Registers an embedded layout; returns true so that generated code can register at start-up.
bool RegisterLayout(const char* className, const unsigned char* data, size_t size);
// The layout of a class (its binary stream), or empty when it has none.
std::string_view FindLayout(const std::string& className);
// Reads a layout into an existing root: its properties, components, fields, handlers and
// references, then Loaded. Raises EReadError when the layout is damaged.
void ReadLayout(TComponent* root, std::string_view layout);
