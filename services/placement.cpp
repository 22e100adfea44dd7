#include "services/placement.h"

#include "runtime/platform.h"
#include "runtime/vb/numbers.h"

namespace bw {

void CentreOnScreen(forms::Form& form) {
  vb::ScreenObject screen = vb::Screen();
  form.SetLeft((screen.Width - form.Width()) / 2);
  form.SetTop((screen.Height - form.Height()) / 2);
}

void MakeTopMost(forms::Form& form) {
  auto pixels = [](double twips) { return vb::RoundHalfEven(twips / 15); };
  win32::SetWindowPos(form.hWnd(), win32::HWND_TOPMOST, pixels(form.Left()), pixels(form.Top()),
                      pixels(form.Width()), pixels(form.Height()),
                      win32::SWP_NOACTIVATE | win32::SWP_SHOWWINDOW);
}

}  // namespace bw
