#include "tools/apidb/fuzz/api_text_fuzz_one.h"

#include <cstdio>
#include <cstdlib>
#include <set>

#include "tools/apidb/api_text.h"

namespace apidb {
namespace {

[[noreturn]] void Abort(const char* what) {
  std::fprintf(stderr, "api text fuzz: %s\n", what);
  std::abort();
}

bool SameStatements(const ApiText& a, const ApiText& b) {
  return a.Declares == b.Declares && a.Constants == b.Constants && a.Types == b.Types;
}

long LineCount(std::string_view text) {
  long lines = 0;
  for (char c : text)
    lines += c == '\n';
  return lines + (!text.empty() && text.back() != '\n');
}

}  // namespace

void FuzzApiTextOnce(std::string_view input) {
  std::string text = DecodeApiFile(input);
  ApiText api = ParseApiText(text);

  // Every statement and every report names a line of the file, no line twice among statements.
  long lines = LineCount(text);
  std::set<long> used;
  for (const auto* list : {&api.Declares, &api.Constants})
    for (const ApiStatement& s : *list)
      if (s.Line < 1 || s.Line > lines || !used.insert(s.Line).second) Abort("bad statement line");
  for (const ApiType& t : api.Types)
    if (t.Line < 1 || t.Line > lines || !used.insert(t.Line).second) Abort("bad type line");
  for (const UnreadLine& u : api.Unread)
    if (u.Line < 1 || u.Line > lines || u.Reason.empty()) Abort("bad report");
  for (const auto* list : {&api.Declares, &api.Constants})
    for (const ApiStatement& s : *list)
      if (s.Name.empty() || s.FullName.empty() || s.FullName.back() == ' ') Abort("bad statement");

  std::string written = WriteApiText(api);
  ApiText again = ParseApiText(written);
  if (!again.Unread.empty()) Abort("written text has unread lines");
  if (!SameStatements(api, again)) Abort("written text reads to other statements");

  ApiText file = ParseApiText(DecodeApiFile(EncodeApiFile(written)));
  if (!SameStatements(api, file)) Abort("written file reads to other statements");
}

}  // namespace apidb
