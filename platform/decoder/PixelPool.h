#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <list>
#include <memory>
#include <mutex>

namespace vesko::decoder {

class PixelPool;

// A block of memory from malloc, freed with free.
struct PixelBlock {
    struct Free {
        void operator()(std::uint8_t* memory) const { std::free(memory); }
    };
    std::unique_ptr<std::uint8_t, Free> bytes;
    std::size_t capacity = 0;
};

// The bytes of one image's pixels. Goes back to the pool it came from when destroyed, so it
// must not outlive that pool. Empty when memory ran out.
class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;
    ~PixelBuffer();

    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    std::uint8_t* data() { return block_.bytes.get(); }
    const std::uint8_t* data() const { return block_.bytes.get(); }
    std::uint8_t& operator[](std::size_t i) { return data()[i]; }
    const std::uint8_t& operator[](std::size_t i) const { return data()[i]; }

private:
    friend class PixelPool;
    PixelBuffer(PixelPool* pool, PixelBlock block, std::size_t size);
    void giveBack();

    PixelPool* pool_ = nullptr;
    PixelBlock block_;
    std::size_t size_ = 0;
};

// Keeps the blocks of a few images that are no longer shown, for the next decodes. Blocks above
// glibc's largest mmap threshold (32 MiB; a full-size 12-megapixel photo takes 48) otherwise go
// back to the system when freed, and every decode pays again for faulting fresh pages in. A block
// is only taken back once its PixelBuffer is destroyed, so pixels still in use are never handed
// out. Thread-safe.
class PixelPool {
public:
    enum class Start { Undefined, Zeroed };

    PixelPool(std::size_t maxBlocks, std::size_t maxBytes);

    // The one pool the decoder uses; it is never destroyed, so images may outlive main().
    static PixelPool& shared();

    // `size` bytes from a kept block where one fits, fresh otherwise. Empty for no bytes, or
    // when memory runs out even after the kept blocks are freed.
    PixelBuffer take(std::size_t size, Start start);

    // Frees every kept block.
    void clear();

    std::size_t keptBlocks() const;
    std::size_t keptBytes() const;

private:
    using Blocks = std::list<PixelBlock>;

    friend class PixelBuffer;
    PixelBlock takeKept(std::size_t size);
    void keep(PixelBlock block) noexcept;

    const std::size_t maxBlocks_;
    const std::size_t maxBytes_;
    mutable std::mutex mutex_;
    Blocks kept_;  // oldest first
    std::size_t keptBytes_ = 0;
};

}  // namespace vesko::decoder
