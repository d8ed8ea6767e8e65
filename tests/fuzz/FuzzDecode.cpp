// libFuzzer entry point; built once per format with VESKO_FUZZ_DECODE naming its decoder.
#include <cstddef>
#include <cstdint>

#include "platform/decoder/Formats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A small bound, so that most inputs also go through the shrinking paths.
    vesko::decoder::VESKO_FUZZ_DECODE({data, size}, {256, 256});
    return 0;
}
