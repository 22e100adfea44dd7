// The add-in's process-wide state shared by every window: the IDE's root object.
#pragma once

#include "host/vbide.h"
#include "runtime/vb/object.h"

namespace bw {

// The IDE's root object, kept at every connection and never cleared by the add-in. Every
// routine that works on the code window asks it for the active code pane afresh.
extern vb::Object<vbide::VBE> VBInst;

}  // namespace bw
