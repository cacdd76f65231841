#pragma once

#include <string>
#include <vector>

#include "comum/avisos.h"

namespace tessora::testes {

// Keeps every notice and end request, for tests to compare.
class AvisosGravados : public Avisos {
public:
    void MostrarMensagem(std::string_view texto, std::string_view titulo, IconeAviso icone) override {
        mensagens.push_back(std::string(titulo) + "|" + std::string(texto) +
                            (icone == IconeAviso::Erro ? "|erro" : "|informacao"));
    }
    void SolicitarEncerramento() override { ++encerramentos; }

    std::vector<std::string> mensagens;
    int encerramentos = 0;
};

}  // namespace tessora::testes
