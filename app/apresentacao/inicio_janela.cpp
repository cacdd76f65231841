#include "app/apresentacao/inicio_janela.h"

#include <exception>
#include <system_error>

#include "app/apresentacao/textos_janela.h"
#include "app/historico/leitura_historico.h"
#include "comum/data_hora.h"

namespace tessora::app {

InicioJanela InicioDoHistorico(const std::filesystem::path& arquivo, bool sincronizacaoAutomatica) {
    InicioJanela inicio{{}, UltimoProcessamentoNenhum(), kUltimaAtualizacaoInicial};
    inicio.bandeja.DefinirSincronizacaoAutomatica(sincronizacaoAutomatica);
    std::error_code erro;
    if (!std::filesystem::exists(arquivo, erro) && !erro) {
        inicio.bandeja.Restaurar({});
        return inicio;
    }
    try {
        LeituraHistorico historico(arquivo);
        const SituacaoRegistrada situacao = LerSituacaoRegistrada(historico);
        inicio.bandeja.Restaurar(situacao);
        if (situacao.ultima) {
            inicio.ultimoProcessamento = UltimoProcessamento(*situacao.ultima);
            inicio.ultimaAtualizacao = DataHoraMinutos(situacao.ultima->inicio);
        }
    } catch (const std::exception& e) {
        inicio.bandeja.HistoricoIndisponivel();
        inicio.ultimoProcessamento = UltimoProcessamentoDesconhecido(e.what());
    }
    return inicio;
}

}  // namespace tessora::app
