#include "addin/objects.h"

namespace bw {
namespace {
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
}  // namespace

namespace objects_detail {
void Created() { ++g_objects; }
void Destroyed() { --g_objects; }
}  // namespace objects_detail

void LockServer(bool lock) { lock ? ++g_locks : --g_locks; }
bool CanUnloadNow() { return g_objects == 0 && g_locks == 0; }
long LiveObjects() { return g_objects; }

}  // namespace bw
