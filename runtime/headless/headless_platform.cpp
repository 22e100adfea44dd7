#include "runtime/headless/headless_platform.h"

#include <algorithm>
#include <ctime>

namespace rt {
namespace {

vb::Date SystemToday() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return vb::Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

// What each button set (the style's low three bits) offers, and what it answers when the script
// gave nothing: the choice that changes least.
struct ButtonSet {
  std::vector<long> Offered;
  long Harmless;
};

const ButtonSet& ButtonsOf(long buttons) {
  static const ButtonSet kSets[8] = {
      {{vb::vbOK}, vb::vbOK},
      {{vb::vbOK, vb::vbCancel}, vb::vbCancel},
      {{vb::vbAbort, vb::vbRetry, vb::vbIgnore}, vb::vbAbort},
      {{vb::vbYes, vb::vbNo, vb::vbCancel}, vb::vbCancel},
      {{vb::vbYes, vb::vbNo}, vb::vbNo},
      {{vb::vbRetry, vb::vbCancel}, vb::vbCancel},
      {{vb::vbOK}, vb::vbOK},
      {{vb::vbOK}, vb::vbOK},
  };
  return kSets[buttons & 7];
}

}  // namespace

HeadlessPlatform::HeadlessPlatform() : today_(SystemToday()) {}

void HeadlessPlatform::Print(const std::string& line) {
  if (transcript_) transcript_(line);
}

long HeadlessPlatform::MsgBox(const std::string& prompt, long buttons, const std::string& title) {
  long answer = TakeScriptedAnswer(answers_, buttons, title, faults_);
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
  static const char* const kNames[] = {"OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
  if (answer < vb::vbOK || answer > vb::vbNo) return std::to_string(answer);
  return kNames[answer - vb::vbOK];
}

long AnswerFromName(const std::string& name) {
  for (long a = vb::vbOK; a <= vb::vbNo; ++a)
    if (AnswerName(a) == name) return a;
  return 0;
}

bool BoxOffers(long buttons, long answer) {
  const std::vector<long>& offered = ButtonsOf(buttons).Offered;
  return std::find(offered.begin(), offered.end(), answer) != offered.end();
}

const std::vector<long>& OfferedAnswers(long buttons) {
  return ButtonsOf(buttons).Offered;
}

long TakeScriptedAnswer(std::deque<long>& queued, long buttons, const std::string& title,
                        std::vector<std::string>& faults) {
  const bool okOnly = (buttons & 7) == vb::vbOKOnly;
  if (!queued.empty() && (!okOnly || queued.front() == vb::vbOK)) {
    long answer = queued.front();
    queued.pop_front();
    if (BoxOffers(buttons, answer)) return answer;
    faults.push_back("the queued answer " + AnswerName(answer) +
                     " is not a button of the message box " + Quote(title));
    return ButtonsOf(buttons).Harmless;
  }
  if (okOnly) return vb::vbOK;
  faults.push_back("no answer queued for the message box " + Quote(title));
  return ButtonsOf(buttons).Harmless;
}

}  // namespace rt
