// Replays the committed fuzz inputs through the scenario parser's fuzz case.
#include "ide/script/fuzz/scenario_fuzz_one.h"
#include "runtime/testing/fuzz_replay.h"

int main(int argc, char** argv) {
  return rt::ReplayCorpus(argc, argv, "scenario_replay", script::FuzzScenarioOnce);
}
