#include "addin/com_object.h"

#include "runtime/forms/form.h"

namespace bw {

// A loaded window of the add-in is live code of the library too.
bool CanUnloadNow() {
  return LiveObjects == 0 && ServerLocks == 0 && forms::LoadedForms().empty();
}

}  // namespace bw
