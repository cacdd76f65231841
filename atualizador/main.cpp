// The updater: started by the program from the master folder when the published build
// differs; replaces the program by its master copy and starts it again.
#include <iostream>
#include <string>
#include <vector>

#include "atualizador/pedido_atualizacao.h"
#include "atualizador/substituicao_programa.h"
#include "plataforma/processos.h"

int main(int argc, char** argv) {
    using namespace tessora;
    const auto pedido = atualizador::LerPedido(std::vector<std::string>(argv + 1, argv + argc));
    if (!pedido) {
        std::cerr << "uso: " << argv[0]
                  << " @F1 @M<pasta mestre> @E<pasta do programa> @A<executável>\n"
                  << "  (brancos das pastas escritos como §)\n";
        return 2;
    }
    try {
        atualizador::SubstituirPrograma(*pedido, std::chrono::minutes(1));
    } catch (const std::exception& e) {
        // Starting the old build again would only find the difference and come back here.
        std::cerr << e.what() << '\n';
        return 1;
    }
    const auto programa = pedido->pastaPrograma / pedido->nomeExecutavel;
    if (!plataforma::IniciarPrograma(programa, "")) {
        std::cerr << "Não foi possível iniciar " << programa.string() << ".\n";
        return 1;
    }
    return 0;
}
