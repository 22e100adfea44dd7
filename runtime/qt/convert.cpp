#include "runtime/qt/convert.h"

#include <QImage>
#include <cmath>

#include "runtime/vb/strings.h"

namespace rt::qt {

int Pixels(double twips) {
  return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

double Twips(int pixels) {
  return pixels * kTwipsPerPixel;
}

std::optional<QPalette::ColorRole> SystemColorRole(long color) {
  if ((static_cast<unsigned long>(color) & 0xFF000000UL) != 0x80000000UL) return std::nullopt;
  // The Windows system colour indexes, as palette roles.
  switch (color & 0xFF) {
    case 0x04:  // menu
    case 0x0F:  // button face
      return QPalette::Button;
    case 0x01:  // desktop
    case 0x0C:  // application workspace
      return QPalette::Window;
    case 0x05:  // window background
      return QPalette::Base;
    case 0x07:  // menu text
    case 0x08:  // window text
      return QPalette::Text;
    case 0x12:  // button text
      return QPalette::ButtonText;
    case 0x02:  // active title bar
    case 0x0D:  // highlight
      return QPalette::Highlight;
    case 0x09:  // title bar text
    case 0x0E:  // highlighted text
      return QPalette::HighlightedText;
    case 0x10:  // button shadow
    case 0x11:  // grey text
      return QPalette::Dark;
    case 0x14:  // button highlight
      return QPalette::Light;
    case 0x15:  // 3D dark shadow
      return QPalette::Shadow;
    case 0x16:  // 3D light
      return QPalette::Midlight;
    case 0x17:  // tool tip text
      return QPalette::ToolTipText;
    case 0x18:  // tool tip background
      return QPalette::ToolTipBase;
    case 0x00:  // scroll bars
    case 0x03:  // inactive title bar
    case 0x06:  // window frame
    case 0x0A:  // active border
    case 0x0B:  // inactive border
    case 0x13:  // inactive title text
      return QPalette::Mid;
    default:
      return std::nullopt;
  }
}

QColor VbColor(long color, const QPalette& palette) {
  if (auto role = SystemColorRole(color)) {
    if ((color & 0xFF) == 0x11) return palette.color(QPalette::Disabled, QPalette::Text);
    return palette.color(QPalette::Active, *role);
  }
  auto c = static_cast<unsigned long>(color);
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

QFont VbFont(const forms::Font& font) {
  QFont f(ToQ(font.Name));
  std::string name = vb::LCase(font.Name);
  if (name.find("courier") != std::string::npos || name.find("fixedsys") != std::string::npos ||
      name.find("terminal") != std::string::npos || name.find("mono") != std::string::npos) {
    f.setStyleHint(QFont::TypeWriter);
    f.setFamilies({ToQ(font.Name), "Liberation Mono", "DejaVu Sans Mono", "Monospace"});
  } else if (name.find("times") != std::string::npos || name.find("serif") == 0) {
    f.setStyleHint(QFont::Serif);
  } else {
    f.setStyleHint(QFont::SansSerif);
    // Arial and the old sans-serif faces of the dialogs draw alike in a metric-compatible face.
    f.setFamilies({ToQ(font.Name), "Liberation Sans", "Arial", "DejaVu Sans", "Sans Serif"});
  }
  f.setPointSizeF(font.Size > 0 ? font.Size : 8.25);
  f.setBold(font.Bold);
  f.setItalic(font.Italic);
  return f;
}

QPixmap PictureToPixmap(const forms::Picture& picture, std::optional<long> maskColor) {
  if (picture.Empty()) return {};
  QImage image;
  QByteArray format = QByteArray::fromStdString(vb::UCase(picture.Format));
  const auto* data = reinterpret_cast<const uchar*>(picture.Data.data());
  auto size = static_cast<int>(picture.Data.size());
  if (!image.loadFromData(data, size, format.isEmpty() ? nullptr : format.constData()) &&
      !image.loadFromData(data, size))
    return {};
  if (maskColor) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    QRgb mask = VbColor(*maskColor, QPalette()).rgb() & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if ((line[x] & 0xFFFFFF) == mask) line[x] = 0;
    }
  }
  return QPixmap::fromImage(image);
}

QString ToWidgetText(const std::string& formText) {
  std::string s;
  s.reserve(formText.size());
  for (std::size_t i = 0; i < formText.size(); ++i) {
    if (formText[i] == '\r') {
      s += '\n';
      if (i + 1 < formText.size() && formText[i + 1] == '\n') ++i;
    } else {
      s += formText[i];
    }
  }
  return ToQ(s);
}

std::string FromWidgetText(const QString& widgetText) {
  std::string s = FromQ(widgetText), r;
  r.reserve(s.size());
  for (char c : s) {
    if (c == '\n') r += '\r';
    r += c;
  }
  return r;
}

namespace {

// Walks the form's text, a character (or a CR LF shown as one line break) at a time, until
// `done` says the position is reached; returns the characters and units passed.
template <class Done>
std::pair<long, int> Walk(const std::string& formText, bool multiLine, Done done) {
  long chars = 0;
  int units = 0;
  std::size_t i = 0;
  while (i < formText.size() && !done(chars, units)) {
    if (multiLine && formText[i] == '\r' && i + 1 < formText.size() && formText[i + 1] == '\n') {
      i += 2, chars += 2, units += 1;
      continue;
    }
    std::size_t n = 1;
    long code = vb::CodePointAt(formText, i, &n);
    i += n, chars += 1, units += code > 0xFFFF ? 2 : 1;
  }
  return {chars, units};
}

}  // namespace

int ToWidgetPosition(const std::string& formText, long position, bool multiLine) {
  return Walk(formText, multiLine, [&](long chars, int) { return chars >= position; }).second;
}

long FromWidgetPosition(const std::string& formText, int position, bool multiLine) {
  return Walk(formText, multiLine, [&](long, int units) { return units >= position; }).first;
}

QString MnemonicRichText(const std::string& caption) {
  QString text = ToQ(caption), html;
  bool underlined = false;
  for (int i = 0; i < text.size(); ++i) {
    QChar c = text[i];
    if (c == '&' && i + 1 < text.size()) {
      QChar next = text[++i];
      if (next == '&' || underlined) {
        html += next == '&' ? QString("&amp;") : QString(next).toHtmlEscaped();
      } else {
        html += "<u>" + QString(next).toHtmlEscaped() + "</u>";
        underlined = true;
      }
      continue;
    }
    if (c == '\r') continue;
    html += c == '\n' ? QString("<br>") : QString(c).toHtmlEscaped();
  }
  return html;
}

QStringList NameFilters(const std::string& vbFilter) {
  QStringList parts = ToQ(vbFilter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed().replace(';', ' ');
    // Qt reads the patterns from the parentheses at the end: a description that shows them
    // already has them replaced by the pattern part's.
    if (description.endsWith(')')) {
      qsizetype open = description.lastIndexOf('(');
      if (open >= 0) description = description.left(open).trimmed();
    }
    filters << (description.isEmpty() ? patterns : description + " (" + patterns + ")");
  }
  if (parts.size() % 2 == 1 && !parts.back().trimmed().isEmpty()) filters << parts.back().trimmed();
  return filters;
}

}  // namespace rt::qt
