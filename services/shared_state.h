// The add-in's process-wide state, touched only on the IDE's user-interface thread.
#pragma once

#include <string>

#include "host/vbide.h"
#include "runtime/vb/object.h"

namespace bw {

// The IDE's root object, kept at every connection and never cleared by the add-in; the commands
// reach the code window through it (code_window.h).
inline vb::Object<vbide::VBE> VBInst;

// The user's name as the source library browser last read it (settings.h); empty before that.
inline std::string CurrentUserName;

}  // namespace bw
