// The reviewed overrides file: corrections the generator applies to what it derives from the
// headers, so that the generated text is never edited by hand.
//
// One override a line; '#' starts a comment; blank lines are ignored.
//   rename EXPORT NAME        declare the function exported as EXPORT under NAME (the export
//                             name becomes the Alias)
//   optional EXPORT PARAM     a structure pointer that may be NULL: "PARAM As Any", so that a
//                             caller passes either the structure or ByVal 0&
//   resource EXPORT PARAM     a name that may also be a resource number (MAKEINTRESOURCE), or
//                             text that may also be an address: "ByVal PARAM As Any", taking a
//                             String or a Long
//   address EXPORT PARAM      a pointer the caller holds as a number (a block the API handed
//                             out, to free or resize): "ByVal PARAM As Long"
//   type CNAME NAME           write the C structure type CNAME as the Type NAME
// EXPORT is the name the DLL exports (GetObjectA), PARAM the C parameter name. An override that
// matches nothing is an error of the generator, so the file cannot silently go stale.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace bw::apigen {

struct Override {
  enum class Kind { kRename, kOptional, kResource, kAddress, kType };
  Kind kind = Kind::kRename;
  std::string target;  // the export or the C type name
  std::string param;   // kOptional, kResource, kAddress
  std::string name;    // kRename, kType
  int line = 0;
  mutable bool used = false;
};

class OverridesError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Overrides {
 public:
  Overrides() = default;
  // Parses the file's text. Throws OverridesError naming the line of the first bad override.
  static Overrides Parse(std::string_view text);
  static Overrides ReadFile(const std::string& path);

  // The override of the given kind for `target` (and `param`), marked used; nullptr when none.
  const Override* Find(Override::Kind kind, std::string_view target,
                       std::string_view param = {}) const;
  // The overrides nothing has asked for.
  std::vector<const Override*> Unused() const;
  const std::vector<Override>& all() const { return all_; }

 private:
  std::vector<Override> all_;
};

}  // namespace bw::apigen
