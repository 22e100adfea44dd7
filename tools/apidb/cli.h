// The command line of brindlewick-apidb, apart from the process so tests can run it.
//
//   brindlewick-apidb import TEXT DB   builds the API database DB from the API text file TEXT
//   brindlewick-apidb export DB        writes the API text of DB to standard output
//
// Import prints the counts of what it wrote to `out`, and each line it could not read, with its
// line number, to `err`; the database is written with everything that could be read. A file that
// cannot be read or holds no statement at all is not used: nothing is written and the status is
// 1. Export writes declarations, constants, then types, in Windows-1252 with CR LF. With
// `progressBar` (standard error is a terminal) import draws a progress bar on `err`.
//
// Exit status: 0 done; 1 a file could not be used (read, written or opened as an API database);
// 2 wrong arguments.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace apidb {

// `args` are the arguments after the program's name.
int RunApiDb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool progressBar);

}  // namespace apidb
