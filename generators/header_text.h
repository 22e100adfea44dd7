// The text of the Insert Header Comment command: dialog values in, a framed comment block out.
//
// HeaderComment() builds the block that frmInsertHeader inserts: a rule, the Name line, the
// Abstract section, the Methods, Properties, Events, Parms and Return sections that hold more
// than blanks, and a one-row modification history. Every line starts with an apostrophe and
// ends with CR LF, the last one too. Multi-line fields are cut at each CR, dropping the character
// after it (the LF of a typed CR LF); the first line carries the field's label, every further
// line the 15-blank indent. Texts are copied untrimmed and unwrapped.
//
// Widths count characters, not bytes. The history row's name column is a blank and the name
// filled to 16, the date column the date filled to 12, so "Date" and "Abstract" of the heading
// stand above the row's date and remark. A name longer than 16 or a date longer than 12 (which
// the dialog's boxes refuse, but a stored user name may be) is written whole with one blank after
// it: the row then no longer lines up, but stays readable.
#pragma once

#include <string>
#include <string_view>

#include "runtime/vb/dates.h"

namespace bw {

// What the user set in frmInsertHeader. Multi-line fields hold line breaks as CR LF.
struct HeaderValues {
  std::string Name;         // txtName
  std::string Abstract;     // txtAbstract
  std::string Methods;      // txtMethods
  std::string Properties;   // txtProperties
  std::string Events;       // txtEvents
  std::string Parms;        // txtParms
  std::string Return;       // txtReturn
  std::string ModName;      // txtModName
  std::string ModDate;      // txtModDate
  std::string ModAbstract;  // txtModAbstract
};

// Initial remark of the history row.
inline constexpr std::string_view kInitialModAbstract = "Initial Creation";

// Today's date as the history row's initial date: "ddmmmyy", 24 January 1999 is "24Jan99".
std::string DefaultModDate(const vb::Date& today,
                           const vb::DateLocale& locale = vb::DateLocale::English());

// The history row's name column: 17 characters, a blank then the name filled with blanks; 17
// blanks when the name is only blanks.
std::string HistoryNameColumn(std::string_view mod_name);

// The history row's date column: the date filled with blanks to 12 characters; 12 blanks when
// the date is only blanks.
std::string HistoryDateColumn(std::string_view mod_date);

// The lines of one field, each "'" + label or indent + part + CR LF.
// REQUIRES: label is 15 characters wide, like the indent.
std::string FieldBlock(std::string_view label, std::string_view text);

// The whole block H.
std::string HeaderComment(const HeaderValues& values);

}  // namespace bw
