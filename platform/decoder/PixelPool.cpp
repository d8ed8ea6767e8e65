#include "platform/decoder/PixelPool.h"

#include <cstring>
#include <new>
#include <utility>

namespace vesko::decoder {
namespace {

// Enough for the photo on screen to hand its block to the next decode while a turned photo's
// upright copy takes another, and for two full-size decodes of 12 megapixels (48 MiB each).
constexpr std::size_t kSharedBlocks = 2;
constexpr std::size_t kSharedBytes = 128u << 20;

// A kept block serves a smaller image only while the waste stays small.
bool fits(std::size_t capacity, std::size_t size) {
    return capacity >= size && capacity - size <= size / 4;
}

PixelBlock allocate(std::size_t size, PixelPool::Start start) {
    void* bytes = start == PixelPool::Start::Zeroed ? std::calloc(size, 1) : std::malloc(size);
    PixelBlock block;
    block.bytes.reset(static_cast<std::uint8_t*>(bytes));
    block.capacity = bytes ? size : 0;
    return block;
}

}  // namespace

PixelBuffer::PixelBuffer(PixelPool* pool, PixelBlock block, std::size_t size)
    : pool_(pool), block_(std::move(block)), size_(size) {}

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept
    : pool_(other.pool_), block_(std::move(other.block_)), size_(std::exchange(other.size_, 0)) {}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
    if (this != &other) {
        giveBack();
        pool_ = other.pool_;
        block_ = std::move(other.block_);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

PixelBuffer::~PixelBuffer() { giveBack(); }

void PixelBuffer::giveBack() {
    if (pool_ && block_.bytes) pool_->keep(std::move(block_));
    block_ = {};
    size_ = 0;
}

PixelPool::PixelPool(std::size_t maxBlocks, std::size_t maxBytes)
    : maxBlocks_(maxBlocks), maxBytes_(maxBytes) {}

PixelPool& PixelPool::shared() {
    static PixelPool* const pool = new PixelPool(kSharedBlocks, kSharedBytes);
    return *pool;
}

PixelBuffer PixelPool::take(std::size_t size, Start start) {
    if (size == 0) return {};
    PixelBlock block = takeKept(size);
    if (block.bytes) {
        if (start == Start::Zeroed) std::memset(block.bytes.get(), 0, size);
        return PixelBuffer(this, std::move(block), size);
    }
    block = allocate(size, start);
    if (!block.bytes) {
        clear();
        block = allocate(size, start);
        if (!block.bytes) return {};
    }
    return PixelBuffer(this, std::move(block), size);
}

PixelBlock PixelPool::takeKept(std::size_t size) {
    const std::lock_guard lock(mutex_);
    auto best = kept_.end();
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
        if (fits(it->capacity, size) && (best == kept_.end() || it->capacity < best->capacity)) {
            best = it;
        }
    }
    if (best == kept_.end()) return {};
    PixelBlock block = std::move(*best);
    keptBytes_ -= block.capacity;
    kept_.erase(best);
    return block;
}

void PixelPool::keep(PixelBlock block) noexcept {
    if (block.capacity > maxBytes_ || maxBlocks_ == 0) return;
    // The list node is made before the lock is taken, and blocks pushed out are freed after it
    // is let go: giving back munmaps a large block, which should not hold up other threads.
    Blocks incoming;
    try {
        incoming.push_back(std::move(block));
    } catch (const std::bad_alloc&) {
        return;
    }
    Blocks pushedOut;
    const std::lock_guard lock(mutex_);
    keptBytes_ += incoming.front().capacity;
    kept_.splice(kept_.end(), incoming);
    while (kept_.size() > maxBlocks_ || keptBytes_ > maxBytes_) {
        keptBytes_ -= kept_.front().capacity;
        pushedOut.splice(pushedOut.end(), kept_, kept_.begin());
    }
}

void PixelPool::clear() {
    Blocks released;
    const std::lock_guard lock(mutex_);
    released.swap(kept_);
    keptBytes_ = 0;
}

std::size_t PixelPool::keptBlocks() const {
    const std::lock_guard lock(mutex_);
    return kept_.size();
}

std::size_t PixelPool::keptBytes() const {
    const std::lock_guard lock(mutex_);
    return keptBytes_;
}

}  // namespace vesko::decoder
