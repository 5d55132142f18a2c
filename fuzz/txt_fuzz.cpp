// libFuzzer target: every input is loaded as a text export (.txt); see fuzz_reader.h.
#include "fuzz_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kavlo::fuzz::LoadAndGoOver(data, size, ".txt");
}
