// Errors that Korvel raises. Each carries the name of its kind, because the installation run
// shows that name in front of the message when it reports a failed item.
#pragma once

#include <stdexcept>
#include <string>

class KorvelError : public std::runtime_error {
public:
  KorvelError(std::u16string kind, std::u16string message);
  const std::u16string& Kind() const noexcept { return kind_; }
  const std::u16string& Message() const noexcept { return message_; }

private:
  std::u16string kind_;
  std::u16string message_;
};

// A file could not be opened (missing, locked for writing, access denied).
class EFOpenError : public KorvelError {
public:
  explicit EFOpenError(std::u16string message) : KorvelError(u"EFOpenError", std::move(message)) {}
};

// A file could not be created.
class EFCreateError : public KorvelError {
public:
  explicit EFCreateError(std::u16string message) : KorvelError(u"EFCreateError", std::move(message)) {}
};

// Reading an open file failed.
class EReadError : public KorvelError {
public:
  explicit EReadError(std::u16string message) : KorvelError(u"EReadError", std::move(message)) {}
};

// The system refused a resource, such as a timer.
class EOutOfResources : public KorvelError {
public:
  explicit EOutOfResources(std::u16string message) : KorvelError(u"EOutOfResources", std::move(message)) {}
};

// UTF-16 to UTF-8, for what() and for printing in tests.
std::string ToUtf8(const std::u16string& text);
// UTF-8 to UTF-16; malformed sequences become U+FFFD.
std::u16string FromUtf8(const std::string& text);
