// What the Qt platform converts between the VB world and Qt: twips and pixels, VB colours
// (&H00BBGGRR, and the system colours &H800000nn) and palette roles, fonts, pictures, the text
// of multi-line boxes (CR LF in the form, LF in the widget) with positions in it, mnemonic
// captions, and the common dialog's filter.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "runtime/forms/controls.h"

namespace rt::qt {

inline constexpr double kTwipsPerPixel = 15;

// Twips to whole pixels, halves away from zero.
int Pixels(double twips);
double Twips(int pixels);

inline QString ToQ(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string FromQ(const QString& s) {
  return s.toStdString();
}

// A VB colour; a system colour takes its colour from `palette`.
QColor VbColor(long color, const QPalette& palette);
// The palette role a system colour stands for; nullopt for a plain colour or an unknown index.
std::optional<QPalette::ColorRole> SystemColorRole(long color);

// The font a VB font name and size give on this machine ("MS Sans Serif" and "Arial" find a
// sans-serif face, "Courier New" a fixed one).
QFont VbFont(const forms::Font& font);

// The picture's image; a null pixmap when the bytes are no image. `maskColor`, when given,
// becomes transparent (an image list's mask colour).
QPixmap PictureToPixmap(const forms::Picture& picture, std::optional<long> maskColor = {});

// The text of a multi-line box as the widget shows it (CR LF, and a lone CR, as one LF), and
// back (each LF as CR LF).
QString ToWidgetText(const std::string& formText);
std::string FromWidgetText(const QString& widgetText);
// A caret position in the form's text (characters, CR LF counting two) as a position in the
// widget's text (UTF-16 units; in a multi-line box a line break counts one), and back, both
// read along the form's text.
int ToWidgetPosition(const std::string& formText, long position, bool multiLine);
long FromWidgetPosition(const std::string& formText, int position, bool multiLine);

// A caption with VB's mnemonic "&" ("&&" for an ampersand) as rich text that underlines the
// mnemonic letter, for widgets that show no mnemonics themselves (labels).
QString MnemonicRichText(const std::string& caption);

// The common dialog's filter ("Help Files (*.hlp)|*.hlp|All (*.*)|*.*") as Qt name filters
// ("Help Files (*.hlp)", "All (*.*)").
QStringList NameFilters(const std::string& vbFilter);

}  // namespace rt::qt
