#include "addin/objects.h"

#include "runtime/forms/form.h"

namespace bw {
namespace {
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
}  // namespace

namespace objects_detail {
void Created() {
  ++g_objects;
}
void Destroyed() {
  --g_objects;
}
}  // namespace objects_detail

void LockServer(bool lock) {
  lock ? ++g_locks : --g_locks;
}
// A loaded window of the add-in is live code of the library too.
bool CanUnloadNow() {
  return g_objects == 0 && g_locks == 0 && forms::LoadedForms().empty();
}
long LiveObjects() {
  return g_objects;
}

}  // namespace bw
