#include "memoria_contada.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

bool contando = false;
int64_t bytesEmUso = 0;
int64_t picoDeBytes = 0;

void* Alocar(size_t tamanho, bool lancar) {
    void* p = std::malloc(tamanho == 0 ? 1 : tamanho);
    if (!p) {
        if (lancar) throw std::bad_alloc();
        return nullptr;
    }
    if (contando) {
        bytesEmUso += static_cast<int64_t>(malloc_usable_size(p));
        picoDeBytes = std::max(picoDeBytes, bytesEmUso);
    }
    return p;
}

void Liberar(void* p) {
    if (!p) return;
    if (contando) bytesEmUso -= static_cast<int64_t>(malloc_usable_size(p));
    std::free(p);
}

}  // namespace

namespace tessora::bench {

void IniciarContagemMemoria() {
    bytesEmUso = picoDeBytes = 0;
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
