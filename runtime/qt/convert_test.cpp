#include "runtime/qt/convert.h"

#include <gtest/gtest.h>

namespace rt::qt {
namespace {

TEST(ConvertTest, TwipsAndPixels) {
  struct Case {
    double Twips;
    int Pixels;
  };
  for (Case c : {Case{0, 0}, {15, 1}, {7.5, 1}, {22.5, 2}, {4087.5, 273}, {-30, -2}, {10230, 682}})
    EXPECT_EQ(Pixels(c.Twips), c.Pixels) << c.Twips;
  EXPECT_EQ(Twips(273), 4095);
}

TEST(ConvertTest, VbColoursAndSystemColours) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(1, 2, 3));
  palette.setColor(QPalette::Base, QColor(4, 5, 6));
  palette.setColor(QPalette::ButtonText, QColor(7, 8, 9));
  struct Case {
    long Vb;
    QColor Expected;
  };
  for (Case c : {Case{0xC0C0C0, QColor(192, 192, 192)},
                 {0x0000FF, QColor(255, 0, 0)},
                 {0xFF0000, QColor(0, 0, 255)},
                 {0x8000000F, QColor(1, 2, 3)},
                 {0x80000005, QColor(4, 5, 6)},
                 {0x80000012, QColor(7, 8, 9)}})
    EXPECT_EQ(VbColor(c.Vb, palette), c.Expected) << std::hex << c.Vb;
  EXPECT_EQ(SystemColorRole(0x123456), std::nullopt);
  EXPECT_EQ(SystemColorRole(0x800000FF), std::nullopt);
}

TEST(ConvertTest, FiltersBecomeQtNameFilters) {
  struct Case {
    const char* Vb;
    QStringList Qt;
  };
  for (const Case& c : {
           Case{"Help Files (*.hlp)|*.hlp", {"Help Files (*.hlp)"}},
           {"All|*.*", {"All (*.*)"}},
           {"Basic (*.bas;*.cls)|*.bas;*.cls|All Files|*.*",
            {"Basic (*.bas *.cls)", "All Files (*.*)"}},
           {"(*.txt)|*.txt", {"*.txt"}},
           {"", {}},
       })
    EXPECT_EQ(NameFilters(c.Vb), c.Qt) << c.Vb;
}

// A multi-line box shows CR LF as one line break; the caret positions count it as two
// characters in the form and one in the widget, and a character outside the BMP as one and two.
TEST(ConvertTest, MultiLineTextAndPositions) {
  EXPECT_EQ(ToWidgetText("a\r\nb\rc"), QString("a\nb\nc"));
  EXPECT_EQ(FromWidgetText("a\nb"), "a\r\nb");
  // ab CR LF é 😀 LF x: the lone LF is one character in both.
  const std::string text = "ab\r\n\xC3\xA9\xF0\x9F\x98\x80\nx";
  struct Case {
    long Form;
    int Widget;
  };
  for (Case c : {Case{0, 0}, {2, 2}, {4, 3}, {5, 4}, {6, 6}, {7, 7}, {8, 8}}) {
    EXPECT_EQ(ToWidgetPosition(text, c.Form, true), c.Widget) << c.Form;
    EXPECT_EQ(FromWidgetPosition(text, c.Widget, true), c.Form) << c.Widget;
  }
  // A single-line box shows every character as it is.
  EXPECT_EQ(ToWidgetPosition("a\r\nb", 3, false), 3);
  EXPECT_EQ(FromWidgetPosition("a\r\nb", 3, false), 3);
  EXPECT_EQ(FromWidgetPosition("ab", 9, false), 2);
}

TEST(ConvertTest, MnemonicsUnderlineTheirLetter) {
  EXPECT_EQ(MnemonicRichText("&Add"), QString("<u>A</u>dd"));
  EXPECT_EQ(MnemonicRichText("Save && E&xit"), QString("Save &amp; E<u>x</u>it"));
  EXPECT_EQ(MnemonicRichText("a <b> & c"), QString("a &lt;b&gt; <u> </u>c"));
  EXPECT_EQ(MnemonicRichText("Two\r\nlines"), QString("Two<br>lines"));
}

TEST(ConvertTest, FontsFallBackToFacesOfTheirKind) {
  forms::Font courier{"Courier New", 9, true, false};
  QFont f = VbFont(courier);
  EXPECT_EQ(f.styleHint(), QFont::TypeWriter);
  EXPECT_TRUE(f.bold());
  EXPECT_DOUBLE_EQ(f.pointSizeF(), 9);
  EXPECT_TRUE(f.families().contains("Liberation Mono"));
  forms::Font arial{"Arial", 9.75, false, true};
  EXPECT_TRUE(VbFont(arial).families().contains("Liberation Sans"));
  EXPECT_TRUE(VbFont(arial).italic());
}

}  // namespace
}  // namespace rt::qt
