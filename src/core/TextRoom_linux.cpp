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
    const auto start = reinterpret_cast<std::uintptr_t>(text.data());
    const std::uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + std::uintptr_t(text.capacity()) * sizeof(QChar)) & ~(kHugePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}
