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

// NAME counts a call in COUNT, then passes it on to REAL: one row a function.
#define CONTA(count, name, real, params, args) \
    void* real params;                         \
    void* name params                          \
    {                                          \
        Conta(count);                          \
        return real args;                      \
    }

extern "C" {
// Every allocation of the process, through glibc's own allocator underneath.
CONTA(totale, malloc, __libc_malloc, (size_t n), (n))
CONTA(totale, calloc, __libc_calloc, (size_t k, size_t n), (k, n))
CONTA(totale, realloc, __libc_realloc, (void* p, size_t n), (p, n))
CONTA(totale, memalign, __libc_memalign, (size_t a, size_t n), (a, n))
void __libc_free(void*);
void free(void* p) { __libc_free(p); }
void* aligned_alloc(size_t a, size_t n) { return memalign(a, n); }
int posix_memalign(void** out, size_t a, size_t n)
{
    void* p = memalign(a, n);
    if (p == nullptr) return ENOMEM;
    *out = p;
    return 0;
}

// Direct calls from the objects linked into this binary (--wrap at link time).
CONTA(progetto, __wrap_malloc, __real_malloc, (size_t n), (n))
CONTA(progetto, __wrap_calloc, __real_calloc, (size_t k, size_t n), (k, n))
CONTA(progetto, __wrap_realloc, __real_realloc, (void* p, size_t n), (p, n))
CONTA(progetto, __wrap__Znwm, __real__Znwm, (size_t n), (n))
CONTA(progetto, __wrap__Znam, __real__Znam, (size_t n), (n))
CONTA(progetto, __wrap__ZnwmRKSt9nothrow_t, __real__ZnwmRKSt9nothrow_t, (size_t n, const std::nothrow_t& t),
      (n, t))
CONTA(progetto, __wrap__ZnamRKSt9nothrow_t, __real__ZnamRKSt9nothrow_t, (size_t n, const std::nothrow_t& t),
      (n, t))
}
