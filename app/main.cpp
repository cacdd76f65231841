#include <iostream>
#include <string_view>
#include <vector>

#include "app/comandos/comando_estado.h"
#include "app/comandos/comando_historico.h"
#include "app/comandos/comando_simular.h"
#include "app/comandos/comando_sincronizar.h"
#include "app/execucao/pedidos_via_api.h"
#include "app/terminal/hospedeiro_terminal.h"
#include "plataforma/console.h"
#include "plataforma/sistema.h"

// The tray program's front end: the Win32 window on Windows, the Qt window elsewhere.
#ifdef _WIN32
#include "app/win32/programa.h"
namespace frente = tessora::win32;
#else
#include "app/qt/programa.h"
namespace frente = tessora::qt;
#endif

namespace {
int Uso(const char* programa) {
    std::cerr << "uso: " << programa << " [--sincronizar [--pedido ID] | --sem-janela"
              << " | --historico [--falhas] [--desde DATA] [--formato csv|json] | --estado"
              << " | --simular]\n"
              << "  (sem argumento)  o programa residente na área de notificação\n";
    std::cerr << "  --sincronizar    executa uma sincronização sem janela e escreve o log na saída "
                 "padrão\n"
              << "  --sincronizar --pedido ID\n"
              << "                   só esse pedido, sem consultar a lista de novos pedidos "
                 "(tentar de novo)\n"
              << "  --simular        o que uma sincronização faria com cada pedido (cliente, "
                 "produtos,\n"
              << "                   natureza, situação, totais), sem gravar nada no sistema nem "
                 "na API\n";
    std::cerr << "  --sem-janela     o serviço residente sem janela, com o log na saída "
                 "padrão\n";
    std::cerr << "  --historico      as execuções e os pedidos registrados, em tabela (ou "
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
    if (argc == 1) return frente::ExecutarProgramaBandeja(argc, argv, executavel);
    tessora::plataforma::PrepararConsole();
    if (argc == 2 && std::string_view(argv[1]) == "--sem-janela") {
        return tessora::app::ExecutarServicoSemJanela(executavel);
    }
    if (argc == 2 && std::string_view(argv[1]) == "--sincronizar") {
        tessora::app::PedidosViaApi pedidos;
        return tessora::app::ComandoSincronizar(executavel, pedidos, std::cout, std::cerr);
    }
    if (argc == 4 && std::string_view(argv[1]) == "--sincronizar" &&
        std::string_view(argv[2]) == "--pedido" && *argv[3] != '\0') {
        tessora::app::PedidosViaApi pedidos;
        return tessora::app::ComandoSincronizar(executavel, pedidos, std::cout, std::cerr, argv[3]);
    }
    if (argc == 2 && std::string_view(argv[1]) == "--simular") {
        return tessora::app::ComandoSimular(executavel, std::cout, std::cerr);
    }
    if (argc == 2 && std::string_view(argv[1]) == "--estado") {
        return tessora::app::ComandoEstado(executavel, std::cout);
    }
    if (argc >= 2 && std::string_view(argv[1]) == "--historico") {
        const std::vector<std::string_view> argumentos(argv + 2, argv + argc);
        const auto opcoes = tessora::app::LerOpcoesHistorico(argumentos);
        if (opcoes.Aceito()) {
            return tessora::app::ComandoHistorico(executavel, opcoes.Valor(), std::cout, std::cerr);
        }
        std::cerr << "--historico: " << opcoes.Motivo() << "\n";
    }
    return Uso(argv[0]);
}
