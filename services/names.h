// The product's names, written once: the name the user sees (tool window caption, View-menu
// command, type library, settings application, title of its messages), the ProgIDs the IDE knows
// the add-in by, the description the add-in manager lists, and the library's version information.
#pragma once

#include "runtime/platform.h"

namespace bw {

inline constexpr char kProductName[] = "Brindlewick";
inline constexpr char kConnectProgId[] = "Brindlewick.Connect";
inline constexpr char kToolWindowProgId[] = "Brindlewick.ToolWindow";
inline constexpr char kConnectDescription[] = "Brindlewick Tool Window";

// What App.FileDescription and App.Title read, as the library's version resource would hold it.
inline const vb::VersionInfo kVersionInfo = {"Brindlewick - Visual Basic Code Helper Add-In",
                                             kProductName, kProductName};

}  // namespace bw
