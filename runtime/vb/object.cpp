#include "runtime/vb/object.h"

namespace vb {

void RaiseObjectNotSet() {
  throw RuntimeError(kObjectNotSet);
}

}  // namespace vb
