// libFuzzer entry point for the shooting facts: exiv2's parse of a bare EXIF block (a TIFF
// header and its IFDs), as the decoder hands it over for HEIC.
#include <cstddef>
#include <cstdint>

#include "platform/decoder/ShootingFactsReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)vesko::decoder::shootingFactsOfExif({data, size});
    return 0;
}
