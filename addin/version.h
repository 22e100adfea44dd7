// The add-in library's version information, as its version resource would hold it.
#pragma once

#include "runtime/platform.h"

namespace bw {

inline const vb::VersionInfo kVersionInfo = {
    "Brindlewick - Visual Basic Code Helper Add-In",  // FileDescription
    "Brindlewick",                                    // ProductName
    "Brindlewick",                                    // Title
};

}  // namespace bw
