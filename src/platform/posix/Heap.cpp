// The process heap: calloc with a size header, so HeapSize answers exactly.
#include <fcntl.h>
#include <pthread.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/Platform.h"

namespace zal::platform {
namespace {

constexpr std::size_t kHeader = 16;

std::size_t &SizeOf(void *raw) { return *static_cast<std::size_t *>(raw); }

}  // namespace

void *HeapAlloc(std::size_t size) {
    if (size > SIZE_MAX - kHeader) {
        SetLastError(0xC0000017u);
        return nullptr;
    }
    void *raw = std::calloc(1, size + kHeader);
    if (raw == nullptr) {
        SetLastError(0xC0000017u);
        return nullptr;
    }
    SizeOf(raw) = size;
    return static_cast<char *>(raw) + kHeader;
}

void *HeapReAlloc(void *block, std::size_t size) {
    if (block == nullptr || size > SIZE_MAX - kHeader) {
        SetLastError(0xC0000017u);
        return nullptr;
    }
    void *raw = static_cast<char *>(block) - kHeader;
    std::size_t old = SizeOf(raw);
    void *grown = std::realloc(raw, size + kHeader);
    if (grown == nullptr) {
        SetLastError(0xC0000017u);
        return nullptr;
    }
    if (size > old) std::memset(static_cast<char *>(grown) + kHeader + old, 0, size - old);
    SizeOf(grown) = size;
    return static_cast<char *>(grown) + kHeader;
}

std::size_t HeapSize(const void *block) {
    if (block == nullptr) return static_cast<std::size_t>(-1);
    return *reinterpret_cast<const std::size_t *>(static_cast<const char *>(block) - kHeader);
}

bool HeapFree(void *block) {
    if (block == nullptr) return false;
    std::free(static_cast<char *>(block) - kHeader);
    return true;
}

namespace {

// The calling thread's stack: addresses between the current frame and the
// top of the stack are mapped, so they need no probe.
bool OnThisStack(const void *address, std::size_t size) {
    thread_local const char *top = nullptr;
    if (top == nullptr) {
        pthread_attr_t attr;
        if (pthread_getattr_np(pthread_self(), &attr) != 0) return false;
        void *base = nullptr;
        std::size_t stackSize = 0;
        bool ok = pthread_attr_getstack(&attr, &base, &stackSize) == 0;
        pthread_attr_destroy(&attr);
        if (!ok) return false;
        top = static_cast<const char *>(base) + stackSize;
    }
    char here;
    const char *p = static_cast<const char *>(address);
    return p >= &here && p + size <= top;
}

}  // namespace

bool CanReadMemory(const void *address, std::size_t size) {
    if (address == nullptr) return false;
    if (OnThisStack(address, size)) return true;
    const pid_t self = ::getpid();  // not kept: a forked child has its own
    // The kernel copies from our own address space and reports EFAULT for
    // an unmapped address instead of faulting.
    char probe[64];
    while (size > 0) {
        std::size_t n = size < sizeof probe ? size : sizeof probe;
        struct iovec local = {probe, n};
        struct iovec remote = {const_cast<void *>(address), n};
        ssize_t got = process_vm_readv(self, &local, 1, &remote, 1, 0);
        if (got < 0 && errno == ENOSYS) {
            // No process_vm_readv: a pipe reports EFAULT the same way.
            int fds[2];
            if (::pipe(fds) != 0) return true;
            ssize_t w = ::write(fds[1], address, n);
            ::close(fds[0]);
            ::close(fds[1]);
            if (w < 0) return false;
            got = w;
        }
        if (got != static_cast<ssize_t>(n)) return false;
        address = static_cast<const char *>(address) + n;
        size -= n;
    }
    return true;
}

}  // namespace zal::platform
