// The recording headless platform: what the scenario runner and the tests install.
//
// Message boxes and file dialogs take their answers from queues and are written to the
// transcript as they happen ("msgbox 64 "TITLE" "PROMPT" -> OK", texts as rt::Quote writes them).
// A box that asks a question (any button set but OK alone) with no queued answer, or a file
// dialog with no queued result, is a fault of the script: the box answers the harmless choice
// (No, Cancel), and Faults() says what was left unanswered. Everything else is kept in memory:
// settings, registry, the screen size, the date, the add-in folder, and the last SetWindowPos call
// of each window.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/platform.h"
#include "runtime/quote.h"  // the transcript's notation for text

namespace rt {

struct MsgBoxRecord {
  std::string Prompt;
  long Buttons = 0;
  std::string Title;
  long Answer = 0;
};

struct SetWindowPosCall {
  long Hwnd = 0;
  long InsertAfter = 0;
  long X = 0, Y = 0, Cx = 0, Cy = 0;
  long Flags = 0;
};

class HeadlessPlatform : public Platform {
 public:
  HeadlessPlatform();

  long MsgBox(const std::string& prompt, long buttons, const std::string& title) override;
  std::optional<std::string> ShowOpen(const FileDialogRequest& request) override;
  double ScreenWidth() override { return screenWidth_; }
  double ScreenHeight() override { return screenHeight_; }
  long SetWindowPos(long hwnd, long insertAfter, long x, long y, long cx, long cy,
                    long flags) override;
  void DoEvents() override { ++doEventsCalls_; }
  SettingsStore& Settings() override { return settings_; }
  RegistryStore& Registry() override { return registry_; }
  vb::Date Today() override { return today_; }
  const vb::DateLocale& Locale() override { return vb::DateLocale::English(); }
  std::string AddinFolder() override { return addinFolder_; }

  // Set-up.
  void QueueAnswer(long answer) { answers_.push_back(answer); }
  // nullopt queues a cancel.
  void QueueFileDialog(std::optional<std::string> path) { fileDialogs_.push_back(std::move(path)); }
  void SetScreen(double width, double height);
  void SetToday(const vb::Date& date) { today_ = date; }
  void SetAddinFolder(std::string folder) { addinFolder_ = std::move(folder); }
  // Receives each transcript line as it happens.
  void SetTranscript(std::function<void(const std::string&)> sink) {
    transcript_ = std::move(sink);
  }

  // Looking.
  const std::vector<MsgBoxRecord>& MessageBoxes() const { return boxes_; }
  std::optional<SetWindowPosCall> LastSetWindowPos(long hwnd) const;
  int DoEventsCalls() const { return doEventsCalls_; }
  std::size_t PendingAnswers() const { return answers_.size(); }
  // What the script left unanswered since the last call; clears the list.
  std::vector<std::string> TakeFaults();

 private:
  void Print(const std::string& line);

  std::deque<long> answers_;
  std::deque<std::optional<std::string>> fileDialogs_;
  std::vector<MsgBoxRecord> boxes_;
  std::map<long, SetWindowPosCall> lastPos_;
  std::vector<std::string> faults_;
  std::function<void(const std::string&)> transcript_;
  MemorySettingsStore settings_;
  MemoryRegistryStore registry_;
  double screenWidth_ = 15360;
  double screenHeight_ = 11520;
  vb::Date today_;
  std::string addinFolder_;
  int doEventsCalls_ = 0;
};

// The answer's name as scripts write it ("OK", "Yes", ...), and back (0 when unknown).
std::string AnswerName(long answer);
long AnswerFromName(const std::string& name);
// Whether a box with that style offers that answer.
bool BoxOffers(long buttons, long answer);
// The answers a box with that style offers, in the order of its buttons (styles 6 and 7, which
// VB does not define, offer OK).
const std::vector<long>& OfferedAnswers(long buttons);
// What a scripted box answers: the next queued answer when there is one the box offers (an OK
// only box leaves a queued answer other than OK for the next box), else the choice that changes
// least, with a fault naming the box for `faults`.
long TakeScriptedAnswer(std::deque<long>& queued, long buttons, const std::string& title,
                        std::vector<std::string>& faults);

}  // namespace rt
