#pragma once
// The framework's exceptions. Every error the framework raises is an Exception carrying the message
// as the user will read it; the window-procedure boundary catches it and shows it in a message box.

#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }

 private:
  std::string message_;
};

// Conversions of text to numbers and of one object into another.
class EConvertError : public Exception {
  using Exception::Exception;
};

// Index out of range and similar misuse of the framework's lists.
class EListError : public Exception {
  using Exception::Exception;
};

// Stream read and write failures; EReadError is the framework's read error.
class EStreamError : public Exception {
  using Exception::Exception;
};
class EFilerError : public EStreamError {
  using EStreamError::EStreamError;
};
class EReadError : public EFilerError {
  using EFilerError::EFilerError;
};
class EWriteError : public EFilerError {
  using EFilerError::EFilerError;
};
class EClassNotFound : public EFilerError {
  using EFilerError::EFilerError;
};

// Invalid component names and other misuse of components.
class EComponentError : public Exception {
  using Exception::Exception;
};

// A published property that a text cannot be written to, or that does not exist.
class EPropertyError : public Exception {
  using Exception::Exception;
};
