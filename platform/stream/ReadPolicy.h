#pragma once
// What a read of data from elsewhere may do. A window's own layout is trusted and may create any
// class, bind its handlers and reach the window's components; a design stored by another program,
// or a block another program put on the clipboard, is not. A reader given a policy creates only the
// classes it lists, binds no event, touches no component it did not create and leaves no reference
// waiting; anything else ends the read with EReadRefused, and nothing of the read stays.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Exception.h"

class TClassInfo;

struct TReadPolicy {
  // The classes a record may create, each exactly (not its descendants). A record of a component
  // that exists already (inherited or inline) is refused, whatever its class.
  std::vector<const TClassInfo*> Classes;
  // Components outside the read that a reference may name, by their plain name among the root's
  // components. Every other reference must name a component the same read created.
  std::vector<std::string> OutsideNames;
  // Whether a record may hold the records of child components.
  bool ChildRecords = false;
  // Integer properties whose values must lie in a range, by their path ("Left", "Font.Height"):
  // a value outside is refused, never clamped, so that nothing is changed on the next write.
  struct TRange {
    std::string Path;
    int64_t Min = 0;
    int64_t Max = 0;
  };
  std::vector<TRange> Ranges;
};

// The data asked for something the reader's policy does not allow. Unlike other errors inside one
// property, no error hook can pass over it.
class EReadRefused : public EReadError {
  using EReadError::EReadError;
};
