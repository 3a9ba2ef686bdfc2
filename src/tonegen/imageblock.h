#pragma once

#include <cstddef>
#include <cstdint>

// The memory of a sound image, zero-filled. Large blocks are mapped straight from the system
// (zero already), so building a long tone does not clear its memory a second time.
class ImageBlock
{
public:
    ImageBlock() = default;
    ImageBlock(const ImageBlock&) = delete;
    ImageBlock& operator=(const ImageBlock&) = delete;
    ~ImageBlock() { release(); }

    // False when the memory cannot be had; the block is then empty.
    bool allocate(std::size_t size);
    void release();

    std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;  // non-zero when the block is a mapping of that length
};
