// The add-in's per-user settings: the source library browser's geometry and splitter, and the
// user's name.
//
// Every value is text in the settings store under the product's name as application, section
// "Settings". Numbers are written as VB's Str writes a Single ("." as the decimal point, a
// leading blank in place of the sign when not negative: " 10230", " 4087.5", "-300") and read
// back as Val reads them (leading blanks skipped, the longest decimal prefix, else 0).
//
// LoadWindowSettings seeds every missing or empty key with its default, then applies the stored
// values to the window; SaveWindowSettings stores the window's normal-state geometry and the
// splitter. Both reach the window's splitter control by its name, imgSplitter.
//
// REQUIRES: a platform is installed (rt::InstallPlatform).
#pragma once

#include "runtime/forms/form.h"
#include "services/names.h"

namespace bw {

inline constexpr const char* kSettingsApp = kProductName;
inline constexpr const char* kSettingsSection = "Settings";

// Seeds missing keys (Width "10230", Height "6825", Top and Left centring the window at its
// current size, Splitter "2295", UserName "Unknown"), reads UserName into CurrentUserName
// (shared_state.h), then sets the splitter's left edge and the window's width, height, top and
// left, in that order.
// Raises 438 when the window has no control named imgSplitter.
void LoadWindowSettings(forms::Form& window);

// Writes Width, Height, Top and Left when the window is in its normal state (neither minimised
// nor maximised), and Splitter in every state. Raises 438 when there is no imgSplitter.
void SaveWindowSettings(forms::Form& window);

}  // namespace bw
