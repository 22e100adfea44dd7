// brindlewick-apidb: builds API databases from API text files and writes them back (cli.h).
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/apidb/cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return apidb::RunApiDb(args, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
}
