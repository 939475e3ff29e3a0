#include "core/TextRoom.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;

} // namespace

// Advice only for the whole huge pages within the room; where the kernel has
// none to give (or no transparent huge pages at all), the room stays as it is.
void ReserveTextRoom(QString &text, qsizetype units)
{
    text.reserve(units);
    char *const start = reinterpret_cast<char *>(text.data());
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t begin = (address + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (address + std::uintptr_t(text.capacity()) * sizeof(QChar)) & ~(kHugePage - 1);
    // Offsets from the room's own address keep the pointer a pointer.
    if (end > begin)
        madvise(start + (begin - address), end - begin, MADV_HUGEPAGE);
}
