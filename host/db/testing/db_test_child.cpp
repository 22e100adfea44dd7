// The helper process of the database tests: works on a database file from a second process.
//
//   stream <path> <first>     Subs: from its first row (the counter), forever: add "item N",
//                             then set the counter's Code to N; prints "added N" and
//                             "counted N" after each committed Update.
//   torn <path> <first> <k>   as stream, but freezes right after the k-th write to the database
//                             file (inside a commit, the file half written), printing "torn".
//   add <path> <prefix> <n>   Subs: adds n rows named prefix1..prefixn; prints "done".
//   set <path> <name> <code> Subs: sets Code of the first row named name; prints "done".
//   delete <path> <name>      Subs: deletes the first row named name; prints "done".
//   lock <path>               takes the file's exclusive lock; prints "locked"; lets go at EOF
//                             on standard input.
//   share <path>              holds a read transaction open; prints "shared"; ends it at EOF.
//   try-write <path>          as an unprivileged user when run as root: AddNew+Update, Edit+
//                             Update and Delete on Subs; prints "<number>|<description>" for
//                             each (0 when it worked).
//   try-read <path>           as an unprivileged user when run as root: opens the database and
//                             counts the rows of Subs; prints "0|<count>" or the error as above.
#include <grp.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstring>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>

#include "host/db/dao.h"
#include "host/db/sqlite_engine.h"

namespace {

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

void WaitForEndOfInput() {
  std::string ignored;
  while (std::getline(std::cin, ignored)) {
  }
}

// A VFS over the default one whose database files count their writes and freeze the process
// after the chosen one. Journal files are left alone.
sqlite3_vfs* g_real_vfs = nullptr;
sqlite3_vfs g_torn_vfs;
sqlite3_io_methods g_torn_methods;
int (*g_real_write)(sqlite3_file*, const void*, int, sqlite3_int64) = nullptr;
long g_writes_left = 0;

int TornWrite(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
  int rc = g_real_write(file, data, amount, offset);
  if (--g_writes_left == 0) {
    Say("torn");
    for (;;)
      ::pause();
  }
  return rc;
}

int TornOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* out) {
  int rc = g_real_vfs->xOpen(g_real_vfs, name, file, flags, out);
  if (rc == SQLITE_OK && (flags & SQLITE_OPEN_MAIN_DB) != 0 && file->pMethods != nullptr) {
    if (g_real_write == nullptr) {
      g_torn_methods = *file->pMethods;
      g_real_write = g_torn_methods.xWrite;
      g_torn_methods.xWrite = TornWrite;
    }
    file->pMethods = &g_torn_methods;
  }
  return rc;
}

void InstallTornVfs(long writes) {
  g_writes_left = writes;
  g_real_vfs = sqlite3_vfs_find(nullptr);
  std::memcpy(&g_torn_vfs, g_real_vfs, sizeof g_torn_vfs);
  g_torn_vfs.zName = "torn";
  g_torn_vfs.xOpen = TornOpen;
  sqlite3_vfs_register(&g_torn_vfs, 1);
}

vb::Object<dao::Recordset> OpenSubs(const std::string& path) {
  return dao::NewSqliteEngine()->OpenDatabase(path)->OpenRecordset("Subs");
}

int Stream(const std::string& path, long first) {
  vb::Object<dao::Recordset> rs = OpenSubs(path);
  rs->MoveFirst();
  for (long n = first;; ++n) {
    rs->AddNew();
    rs->Fields("Name").SetValue("item " + std::to_string(n));
    rs->Fields("Code").SetValue(std::string(200, 'x'));
    rs->Update();
    Say("added " + std::to_string(n));
    rs->Edit();
    rs->Fields("Code").SetValue(std::to_string(n));
    rs->Update();
    Say("counted " + std::to_string(n));
  }
}

int Add(const std::string& path, const std::string& prefix, long count) {
  vb::Object<dao::Recordset> rs = OpenSubs(path);
  for (long n = 1; n <= count; ++n) {
    rs->AddNew();
    rs->Fields("Name").SetValue(prefix + std::to_string(n));
    rs->Update();
  }
  Say("done");
  return 0;
}

int SetCode(const std::string& path, const std::string& name, const std::string& code) {
  vb::Object<dao::Recordset> rs = OpenSubs(path);
  rs->FindFirst("Name = '" + name + "'");
  rs->Edit();
  rs->Fields("Code").SetValue(code);
  rs->Update();
  Say("done");
  return 0;
}

int DeleteRow(const std::string& path, const std::string& name) {
  vb::Object<dao::Recordset> rs = OpenSubs(path);
  rs->FindFirst("Name = '" + name + "'");
  rs->Delete();
  Say("done");
  return 0;
}

int Hold(const std::string& path, const char* begin, const char* said) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return 2;
  if (sqlite3_exec(db, begin, nullptr, nullptr, nullptr) != SQLITE_OK) return 3;
  Say(said);
  WaitForEndOfInput();
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return 0;
}

void Report(const std::function<void()>& body) {
  try {
    body();
    Say("0|");
  } catch (const vb::Error& e) {
    Say(std::to_string(e.Number) + "|" + e.Description);
  }
}

// Root may write anything; the tests of read-only files and folders run as nobody.
bool DropPrivileges() {
  if (::geteuid() != 0) return true;
  return ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

int TryRead(const std::string& path) {
  if (!DropPrivileges()) return 4;
  long count = 0;
  try {
    count = OpenSubs(path)->RecordCount();
  } catch (const vb::Error& e) {
    Say(std::to_string(e.Number) + "|" + e.Description);
    return 0;
  }
  Say("0|" + std::to_string(count));
  return 0;
}

int TryWrite(const std::string& path) {
  if (!DropPrivileges()) return 4;
  vb::Object<dao::Recordset> rs = OpenSubs(path);
  Report([&] {
    rs->AddNew();
    rs->Fields("Name").SetValue("new");
    rs->Update();
  });
  Report([&] {
    rs->MoveFirst();
    rs->Edit();
    rs->Fields("Code").SetValue("changed");
    rs->Update();
  });
  Report([&] {
    rs->MoveFirst();
    rs->Delete();
  });
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 1;
  std::string mode = argv[1];
  std::string path = argv[2];
  try {
    if (mode == "stream") return Stream(path, argc > 3 ? std::atol(argv[3]) : 1);
    if (mode == "torn" && argc > 4) {
      InstallTornVfs(std::atol(argv[4]));
      return Stream(path, std::atol(argv[3]));
    }
    if (mode == "add" && argc > 4) return Add(path, argv[3], std::atol(argv[4]));
    if (mode == "set" && argc > 4) return SetCode(path, argv[3], argv[4]);
    if (mode == "delete" && argc > 3) return DeleteRow(path, argv[3]);
    if (mode == "lock") return Hold(path, "BEGIN EXCLUSIVE", "locked");
    if (mode == "share") {
      return Hold(path, "BEGIN; SELECT count(*) FROM sqlite_schema;", "shared");
    }
    if (mode == "try-write") return TryWrite(path);
    if (mode == "try-read") return TryRead(path);
  } catch (const vb::Error& e) {
    Say("error " + std::to_string(e.Number) + "|" + e.Description);
    return 5;
  }
  return 1;
}
