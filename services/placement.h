// Where the add-in's windows appear: centred on the screen and kept above the IDE.
#pragma once

#include "runtime/forms/form.h"

namespace bw {

// left = (screen width - window width) / 2, top likewise, in twips.
void CentreOnScreen(forms::Form& form);

// SetWindowPos(hWnd, HWND_TOPMOST, left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW),
// each twip value divided by 15 and rounded to the nearest whole number, halves to even.
void MakeTopMost(forms::Form& form);

}  // namespace bw
