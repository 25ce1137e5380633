#include "platform/guarded_mapping.h"

#include <mutex>

#include <csignal>
#include <sys/mman.h>
#include <unistd.h>

namespace orvanex::platform {
namespace {

// The guarded ranges, read by the signal handler without locks. A slot is claimed by setting
// `begin` last and released by clearing it first.
struct Slot {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> cut{false};
};
Slot g_slots[GuardedMapping::kSlots];
std::mutex g_claim;
struct sigaction g_previous {};
std::uintptr_t g_pageSize = 4096; // read before the handler is installed

void onBus(int sig, siginfo_t* info, void* context) {
    const auto addr = reinterpret_cast<std::uintptr_t>(info->si_addr);
    if (info->si_code > 0) { // raised by a fault, not sent by kill() or raise()
        for (Slot& slot : g_slots) {
            const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
            const std::uintptr_t end = slot.end.load(std::memory_order_acquire);
            if (begin == 0 || addr < begin || addr >= end)
                continue;
            // Zero pages from the faulting page to the end: the file is shorter from there on.
            const std::uintptr_t from = addr & ~(g_pageSize - 1);
            void* p = mmap(reinterpret_cast<void*>(from), end - from, PROT_READ,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
            if (p == MAP_FAILED)
                break;
            slot.cut.store(true, std::memory_order_release);
            return; // the faulting read runs again and finds zeros
        }
    }
    // Not ours: behave as if this handler were not there.
    if (g_previous.sa_flags & SA_SIGINFO) {
        g_previous.sa_sigaction(sig, info, context);
        return;
    }
    if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(sig);
        return;
    }
    signal(sig, SIG_DFL);
    raise(sig); // delivered as the handler returns, with the default action
}

void installHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_pageSize = std::uintptr_t(sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBus;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &g_previous);
    });
}

} // namespace

GuardedMapping::~GuardedMapping() {
    unmap();
}

bool GuardedMapping::map(int fd, qint64 size) {
    unmap();
    if (size <= 0 || fd < 0)
        return false;
    installHandler();
    std::lock_guard lock(g_claim);
    int free = -1;
    for (int i = 0; i < kSlots && free < 0; ++i)
        if (g_slots[i].begin.load(std::memory_order_relaxed) == 0)
            free = i;
    if (free < 0)
        return false;
    void* p = mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED)
        return false;
    Slot& slot = g_slots[free];
    slot.cut.store(false, std::memory_order_relaxed);
    slot.end.store(reinterpret_cast<std::uintptr_t>(p) + std::uintptr_t(size),
                   std::memory_order_release);
    slot.begin.store(reinterpret_cast<std::uintptr_t>(p), std::memory_order_release);
    data_ = static_cast<const char*>(p);
    size_ = size;
    slot_ = free;
    return true;
}

void GuardedMapping::unmap() {
    if (slot_ < 0)
        return;
    {
        std::lock_guard lock(g_claim);
        g_slots[slot_].begin.store(0, std::memory_order_release);
    }
    munmap(const_cast<char*>(data_), size_t(size_));
    data_ = nullptr;
    size_ = 0;
    slot_ = -1;
}

bool GuardedMapping::cut() const {
    return slot_ >= 0 && g_slots[slot_].cut.load(std::memory_order_acquire);
}

} // namespace orvanex::platform
