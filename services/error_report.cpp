#include "services/error_report.h"

#include "runtime/platform.h"

namespace bw {

std::string CriticalErrorPrompt(const std::string& fileDescription, const std::string& routineLine,
                                const vb::Error& error, const std::string& extra) {
  return "  Program Name : " + fileDescription + "\r\n\r\n" + routineLine + "\r\n\r\n" +
         "     Error Number : " + std::to_string(error.Number) + "\r\n" +
         "      Error Source : " + error.Source + "\r\n" +
         "Error Description : " + error.Description + "\r\n\r\n" + extra;
}

void ShowCriticalError(const std::string& routineLine, const vb::Error& error,
                       const std::string& extra) {
  vb::MsgBox(CriticalErrorPrompt(vb::App().FileDescription, routineLine, error, extra),
             vb::vbCritical, "CRITICAL ERROR");
}

void ReportRoutineError(const vb::Error& error, const RoutineErrorTexts& texts) {
  if (error.Number == vb::kObjectNotSet && !texts.Prompt91.empty())
    vb::MsgBox(texts.Prompt91, vb::vbInformation, texts.Title91);
  else
    ShowCriticalError(texts.RoutineLine, error, texts.Extra);
}

}  // namespace bw
