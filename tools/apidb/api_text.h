// The API text format: the VB6-era API text files, one statement a line.
//
//   Public Declare Function GetTickCount Lib "kernel32" () As Long
//   Public Const WM_SETTEXT = &HC
//   Public Type RECT
//       Left As Long
//       ...
//   End Type
//
// Read: lines end with LF or CR LF. On each line a comment (from the first apostrophe outside a
// double-quoted string to the end) and then trailing blanks and tabs are removed; what is left
// empty (blank lines, comment lines, commented-out blocks) is skipped, and so is a Rem line. A
// line holds one of:
//   - a Declare statement: [Public|Private] Declare [PtrSafe] Function|Sub NAME Lib "..."
//     [Alias "..."], then nothing or an argument list in parentheses and whatever follows it;
//   - a constant: [Public|Private|Global] Const NAME [As TYPE] = VALUE, any value;
//   - the start of a type: [Public|Private] Type NAME; its member lines follow, each a name
//     (with array bounds in parentheses if any) and "As" and a type (fixed strings "String * 8"
//     included), indented by blanks or tabs or not at all, until a line End Type.
// Keywords are read without regard to case. A statement's name is the declared name, without a
// type character (%&!#@$); its full text is the line as written, comment and trailing blanks
// removed, leading blanks kept; a member line is kept the same way, indentation and all.
//
// Lines that are none of these, lines holding control characters other than tab, and types that
// never reach End Type (reported at their Type line, their members dropped; the next statement
// is read) are listed with their 1-based line numbers; nothing is dropped silently.
//
// Written: declarations, constants, then types ("Public Type NAME", members, "End Type"), each in
// its order, one line each, every line ended by CR LF. Reading what is written gives the same
// statements back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace apidb {

struct ApiStatement {
  std::string Name;
  std::string FullName;
  long Line = 0;
  bool operator==(const ApiStatement& o) const { return Name == o.Name && FullName == o.FullName; }
};

struct ApiType {
  std::string Name;
  std::vector<std::string> Members;
  long Line = 0;
  bool operator==(const ApiType& o) const { return Name == o.Name && Members == o.Members; }
};

struct UnreadLine {
  long Line = 0;
  std::string Reason;
  std::string Text;  // the line as written, without its line end
};

struct ApiText {
  std::vector<ApiStatement> Declares;
  std::vector<ApiStatement> Constants;
  std::vector<ApiType> Types;
  std::vector<UnreadLine> Unread;

  std::size_t MemberCount() const;
  std::size_t StatementCount() const { return Declares.size() + Constants.size() + Types.size(); }
};

// Reads API text (UTF-8).
ApiText ParseApiText(std::string_view text);

// The statements as API text (UTF-8); Unread plays no part.
std::string WriteApiText(const ApiText& api);

// The bytes of an API text file as UTF-8: Windows-1252, or UTF-8 after a UTF-8 byte order mark.
std::string DecodeApiFile(std::string_view bytes);
// UTF-8 text as the bytes of an API text file: Windows-1252 when it holds every character, else
// UTF-8 after a UTF-8 byte order mark, so that DecodeApiFile gives the text back whole.
std::string EncodeApiFile(std::string_view text);

}  // namespace apidb
