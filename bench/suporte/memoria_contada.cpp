#include "memoria_contada.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Atomic because the run allocates on its request threads as well; relaxed, since only the
// totals matter and they are read after those threads have been joined.
std::atomic<bool> contando{false};
std::atomic<int64_t> bytesEmUso{0};
std::atomic<int64_t> picoDeBytes{0};

void* Alocar(size_t tamanho, bool lancar) {
    void* p = std::malloc(tamanho == 0 ? 1 : tamanho);
    if (!p) {
        if (lancar) throw std::bad_alloc();
        return nullptr;
    }
    if (contando.load(std::memory_order_relaxed)) {
        const auto bytes = static_cast<int64_t>(malloc_usable_size(p));
        const int64_t emUso = bytesEmUso.fetch_add(bytes, std::memory_order_relaxed) + bytes;
        int64_t pico = picoDeBytes.load(std::memory_order_relaxed);
        while (emUso > pico &&
               !picoDeBytes.compare_exchange_weak(pico, emUso, std::memory_order_relaxed)) {
        }
    }
    return p;
}

void Liberar(void* p) {
    if (!p) return;
    if (contando.load(std::memory_order_relaxed))
        bytesEmUso.fetch_sub(static_cast<int64_t>(malloc_usable_size(p)),
                             std::memory_order_relaxed);
    std::free(p);
}

}  // namespace

namespace tessora::bench {

void IniciarContagemMemoria() {
    bytesEmUso = 0;
    picoDeBytes = 0;
    contando = true;
}

int64_t EncerrarContagemMemoria() {
    contando = false;
    return picoDeBytes;
}

}  // namespace tessora::bench

void* operator new(size_t n) { return Alocar(n, true); }
void* operator new[](size_t n) { return Alocar(n, true); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Alocar(n, false); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Alocar(n, false); }
void operator delete(void* p) noexcept { Liberar(p); }
void operator delete[](void* p) noexcept { Liberar(p); }
void operator delete(void* p, size_t) noexcept { Liberar(p); }
void operator delete[](void* p, size_t) noexcept { Liberar(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Liberar(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Liberar(p); }
