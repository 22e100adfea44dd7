// The texts of the Insert Error Handler command and the line searches that place them.
//
// frmErrorHandler looks upward from the caret for the procedure header, proposes its name,
// then inserts OnErrorLine() below the header and HandlerBlock() above the procedure's end
// line. Everything here is pure: the searches read lines through a caller-supplied reader, so
// they run over a host code module or over a plain vector alike.
//
// A header line holds "Private Sub", "Public Sub", "Public Function" or "Private Function"
// anywhere (exact characters, so a comment or string holding one counts too); an end line holds
// "End Sub" or "End Function" anywhere. Friend, Static, Property and keyword-less procedures
// are not recognised.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace bw {

// The header keyword a line matched.
enum class ProcKeyword { kNone, kPrivateSub, kPublicSub, kPublicFunction, kPrivateFunction };

// Which keyword of a header line stands first in it; kNone when the line is no header line. A
// line holding several (a keyword in a trailing comment) is taken by its leftmost one, the
// declaration itself.
ProcKeyword IsProcHeader(std::string_view line);

// True when the line holds "End Sub" or "End Function".
bool IsEndLine(std::string_view line);

// The characters of a header line before its first "(", leading blanks included:
// "Private Sub cmdOK_Click()" gives "Private Sub cmdOK_Click". A line without "(" is no
// procedure's header (a declaration such as "Public SubTotal As Currency", a comment): raises 5
// "Invalid procedure call or argument".
std::string HeaderName(std::string_view line);

// The line inserted two lines below the header: a tab, "On Error Goto ErrHandler", CR LF.
std::string OnErrorLine();

// The exit statement that opens the handler block; a Function needs "Exit Function".
enum class ExitKind { kSub, kFunction };
ExitKind ExitKindFor(ProcKeyword keyword);

// The eleven lines from the exit statement to the MsgBox that shows the critical report with
// the procedure's name and the extra message, each line ended by CR LF. Name and message are
// copied as typed: not trimmed, quotes not doubled, line breaks kept.
std::string HandlerBlock(std::string_view name, std::string_view message,
                         ExitKind exit = ExitKind::kSub);

// Reads line n (1-based) of a code module.
using LineReader = std::function<std::string(long)>;

// The first header line met going upward from start_line to line 1, or 0 when there is none.
long FindHeaderLine(const LineReader& read_line, long start_line);

// The first end line met going downward from `from` to `count` (the module's number of lines),
// or 0 when there is none. A `from` below 1 starts at line 1.
long FindEndLine(const LineReader& read_line, long from, long count);

}  // namespace bw
