#include "plataforma/biblioteca_dinamica.h"

namespace tessora::plataforma {

FalhaCarga ClassificarRecusa(const std::filesystem::path& arquivo) {
    const int bits = BitsBinario(arquivo);
    return bits != 0 && bits != kBitsPrograma ? FalhaCarga::OutraArquitetura : FalhaCarga::Invalida;
}

}  // namespace tessora::plataforma
