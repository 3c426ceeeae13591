#pragma once
#include <cstddef>

namespace movra {

// Address space for large arrays, backed by whole 2 MiB pages where the system offers them (on
// Linux, transparent huge pages for an advised region): touching it first costs one page fault per
// 2 MiB instead of one per 4 KiB. Pages are only taken as they are touched.

constexpr std::size_t LargePageBytes = std::size_t{2} << 20;

// A region of `bytes` (rounded up to whole large pages), aligned to a large page; nullptr when the
// system has none to give.
void* ReserveLargeRegion(std::size_t bytes);
// Gives back a region of ReserveLargeRegion with the same size.
void ReleaseLargeRegion(void* region, std::size_t bytes);

}  // namespace movra
