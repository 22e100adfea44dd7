// A Visual Basic run-time error, as the runtime's Err object describes it.
//
// Routines that arm an error handler are a try/catch around their body and catch vb::Error.
// Everything that fails on the add-in's behalf (the runtime helpers, the host objects, the
// database engine) throws vb::Error, never another exception type, so a handler sees the
// Number, Source and Description a VB program would see.
#pragma once

#include <exception>
#include <string>

namespace vb {

class Error : public std::exception {
 public:
  Error(long number, std::string source, std::string description);
  ~Error() override;

  const char* what() const noexcept override { return Description.c_str(); }

  long Number;
  std::string Source;
  std::string Description;
};

// The runtime's own wording for the error numbers this program raises ("Object variable or With
// block variable not set" for 91). Unknown numbers give "Application-defined or object-defined
// error", as the runtime does.
std::string StandardDescription(long number);

// The source that runtime errors carry: the title of the running project (the add-in sets it
// through vb::SetVersionInfo). Empty until set.
const std::string& DefaultErrorSource();
void SetDefaultErrorSource(std::string source);

// An error with the runtime's description and the default source.
Error RuntimeError(long number);

// Common numbers.
inline constexpr long kInvalidProcedureCall = 5;
inline constexpr long kSubscriptOutOfRange = 9;
inline constexpr long kTypeMismatch = 13;
inline constexpr long kObjectNotSet = 91;
inline constexpr long kInvalidPropertyValue = 380;
inline constexpr long kObjectDoesNotSupport = 438;

}  // namespace vb
