#include <iostream>
#include <string_view>

#include "app/comando_sincronizar.h"
#include "app/pedidos_via_api.h"
#include "app/ui/programa.h"
#include "plataforma/sistema.h"

namespace {
int Uso(const char* programa) {
    std::cerr << "uso: " << programa << " [--sincronizar | --sem-janela]\n"
              << "  (sem argumento)  o programa residente na área de notificação\n"
              << "  --sincronizar    executa uma sincronização sem janela e escreve o log na saída padrão\n"
              << "  --sem-janela     o serviço residente sem janela, com o log na saída padrão\n";
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    const auto executavel = tessora::plataforma::CaminhoExecutavel();
    if (argc == 1) return tessora::ui::ExecutarProgramaBandeja(argc, argv, executavel);
    if (argc == 2 && std::string_view(argv[1]) == "--sem-janela") {
        return tessora::ui::ExecutarServicoSemJanela(argc, argv, executavel);
    }
    if (argc == 2 && std::string_view(argv[1]) == "--sincronizar") {
        tessora::app::PedidosViaApi pedidos;
        return tessora::app::ComandoSincronizar(executavel, pedidos, std::cout, std::cerr);
    }
    return Uso(argv[0]);
}
