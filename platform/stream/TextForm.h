#pragma once
// The text form of the binary component stream: the readable notation of the layout files
// (`object Name: TClass`, `Prop = Value`, `end`). Both directions take and return byte strings; texts
// are UTF-8.
//
// A single component block (a layout) becomes one object. A design stream (component blocks and the
// end marker) becomes its objects followed by a line `end.`, so that it converts back to the same bytes.
// Every value our own writer produces converts back byte for byte; streams from other writers may be
// normalised (a vaWString or a code-page vaString becomes a UTF-8 string, integers get their shortest
// encoding).
//
// Both directions are safe on any input: malformed input raises EReadError, never more.

#include <string>
#include <string_view>
#include <utility>

#include "platform/rtl/Exception.h"

// The error of a malformed text: its message says "Line N: …" in the user's language; the line and
// the detail are kept apart for those who count lines otherwise (a file holding several texts).
class ETextFormError : public EReadError {
 public:
  ETextFormError(std::string message, int line, std::string detail)
      : EReadError(std::move(message)), line_(line), detail_(std::move(detail)) {}
  int Line() const { return line_; }
  const std::string& Detail() const { return detail_; }

 private:
  int line_;
  std::string detail_;
};

// Converts a binary component stream to text. Throws EReadError
// ("Invalid stream format at offset N: ...") when the bytes are not a well-formed stream, or when they
// hold a name or identifier that the text form cannot express.
std::string StreamToText(std::string_view binary);

// Converts the text form to a binary component stream, encoding each value as the stream writer does.
// A text ending in `end.`, or holding no object or several, gives component blocks and the end marker;
// a text of exactly one object without `end.` gives that single block. Throws ETextFormError
// ("Line N: ...") on malformed text.
std::string TextToStream(std::string_view text);
