#include "tonegen/imageblock.h"

#include <sys/mman.h>

#include <cstdlib>

namespace {

constexpr std::size_t kMapFrom = std::size_t(1) << 20;

}  // namespace

bool ImageBlock::allocate(std::size_t size)
{
    release();
    if (size >= kMapFrom) {
        void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (mapped == MAP_FAILED)
            return false;
        data_ = static_cast<std::uint8_t*>(mapped);
        mapped_ = size;
    } else {
        data_ = static_cast<std::uint8_t*>(std::calloc(size ? size : 1, 1));
        if (!data_)
            return false;
    }
    size_ = size;
    return true;
}

void ImageBlock::release()
{
    if (mapped_)
        munmap(data_, mapped_);
    else
        std::free(data_);
    data_ = nullptr;
    size_ = 0;
    mapped_ = 0;
}
