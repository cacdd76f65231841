#include <iostream>
#include <string_view>

#include "app/comando_sincronizar.h"
#include "app/pedidos_via_api.h"
#include "plataforma/sistema.h"

namespace {
int Uso(const char* programa) {
    std::cerr << "uso: " << programa << " --sincronizar\n"
              << "  --sincronizar  executa uma sincronização sem janela e escreve o log na saída padrão\n";
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--sincronizar") {
        tessora::app::PedidosViaApi pedidos;
        return tessora::app::ComandoSincronizar(tessora::plataforma::CaminhoExecutavel(), pedidos, std::cout,
                                                std::cerr);
    }
    return Uso(argv[0]);
}
