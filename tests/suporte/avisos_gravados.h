#pragma once

#include <string>
#include <vector>

#include "comum/avisos.h"

namespace tessora::testes {

// Keeps every notice and end request, for tests to compare.
class AvisosGravados : public Avisos {
  public:
    void MostrarMensagem(std::string_view texto, std::string_view titulo,
                         IconeAviso icone) override {
        mensagens.push_back(std::string(titulo) + "|" + std::string(texto) + "|" +
                            NomeIcone(icone));
    }
    void SolicitarEncerramento() override { ++encerramentos; }

    static const char* NomeIcone(IconeAviso icone) {
        switch (icone) {
            case IconeAviso::Erro:
                return "erro";
            case IconeAviso::Advertencia:
                return "advertencia";
            case IconeAviso::Nenhum:
                return "nenhum";
            case IconeAviso::Informacao:
                break;
        }
        return "informacao";
    }

    std::vector<std::string> mensagens;
    int encerramentos = 0;
};

}  // namespace tessora::testes
