#pragma once
#include <stdexcept>
#include <string>

namespace pixvane {

// Failures carry the message texts the player shows or the caller inspects
// ("Stream read error", "Index is out of bounds", ...). The derived kinds let
// callers tell a damaged stream from a file that could not be opened without
// comparing texts.
class EError : public std::runtime_error {
 public:
  explicit EError(const std::string& message) : std::runtime_error(message) {}
};

class EReadError : public EError {  // a stream or object read failed
 public:
  using EError::EError;
};

class EClassNotFound : public EError {
 public:
  using EError::EError;
};

class EListError : public EError {  // a list index outside the list
 public:
  using EError::EError;
};

class EFileError : public EError {  // a file could not be opened, created or written
 public:
  using EError::EError;
};

// printf-style formatting of a message with text arguments only, which is all
// the system's messages need ("Class %s not found", "Cannot open file %s").
std::string Format(const char* pattern, const std::string& a);
std::string Format(const char* pattern, const std::string& a, const std::string& b,
                   const std::string& c, const std::string& d);

}  // namespace pixvane
