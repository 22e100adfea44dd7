// Replays the committed fuzz inputs through the API text reader's fuzz case.
#include "runtime/testing/fuzz_replay.h"
#include "tools/apidb/fuzz/api_text_fuzz_one.h"

int main(int argc, char** argv) {
  return rt::ReplayCorpus(argc, argv, "api_text_replay", apidb::FuzzApiTextOnce);
}
