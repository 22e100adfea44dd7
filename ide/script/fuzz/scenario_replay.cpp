// Replays the committed fuzz inputs through the scenario parser's fuzz case.
#include "runtime/testing/fuzz_replay.h"
#include "ide/script/fuzz/scenario_fuzz_one.h"

int main(int argc, char** argv) {
  return rt::ReplayCorpus(argc, argv, "scenario_replay", script::FuzzScenarioOnce);
}
