#include "tools/apidb/cli.h"

#include <string>

#include "ide/core/file_io.h"
#include "runtime/quote.h"
#include "runtime/vb/error.h"
#include "tools/apidb/api_db.h"
#include "tools/apidb/api_text.h"

namespace apidb {
namespace {

constexpr int kDone = 0;
constexpr int kCannotUse = 1;
constexpr int kUsage = 2;

constexpr char kUsageText[] =
    "usage: brindlewick-apidb import TEXT DB\n"
    "       brindlewick-apidb export DB\n";

// A bar of 40 cells redrawn in place on a terminal, only when it changes.
class Bar {
 public:
  Bar(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
  void Show(double done) {
    if (!enabled_) return;
    int percent = static_cast<int>(done * 100);
    if (percent == shown_) return;
    shown_ = percent;
    int cells = percent * 40 / 100;
    err_ << "\r[" << std::string(static_cast<std::size_t>(cells), '#')
         << std::string(static_cast<std::size_t>(40 - cells), ' ') << "] " << percent << "%"
         << std::flush;
  }
  void Finish() {
    if (enabled_ && shown_ >= 0) err_ << "\r" << std::string(48, ' ') << "\r" << std::flush;
  }

 private:
  std::ostream& err_;
  bool enabled_;
  int shown_ = -1;
};

// "1 line", "2 lines".
std::string Count(std::size_t n, const std::string& noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

int Import(const std::string& textPath, const std::string& dbPath, std::ostream& out,
           std::ostream& err, bool progressBar) {
  std::string bytes;
  try {
    bytes = ide::ReadWholeFile(textPath, ide::Accept::kStreamsToo);
  } catch (const vb::Error& e) {
    err << "brindlewick-apidb: cannot read " << textPath << ": " << e.Description << "\n";
    return kCannotUse;
  }
  ApiText api = ParseApiText(DecodeApiFile(bytes));
  for (const UnreadLine& u : api.Unread)
    err << textPath << ":" << u.Line << ": " << u.Reason << ": " << rt::Quote(u.Text) << "\n";
  if (api.StatementCount() == 0) {
    err << "brindlewick-apidb: " << textPath
        << " holds no Declare, Const or Type statement; nothing written\n";
    return kCannotUse;
  }
  Bar bar(err, progressBar);
  try {
    WriteApiDatabase(api, dbPath, [&bar](double done) { bar.Show(done); });
  } catch (const vb::Error& e) {
    bar.Finish();
    err << "brindlewick-apidb: cannot write " << dbPath << ": " << e.Description << "\n";
    return kCannotUse;
  }
  bar.Finish();
  out << dbPath << ": " << Count(api.Declares.size(), "declaration") << ", "
      << Count(api.Constants.size(), "constant") << ", " << Count(api.Types.size(), "type")
      << " with " << Count(api.MemberCount(), "member") << "\n";
  if (!api.Unread.empty())
    out << textPath << ": " << Count(api.Unread.size(), "line") << " could not be read\n";
  return kDone;
}

int Export(const std::string& dbPath, std::ostream& out, std::ostream& err) {
  ApiText api;
  try {
    api = ReadApiDatabase(dbPath);
  } catch (const vb::Error& e) {
    err << "brindlewick-apidb: cannot read " << dbPath << ": " << e.Description << "\n";
    return kCannotUse;
  }
  out << EncodeApiFile(WriteApiText(api)) << std::flush;
  return kDone;
}

}  // namespace

int RunApiDb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool progressBar) {
  if (args.size() == 3 && args[0] == "import")
    return Import(args[1], args[2], out, err, progressBar);
  if (args.size() == 2 && args[0] == "export") return Export(args[1], out, err);
  err << kUsageText;
  return kUsage;
}

}  // namespace apidb
