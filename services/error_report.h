// How the add-in's routines end a failure: the code-window message for error 91 (no active
// code pane) where a routine has one, otherwise the common five-field critical report.
//
// The report is a message box with style 16 and the title "CRITICAL ERROR"; its prompt holds
// the add-in's file description, the failing routine's line, the error's number, source and
// description, and the routine's extra text. Nothing is logged or raised further.
#pragma once

#include <string>

#include "runtime/vb/error.h"

namespace bw {

// The report's prompt, for a routine line such as "   Routine Name : Private Sub DisplayLog".
std::string CriticalErrorPrompt(const std::string& fileDescription, const std::string& routineLine,
                                const vb::Error& error, const std::string& extra = "");

// Shows the report for `error`, with the running library's file description, and returns once
// the user has pressed OK.
void ShowCriticalError(const std::string& routineLine, const vb::Error& error,
                       const std::string& extra = "");

// What a routine's handler shows. An empty Prompt91 means the routine has no code-window message
// and always shows the critical report.
struct RoutineErrorTexts {
  std::string RoutineLine;
  std::string Prompt91;
  std::string Title91;
  std::string Extra;
};

// Shows the code-window message (style 64) for error 91 when the routine has one, else the
// critical report.
void ReportRoutineError(const vb::Error& error, const RoutineErrorTexts& texts);

}  // namespace bw
