#include "basic/LargeRegions.h"

#include <cstdint>

#include <sys/mman.h>

namespace movra {

namespace {
std::size_t RoundUp(std::size_t bytes) { return (bytes + LargePageBytes - 1) / LargePageBytes * LargePageBytes; }
}  // namespace

void* ReserveLargeRegion(std::size_t bytes) {
    const std::size_t size = RoundUp(bytes);
    // Ask for one large page more and trim, so that the region starts on a large page.
    const std::size_t asked = size + LargePageBytes;
    void* mapped = ::mmap(nullptr, asked, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + LargePageBytes - 1) / LargePageBytes * LargePageBytes;
    if (aligned > start) ::munmap(mapped, aligned - start);
    const std::uintptr_t tail = start + asked - (aligned + size);
    if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + size), tail);
#ifdef MADV_HUGEPAGE
    // Advice only: where the system keeps no large pages the region works with small ones.
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
#endif
    return reinterpret_cast<void*>(aligned);
}

void ReleaseLargeRegion(void* region, std::size_t bytes) {
    if (region) ::munmap(region, RoundUp(bytes));
}

}  // namespace movra
