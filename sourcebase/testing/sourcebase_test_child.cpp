// The helper process of the library's durability test: saves and adds items through the
// library's own record operations, reporting each one once it has returned.
//
//   saves <path> <first>   opens the library as the browser does, then from <first> on, for
//                          ever: adds the Subs item "item N" (prints "added N" once AddRecord
//                          has returned), then saves N as the Code of the item "Counter"
//                          (prints "saved N" once SaveRecord has returned).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/headless/headless_platform.h"
#include "services/shared_state.h"
#include "sourcebase/library.h"

namespace {

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[1]) != "saves") return 1;
  rt::HeadlessPlatform platform;
  rt::InstallPlatform(&platform);
  platform.SetToday(vb::Date{2026, 3, 7});
  bw::CurrentUserName = "child";
  try {
    bw::OpenLibrary(argv[2]);
    const bw::LibraryCategory& subs = *bw::CategoryByText("Subs");
    for (long n = std::atol(argv[3]);; ++n) {
      bw::AddRecord(subs, "item " + std::to_string(n), std::string(300, 'x'), "");
      Say("added " + std::to_string(n));
      bw::SaveRecord("Counter", std::to_string(n), "Subs");
      Say("saved " + std::to_string(n));
    }
  } catch (const vb::Error& e) {
    Say("error " + std::to_string(e.Number) + "|" + e.Description);
    return 5;
  }
}
