// vesko-raw-reader: LibRaw in a process of its own. LibRaw parses camera files that anyone may
// have crafted, and some of them crash it; here a crash costs one photo its picture, not the
// window. Started by RawReaderClient; what it writes is described in RawReaderWire.h.
#include <libraw/libraw.h>
#include <omp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/decoder/RawReaderWire.h"

namespace {

using vesko::decoder::wire::HalfSizeHeader;
using vesko::decoder::wire::RawFacts;

// LibRaw refuses raw data larger than this before allocating it: a 150-megapixel back needs
// 300 MB; a hostile header may claim gigabytes.
constexpr unsigned kMaxRawMemoryMb = 512;
// Every reader serves one of the decode-ahead workers, which are already one per spare core.
constexpr int kLibRawThreads = 1;

void ignoreDataError(void*, const char*, const int) {}

bool writeAll(const void* data, std::size_t length) {
    const auto* bytes = static_cast<const char*>(data);
    while (length > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes, length);
        if (written <= 0) return false;
        bytes += written;
        length -= std::size_t(written);
    }
    return true;
}

// Whether `length` bytes from `offset` lie within the file.
bool withinFile(INT64 offset, std::uint64_t length) {
    struct stat status {};
    if (::fstat(STDIN_FILENO, &status) != 0 || offset < 0 || length < 2) return false;
    const auto size = std::uint64_t(status.st_size);
    return length <= size && std::uint64_t(offset) <= size - length;
}

bool startsAsJpeg(INT64 offset) {
    unsigned char marker[2] = {};
    return ::pread(STDIN_FILENO, marker, 2, off_t(offset)) == 2 && marker[0] == 0xFF &&
           marker[1] == 0xD8;
}

bool answerFacts(LibRaw& raw) {
    RawFacts facts;
    facts.sensorWidth = raw.imgdata.sizes.width;
    facts.sensorHeight = raw.imgdata.sizes.height;
    facts.flip = raw.imgdata.sizes.flip;
    facts.adobeRgb = raw.imgdata.color.ExifColorSpace == LIBRAW_COLORSPACE_AdobeRGB;
    const libraw_thumbnail_t* copied = nullptr;
    const INT64 offset = raw.get_internal_data_pointer()->internal_data.toffset;
    const std::uint64_t length = raw.imgdata.thumbnail.tlength;
    if (raw.is_jpeg_thumb() && withinFile(offset, length)) {
        if (startsAsJpeg(offset)) {
            facts.previewOffset = std::uint64_t(offset);
            facts.previewLength = length;
        } else if (raw.unpack_thumb() == LIBRAW_SUCCESS &&
                   raw.imgdata.thumbnail.tformat == LIBRAW_THUMBNAIL_JPEG &&
                   raw.imgdata.thumbnail.thumb && raw.imgdata.thumbnail.tlength >= 2) {
            // Some cameras leave out the preview's start marker; LibRaw's copy puts it back.
            copied = &raw.imgdata.thumbnail;
            facts.copiedPreviewLength = copied->tlength;
        }
    }
    return writeAll(&facts, sizeof facts) && (!copied || writeAll(copied->thumb, copied->tlength));
}

struct ProcessedImageDeleter {
    void operator()(libraw_processed_image_t* image) const { LibRaw::dcraw_clear_mem(image); }
};

bool answerHalfSize(LibRaw& raw) {
    libraw_output_params_t& params = raw.imgdata.params;
    params.half_size = 1;
    params.use_camera_wb = 1;
    params.output_color = 1;
    params.output_bps = 8;
    params.user_flip = 0;
    omp_set_num_threads(kLibRawThreads);
    if (raw.unpack() != LIBRAW_SUCCESS || raw.dcraw_process() != LIBRAW_SUCCESS) return false;
    int error = 0;
    const std::unique_ptr<libraw_processed_image_t, ProcessedImageDeleter> image(
        raw.dcraw_make_mem_image(&error));
    if (!image || image->type != LIBRAW_IMAGE_BITMAP || image->colors != 3 || image->bits != 8) {
        return false;
    }
    const HalfSizeHeader header{image->width, image->height};
    return writeAll(&header, sizeof header) &&
           writeAll(image->data, std::size_t(image->width) * image->height * 3);
}

}  // namespace

int main(int argc, char** argv) {
    // The reader is of no use to anyone once the thread that asked has gone.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (argc != 2) return 2;
    const std::string_view question = argv[1];
    auto raw = std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE);
    raw->set_dataerror_handler(ignoreDataError, nullptr);
    raw->imgdata.params.max_raw_memory_mb = kMaxRawMemoryMb;
    // LibRaw opens files by name; this one is already open, and stays the file it was.
    if (raw->open_file("/proc/self/fd/0") != LIBRAW_SUCCESS) return 1;
    bool answered = false;
    if (question == vesko::decoder::wire::kAskFacts) answered = answerFacts(*raw);
    if (question == vesko::decoder::wire::kAskHalfSize) answered = answerHalfSize(*raw);
    // No clean-up: the process ends here, and a leak checker (in the sanitizer builds) would
    // count LibRaw's own allocations against the answer already given.
    ::_exit(answered ? 0 : 1);
}
