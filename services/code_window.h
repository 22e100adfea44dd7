// The code window the commands work on: the IDE's active code pane, reached through VBInst.
//
// Every call asks VBInst for the active pane afresh and keeps nothing; reading the selection and
// inserting are separate calls, so a caller that must fail before other work reads the selection
// first. Each call raises 91 when there is no active pane and passes on whatever else the IDE
// raises. Lines are 1-based; texts cross with CR LF between lines.
#pragma once

#include <string>
#include <string_view>

#include "host/vbide.h"

namespace bw::code_window {

vbide::Selection GetSelection();
std::string Line(long line);
// The lines the selection covers, joined by CR LF: its start line up to the line before its
// end line, so a selection within one line gives empty text.
std::string CoveredLines(const vbide::Selection& selection);
long LineCount();
// Inserts `text` so that its first line becomes line `line` (the selection's start line, for
// text put before the selection); each CR LF in it starts a new line.
void InsertBefore(long line, const std::string& text);
void ReplaceLine(long line, const std::string& text);

// Reads the selection once, then reads and replaces each line it covers, one at a time. Lines
// before a failure stay changed.
using LineTransform = std::string (*)(std::string_view);
void TransformSelectedLines(LineTransform transform);

}  // namespace bw::code_window
