#include "bench/alloc_count.hpp"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <new>

namespace {
std::atomic<bool> attivo{false};
std::atomic<std::uint64_t> progetto{0}, totale{0};

inline void Conta(std::atomic<std::uint64_t>& n)
{
    if (attivo.load(std::memory_order_relaxed)) n.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

void IniziaConteggio()
{
    progetto = 0;
    totale = 0;
    attivo = true;
}

Allocazioni FineConteggio()
{
    attivo = false;
    return {progetto.load(), totale.load()};
}

// Every allocation of the process, through glibc's own allocator underneath.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);

void* malloc(size_t n)
{
    Conta(totale);
    return __libc_malloc(n);
}
void* calloc(size_t k, size_t n)
{
    Conta(totale);
    return __libc_calloc(k, n);
}
void* realloc(void* p, size_t n)
{
    Conta(totale);
    return __libc_realloc(p, n);
}
void free(void* p) { __libc_free(p); }
void* memalign(size_t a, size_t n)
{
    Conta(totale);
    return __libc_memalign(a, n);
}
void* aligned_alloc(size_t a, size_t n) { return memalign(a, n); }
int posix_memalign(void** out, size_t a, size_t n)
{
    void* p = memalign(a, n);
    if (p == nullptr) return ENOMEM;
    *out = p;
    return 0;
}

// Direct calls from the objects linked into this binary (--wrap at link time).
void* __real_malloc(size_t);
void* __real_calloc(size_t, size_t);
void* __real_realloc(void*, size_t);
void* __real__Znwm(size_t);
void* __real__Znam(size_t);
void* __real__ZnwmRKSt9nothrow_t(size_t, const std::nothrow_t&);
void* __real__ZnamRKSt9nothrow_t(size_t, const std::nothrow_t&);

void* __wrap_malloc(size_t n)
{
    Conta(progetto);
    return __real_malloc(n);
}
void* __wrap_calloc(size_t k, size_t n)
{
    Conta(progetto);
    return __real_calloc(k, n);
}
void* __wrap_realloc(void* p, size_t n)
{
    Conta(progetto);
    return __real_realloc(p, n);
}
void* __wrap__Znwm(size_t n)
{
    Conta(progetto);
    return __real__Znwm(n);
}
void* __wrap__Znam(size_t n)
{
    Conta(progetto);
    return __real__Znam(n);
}
void* __wrap__ZnwmRKSt9nothrow_t(size_t n, const std::nothrow_t& t)
{
    Conta(progetto);
    return __real__ZnwmRKSt9nothrow_t(n, t);
}
void* __wrap__ZnamRKSt9nothrow_t(size_t n, const std::nothrow_t& t)
{
    Conta(progetto);
    return __real__ZnamRKSt9nothrow_t(n, t);
}
}
