#include "runtime/headless/headless_platform.h"

#include <ctime>

namespace rt {
namespace {

vb::Date SystemToday() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return vb::Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

// The answers each button set offers, the default first.
std::vector<long> Offered(long buttons) {
  switch (buttons & 7) {
    case vb::vbOKCancel:
      return {vb::vbOK, vb::vbCancel};
    case vb::vbAbortRetryIgnore:
      return {vb::vbAbort, vb::vbRetry, vb::vbIgnore};
    case vb::vbYesNoCancel:
      return {vb::vbYes, vb::vbNo, vb::vbCancel};
    case vb::vbYesNo:
      return {vb::vbYes, vb::vbNo};
    case vb::vbRetryCancel:
      return {vb::vbRetry, vb::vbCancel};
    default:
      return {vb::vbOK};
  }
}

// What a box answers when the script gave nothing: the choice that changes least.
long HarmlessAnswer(long buttons) {
  switch (buttons & 7) {
    case vb::vbYesNo:
      return vb::vbNo;
    case vb::vbAbortRetryIgnore:
      return vb::vbAbort;
    case vb::vbOKOnly:
      return vb::vbOK;
    default:
      return vb::vbCancel;
  }
}

}  // namespace

HeadlessPlatform::HeadlessPlatform() : today_(SystemToday()) {}

void HeadlessPlatform::Print(const std::string& line) {
  if (transcript_) transcript_(line);
}

long HeadlessPlatform::MsgBox(const std::string& prompt, long buttons, const std::string& title) {
  long answer;
  bool okOnly = (buttons & 7) == vb::vbOKOnly;
  if (!answers_.empty() && (!okOnly || answers_.front() == vb::vbOK)) {
    answer = answers_.front();
    answers_.pop_front();
    if (!BoxOffers(buttons, answer)) {
      faults_.push_back("the queued answer " + AnswerName(answer) +
                        " is not a button of the message box " + Quote(title));
      answer = HarmlessAnswer(buttons);
    }
  } else if (okOnly) {
    answer = vb::vbOK;
  } else {
    faults_.push_back("no answer queued for the message box " + Quote(title));
    answer = HarmlessAnswer(buttons);
  }
  boxes_.push_back({prompt, buttons, title, answer});
  Print("msgbox " + std::to_string(buttons) + " " + Quote(title) + " " + Quote(prompt) + " -> " +
        AnswerName(answer));
  return answer;
}

std::optional<std::string> HeadlessPlatform::ShowOpen(const FileDialogRequest& request) {
  std::optional<std::string> result;
  if (fileDialogs_.empty()) {
    faults_.push_back("no file-dialog result queued for " + Quote(request.DialogTitle));
  } else {
    result = fileDialogs_.front();
    fileDialogs_.pop_front();
  }
  Print("file-dialog " + Quote(request.DialogTitle) + " " + Quote(request.Filter) + " -> " +
        (result ? Quote(*result) : std::string("cancel")));
  return result;
}

long HeadlessPlatform::SetWindowPos(long hwnd, long insertAfter, long x, long y, long cx, long cy,
                                    long flags) {
  lastPos_[hwnd] = SetWindowPosCall{hwnd, insertAfter, x, y, cx, cy, flags};
  return 1;
}

void HeadlessPlatform::SetScreen(double width, double height) {
  screenWidth_ = width;
  screenHeight_ = height;
}

std::optional<SetWindowPosCall> HeadlessPlatform::LastSetWindowPos(long hwnd) const {
  auto it = lastPos_.find(hwnd);
  if (it == lastPos_.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> HeadlessPlatform::TakeFaults() {
  std::vector<std::string> f;
  f.swap(faults_);
  return f;
}

std::string AnswerName(long answer) {
  switch (answer) {
    case vb::vbOK:
      return "OK";
    case vb::vbCancel:
      return "Cancel";
    case vb::vbAbort:
      return "Abort";
    case vb::vbRetry:
      return "Retry";
    case vb::vbIgnore:
      return "Ignore";
    case vb::vbYes:
      return "Yes";
    case vb::vbNo:
      return "No";
    default:
      return std::to_string(answer);
  }
}

long AnswerFromName(const std::string& name) {
  for (long a = vb::vbOK; a <= vb::vbNo; ++a)
    if (AnswerName(a) == name) return a;
  return 0;
}

bool BoxOffers(long buttons, long answer) {
  for (long a : Offered(buttons))
    if (a == answer) return true;
  return false;
}

}  // namespace rt
