#include "runtime/qt/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>

#include "runtime/qt/binding.h"
#include "runtime/qt/convert.h"
#include "runtime/qt/renderer.h"

namespace rt::qt {
namespace {

std::string FolderOrDefault(const std::string& folder) {
  if (!folder.empty()) return folder;
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return FromQ(base + "/Brindlewick");
}

std::string Ensured(const std::string& folder) {
  QDir().mkpath(ToQ(folder));
  return folder;
}

QMessageBox::StandardButton StandardButtonOf(long answer) {
  switch (answer) {
    case vb::vbOK:
      return QMessageBox::Ok;
    case vb::vbCancel:
      return QMessageBox::Cancel;
    case vb::vbAbort:
      return QMessageBox::Abort;
    case vb::vbRetry:
      return QMessageBox::Retry;
    case vb::vbIgnore:
      return QMessageBox::Ignore;
    case vb::vbYes:
      return QMessageBox::Yes;
    default:
      return QMessageBox::No;
  }
}

QMessageBox::Icon IconOf(long buttons) {
  switch (buttons & 0x70) {
    case vb::vbCritical:
      return QMessageBox::Critical;
    case vb::vbQuestion:
      return QMessageBox::Question;
    case vb::vbExclamation:
      return QMessageBox::Warning;
    case vb::vbInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

QtPlatform::QtPlatform(const std::string& configFolder)
    : configFolder_(Ensured(FolderOrDefault(configFolder))),
      settings_(configFolder_ + "/settings.ini"),
      registry_(configFolder_ + "/registry.ini") {}

QtPlatform::~QtPlatform() = default;

bool QtPlatform::AnyTopMostWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return true;
  return false;
}

long QtPlatform::AnswerOf(QMessageBox& box) {
  QAbstractButton* pressed = box.clickedButton();
  if (!pressed) return 0;
  return pressed->property("vbAnswer").toInt();
}

long QtPlatform::MsgBox(const std::string& prompt, long buttons, const std::string& title) {
  QMessageBox box(IconOf(buttons), ToQ(title), ToWidgetText(prompt));
  const std::vector<long>& answers = OfferedAnswers(buttons);
  std::vector<QPushButton*> pushButtons;
  for (long answer : answers) {
    QPushButton* b = box.addButton(StandardButtonOf(answer));
    b->setProperty("vbAnswer", static_cast<int>(answer));
    pushButtons.push_back(b);
    if (answer == vb::vbCancel) box.setEscapeButton(b);
  }
  if (answers.size() == 1) box.setEscapeButton(pushButtons.front());
  // vbDefaultButton1 to 4 in bits 8 and 9.
  auto defaultIndex = static_cast<std::size_t>((buttons >> 8) & 3);
  box.setDefaultButton(pushButtons[std::min(defaultIndex, pushButtons.size() - 1)]);
  box.setTextFormat(Qt::PlainText);  // a name such as "<b>Foo" is shown as it stands
  // Above a top-most dialog, which would otherwise hide the box that blocks it.
  if ((buttons & (vb::vbMsgBoxSetForeground | 4096)) || AnyTopMostWindow())
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
  long answer = RunMessageBox(box, prompt, buttons, title);
  return answer ? answer : answers.back() == vb::vbCancel ? vb::vbCancel : answers.front();
}

long QtPlatform::RunMessageBox(QMessageBox& box, const std::string&, long, const std::string&) {
  box.exec();
  return AnswerOf(box);
}

std::optional<std::string> QtPlatform::ShowOpen(const FileDialogRequest& request) {
  QFileDialog dialog(nullptr, ToQ(request.DialogTitle), ToQ(request.InitDir));
  if (AnyTopMostWindow()) dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // cdlOFNFileMustExist
  dialog.setFileMode((request.Flags & 0x1000) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  QStringList filters = NameFilters(request.Filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!request.FileName.empty()) dialog.selectFile(ToQ(request.FileName));
  return RunFileDialog(dialog, request);
}

std::optional<std::string> QtPlatform::RunFileDialog(QFileDialog& dialog,
                                                     const FileDialogRequest&) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQ(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

double QtPlatform::ScreenWidth() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? Twips(s->size().width()) : 15360;
}

double QtPlatform::ScreenHeight() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? Twips(s->size().height()) : 11520;
}

long QtPlatform::SetWindowPos(long hwnd, long insertAfter, long x, long y, long cx, long cy,
                              long flags) {
  lastPos_[hwnd] = SetWindowPosCall{hwnd, insertAfter, x, y, cx, cy, flags};
  if (renderer_)
    if (forms::Form* form = renderer_->FormOfHandle(hwnd))
      if (FormBinding* b = renderer_->BindingOf(*form))
        b->SetWindowPos(insertAfter, x, y, cx, cy, flags);
  return 1;
}

std::optional<SetWindowPosCall> QtPlatform::LastSetWindowPos(long hwnd) const {
  auto it = lastPos_.find(hwnd);
  if (it == lastPos_.end()) return std::nullopt;
  return it->second;
}

void QtPlatform::DoEvents() {
  QCoreApplication::processEvents();
}

vb::Date QtPlatform::Today() {
  QDate d = QDate::currentDate();
  return vb::Date{d.year(), d.month(), d.day()};
}

}  // namespace rt::qt
