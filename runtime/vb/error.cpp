#include "runtime/vb/error.h"

#include <map>
#include <utility>

namespace vb {

Error::Error(long number, std::string source, std::string description)
    : Number(number), Source(std::move(source)), Description(std::move(description)) {}

// Out of line, so that the type's identity lives in one library and catches work across
// the plugin boundary.
Error::~Error() = default;

std::string StandardDescription(long number) {
  static const std::map<long, std::string> kTexts = {
      {3, "Return without GoSub"},
      {5, "Invalid procedure call or argument"},
      {6, "Overflow"},
      {7, "Out of memory"},
      {9, "Subscript out of range"},
      {11, "Division by zero"},
      {13, "Type mismatch"},
      {52, "Bad file name or number"},
      {53, "File not found"},
      {57, "Device I/O error"},
      {70, "Permission denied"},
      {75, "Path/File access error"},
      {76, "Path not found"},
      {91, "Object variable or With block variable not set"},
      {94, "Invalid use of Null"},
      {340, "Control array element does not exist"},
      {360, "Object already loaded"},
      {380, "Invalid property value"},
      {383, "Property is read-only"},
      {400, "Form already displayed; can't show modally"},
      {424, "Object required"},
      {429, "ActiveX component can't create object"},
      {438, "Object doesn't support this property or method"},
      {440, "Automation error"},
  };
  auto it = kTexts.find(number);
  return it == kTexts.end() ? "Application-defined or object-defined error" : it->second;
}

namespace {
std::string& SourceSlot() {
  static std::string source;
  return source;
}
}  // namespace

const std::string& DefaultErrorSource() {
  return SourceSlot();
}
void SetDefaultErrorSource(std::string source) {
  SourceSlot() = std::move(source);
}

Error RuntimeError(long number) {
  return Error(number, DefaultErrorSource(), StandardDescription(number));
}

}  // namespace vb
