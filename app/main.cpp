#include <iostream>
#include <string_view>
#include <vector>

#include "app/comando_estado.h"
#include "app/comando_historico.h"
#include "app/comando_sincronizar.h"
#include "app/pedidos_via_api.h"
#include "app/servico_sem_janela.h"
#include "app/ui/programa.h"
#include "plataforma/sistema.h"

namespace {
int Uso(const char* programa) {
    std::cerr << "uso: " << programa
              << " [--sincronizar | --sem-janela | --historico [--falhas] [--desde DATA] "
                 "[--formato csv|json] |"
                 " --estado]\n"
              << "  (sem argumento)  o programa residente na área de notificação\n"
              << "  --sincronizar    executa uma sincronização sem janela e escreve o log na saída "
                 "padrão\n"
              << "  --sem-janela     o serviço residente sem janela, com o log na saída padrão\n"
              << "  --historico      as execuções e os pedidos registrados, em tabela (ou "
                 "--formato csv|json);\n"
              << "                   --falhas só as falhas, --desde DATA (dd/mm/aaaa) a partir "
                 "desse dia\n"
              << "  --estado         a situação em JSON; saída 0 quando está tudo bem, 1 caso "
                 "contrário\n";
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    const auto executavel = tessora::plataforma::CaminhoExecutavel();
    if (argc == 1) return tessora::ui::ExecutarProgramaBandeja(argc, argv, executavel);
    if (argc == 2 && std::string_view(argv[1]) == "--sem-janela") {
        return tessora::app::ExecutarServicoSemJanela(executavel);
    }
    if (argc == 2 && std::string_view(argv[1]) == "--sincronizar") {
        tessora::app::PedidosViaApi pedidos;
        return tessora::app::ComandoSincronizar(executavel, pedidos, std::cout, std::cerr);
    }
    if (argc == 2 && std::string_view(argv[1]) == "--estado") {
        return tessora::app::ComandoEstado(executavel, std::cout);
    }
    if (argc >= 2 && std::string_view(argv[1]) == "--historico") {
        const std::vector<std::string_view> argumentos(argv + 2, argv + argc);
        if (const auto opcoes = tessora::app::LerOpcoesHistorico(argumentos)) {
            return tessora::app::ComandoHistorico(executavel, *opcoes, std::cout, std::cerr);
        }
    }
    return Uso(argv[0]);
}
