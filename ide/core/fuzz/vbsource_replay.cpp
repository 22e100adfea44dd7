// Replays the committed fuzz inputs through the VB6 file reader's fuzz case.
#include "ide/core/fuzz/vbsource_fuzz_one.h"
#include "runtime/testing/fuzz_replay.h"

int main(int argc, char** argv) {
  return rt::ReplayCorpus(argc, argv, "vbsource_replay", ide::FuzzSourceOnce);
}
