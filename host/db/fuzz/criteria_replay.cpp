// Replays the committed fuzz inputs through the criteria parser's fuzz case.
#include "host/db/fuzz/criteria_fuzz_one.h"
#include "runtime/testing/fuzz_replay.h"

int main(int argc, char** argv) {
  return rt::ReplayCorpus(argc, argv, "criteria_replay", dao::FuzzCriteriaOnce);
}
