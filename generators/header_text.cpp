#include "generators/header_text.h"

#include <utility>
#include <vector>

#include "generators/line_breaks.h"
#include "runtime/vb/strings.h"

namespace bw {
namespace {

constexpr std::string_view kRule =
    "=========================================================================================";
constexpr std::string_view kIndent = "               ";
constexpr std::string_view kNameLabel = " Name       :  ";
constexpr std::string_view kAbstractLabel = " Abstract   :  ";
constexpr std::string_view kMethodsLabel = " Methods    :  ";
constexpr std::string_view kPropertiesLabel = " Properties :  ";
constexpr std::string_view kEventsLabel = " Events     :  ";
constexpr std::string_view kParmsLabel = " Parms      :  ";
constexpr std::string_view kReturnLabel = " Return     :  ";
constexpr std::string_view kHistoryHeading = " Modification History";
constexpr std::string_view kHistoryColumns = " Name            Date        Abstract";

constexpr long kNameWidth = 16;
constexpr long kDateWidth = 12;

// The text filled with blanks to `width` characters, or followed by one blank when it is
// already wider.
std::string PadColumn(std::string_view text, long width) {
  long len = vb::Len(text);
  return std::string(text) + vb::Space(len <= width ? width - len : 1);
}

void AppendLine(std::string& h, std::string_view text) {
  h += '\'';
  h += text;
  h += vb::vbCrLf;
}

void AppendBlankLine(std::string& h) {
  AppendLine(h, "");
}

}  // namespace

std::string DefaultModDate(const vb::Date& today, const vb::DateLocale& locale) {
  return vb::FormatDate(today, "ddmmmyy", locale);
}

std::string HistoryNameColumn(std::string_view mod_name) {
  if (vb::RTrim(mod_name).empty()) return vb::Space(kNameWidth + 1);
  return " " + PadColumn(mod_name, kNameWidth);
}

std::string HistoryDateColumn(std::string_view mod_date) {
  if (vb::RTrim(mod_date).empty()) return vb::Space(kDateWidth);
  return PadColumn(mod_date, kDateWidth);
}

std::string FieldBlock(std::string_view label, std::string_view text) {
  std::string block;
  std::string_view lead = label;
  for (std::string_view part : SplitAtBreaks(text)) {
    AppendLine(block, std::string(lead) + std::string(part));
    lead = kIndent;
  }
  return block;
}

std::string HeaderComment(const HeaderValues& v) {
  std::string h;
  AppendLine(h, kRule);
  AppendBlankLine(h);
  AppendLine(h, std::string(kNameLabel) + v.Name);
  AppendBlankLine(h);

  h += FieldBlock(kAbstractLabel, v.Abstract);
  AppendBlankLine(h);

  const std::pair<std::string_view, const std::string*> optional_sections[] = {
      {kMethodsLabel, &v.Methods}, {kPropertiesLabel, &v.Properties}, {kEventsLabel, &v.Events},
      {kParmsLabel, &v.Parms},     {kReturnLabel, &v.Return},
  };
  for (const auto& [label, text] : optional_sections) {
    if (vb::RTrim(*text).empty()) continue;
    h += FieldBlock(label, *text);
    AppendBlankLine(h);
  }

  AppendBlankLine(h);
  AppendBlankLine(h);
  AppendLine(h, kHistoryHeading);
  AppendBlankLine(h);
  AppendLine(h, kHistoryColumns);
  AppendLine(h, HistoryNameColumn(v.ModName) + HistoryDateColumn(v.ModDate) + v.ModAbstract);
  AppendBlankLine(h);
  AppendLine(h, kRule);
  return h;
}

}  // namespace bw
