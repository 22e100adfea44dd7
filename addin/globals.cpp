#include "addin/globals.h"

namespace bw {

vb::Object<vbide::VBE> VBInst;

}  // namespace bw
