#pragma once
// EDatabaseError: what the data components raise when an alias, a connection, a table or a
// statement fails. Messages name the alias and the object but never the user name or password of a
// connection.

#include "platform/rtl/Exception.h"

class EDatabaseError : public Exception {
  using Exception::Exception;
};
