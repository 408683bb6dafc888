#ifndef WDLC_HUGEPAGES_H
#define WDLC_HUGEPAGES_H

#include <QtGlobal>

#include <cstdint>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

// A buffer of several megabytes that is written through from end to end (an
// image with its dictionaries) costs the kernel a page fault per 4 kB page,
// and on a virtual machine a fault costs more than writing the page: at 5 MB
// that is 1,200 faults and a tenth of a compile. Where the system can, such a
// buffer is backed by huge pages, a fault per 2 MB. Only a hint: where the
// system has no huge pages, or gives none, nothing changes.
class HugePages
{
public:
    // Below this a buffer spans no whole huge page worth asking for.
    static constexpr qint64 kWorthAsking = qint64(4) << 20;

    // Asks for huge pages under the size bytes at data, which must be
    // allocated and not yet written.
    static void advise(const void *data, qint64 size)
    {
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
        if (size < kWorthAsking)
            return;
        // From the page the buffer starts in: a buffer of this size is a
        // mapping of its own, so the huge page at its start is covered too.
        constexpr std::uintptr_t kPage = 4096;
        const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(data) & ~(kPage - 1);
        const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(data) + std::uintptr_t(size);
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
        Q_UNUSED(data);
        Q_UNUSED(size);
#endif
    }
};

#endif
