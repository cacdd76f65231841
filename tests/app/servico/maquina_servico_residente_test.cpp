// The resident service's rules on a simulated clock: each step is an event, followed by the
// actions it brings about.
#include "app/servico/maquina_servico_residente.h"

#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace tessora::app {
namespace {

using namespace std::chrono_literals;

struct Passo {
    // "carregar S 5", "ativo S", "minutos 7", "+300s" (the clock moves on; the timer ticks
    // when due), "botao", "fim", "fim erro: <text>", "vigia", "liberada", "desconectar",
    // "fechar", "pedido", "atualizar", "fechou", "recusou: <text>", "aviso", "aviso fechado";
    // "> <step>" runs that step inside the next error box, while it is open.
    std::string evento;
    std::string acoes;  // "; " between them
};

struct Caso {
    const char* descricao;
    std::vector<Passo> passos;
};

class Cenario : public AcoesServicoResidente {
  public:
    std::string Executar(const std::string& evento) {
        gravadas_.clear();
        Tratar(evento);
        std::string acoes;
        for (const auto& acao : gravadas_) acoes += (acoes.empty() ? "" : "; ") + acao;
        return acoes;
    }

  private:
    void Tratar(const std::string& evento) {
        const auto depois = [&](std::string_view prefixo) { return evento.substr(prefixo.size()); };
        try {
            if (evento.starts_with("> ")) {
                dentroDoErro_.push_back(depois("> "));
            } else if (evento.starts_with("carregar ")) {
                maquina_.CarregarConfiguracoes({evento[9] == 'S', evento.substr(11)}, agora_);
            } else if (evento.starts_with("ativo ")) {
                maquina_.DefinirProcessoAtivo(evento == "ativo S");
            } else if (evento.starts_with("minutos ")) {
                maquina_.AjustarIntervaloSincronizacao(depois("minutos "), agora_);
            } else if (evento.starts_with("+")) {
                Avancar(std::chrono::seconds(std::stoi(depois("+"))));
            } else if (evento == "botao") {
                maquina_.SincronizarAgora();
            } else if (evento == "fim") {
                maquina_.ExecucaoTerminada(std::nullopt, agora_);
            } else if (evento.starts_with("fim erro: ")) {
                maquina_.ExecucaoTerminada(depois("fim erro: "), agora_);
            } else if (evento == "vigia") {
                maquina_.TiqueVigia();
            } else if (evento == "liberada" || evento == "desconectar") {
                maquina_.ResultadoVigia(evento == "liberada");
            } else if (evento == "fechar") {
                maquina_.SolicitarFim(MotivoFim::Fechamento);
            } else if (evento == "pedido") {
                maquina_.SolicitarFim(MotivoFim::Aviso);
            } else if (evento == "atualizar") {
                maquina_.SolicitarFim(MotivoFim::Atualizacao);
            } else if (evento == "fechou") {
                maquina_.FechamentoConcluido();
            } else if (evento.starts_with("recusou: ")) {
                maquina_.FechamentoRecusado(depois("recusou: "));
            } else if (evento == "aviso") {
                maquina_.AvisoAberto();
            } else if (evento == "aviso fechado") {
                maquina_.AvisoFechado();
            } else {
                ADD_FAILURE() << "unknown step: " << evento;
            }
        } catch (const std::exception& e) {
            gravadas_.push_back(std::string("recusado: ") + e.what());
        }
    }

    // Moves the clock on, ticking the timer at each moment it falls due on the way.
    void Avancar(std::chrono::seconds duracao) {
        const Instante destino = agora_ + duracao;
        while (const auto tique = maquina_.ProximoTique()) {
            if (*tique > destino) break;
            agora_ = *tique;
            maquina_.TiqueSincronizacao(agora_);
        }
        agora_ = destino;
    }

    static std::string Segundos(std::chrono::steady_clock::duration duracao) {
        return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(duracao).count()) +
               "s";
    }

    void IniciarExecucao(OrigemExecucao origem) override {
        gravadas_.push_back(origem == OrigemExecucao::Temporizador ? "executar pelo temporizador"
                                                                   : "executar pelo botao");
    }
    void ArmarTemporizador(std::chrono::milliseconds intervalo) override {
        gravadas_.push_back("armar " + Segundos(intervalo));
    }
    void PararTemporizador() override { gravadas_.push_back("parar"); }
    void AnunciarProximaExecucao(std::optional<Instante> quando) override {
        gravadas_.push_back(quando ? "proxima t+" + Segundos(*quando - inicio_) : "proxima -");
    }
    void VerificarConexao() override { gravadas_.push_back("verificar"); }
    void ExibirErro(const std::string& mensagem) override {
        gravadas_.push_back("erro: " + mensagem);
        if (dentroDoErro_.empty()) return;
        gravadas_.back() += " (aberto)";
        for (const auto& evento : std::exchange(dentroDoErro_, {})) Tratar(evento);
        gravadas_.push_back("erro fechado");
    }
    void FecharServico(const ConfiguracoesServico& atuais) override {
        gravadas_.push_back(std::string("fechar ") + (atuais.processoAtivo ? "S " : "N ") +
                            atuais.tempoEsperaAtualizacao);
    }
    void LiberarLock() override { gravadas_.push_back("liberar lock"); }
    void InterromperExecucao() override { gravadas_.push_back("interromper execução"); }
    void EncerrarPrograma(int codigoSaida) override {
        gravadas_.push_back("encerrar " + std::to_string(codigoSaida));
    }

    const Instante inicio_ = Instante{} + 1h;
    Instante agora_ = inicio_;
    std::vector<std::string> gravadas_;
    std::vector<std::string> dentroDoErro_;
    MaquinaServicoResidente maquina_{*this};
};

void Verificar(const Caso& caso) {
    SCOPED_TRACE(caso.descricao);
    Cenario cenario;
    for (size_t i = 0; i < caso.passos.size(); ++i) {
        const Passo& passo = caso.passos[i];
        EXPECT_EQ(cenario.Executar(passo.evento), passo.acoes)
            << "step " << i + 1 << ": " << passo.evento;
    }
}

TEST(MaquinaServicoResidenteTest, TemporizadorEBotao) {
    const Caso casos[] = {
        {"the minutes are the pause between the end of one run and the start of the next",
         {
             {"carregar S 5", "armar 300s; proxima t+300s"},
             {"+299", ""},
             {"+1", "parar; proxima -; executar pelo temporizador"},
             {"+600", ""},
             {"fim", "armar 300s; proxima t+1200s"},
             {"+300", "parar; proxima -; executar pelo temporizador"},
         }},
        {"with automatic runs off a tick only restarts the countdown; the button still runs",
         {
             {"carregar N 5", "armar 300s; proxima -"},
             {"+300", "armar 300s; proxima -"},
             {"ativo S", "proxima t+600s"},
             {"ativo N", "proxima -"},
             {"botao", "executar pelo botao"},
             {"fim", ""},
         }},
        {"a tick during a run that the button started does nothing, and the countdown goes on",
         {
             {"carregar S 5", "armar 300s; proxima t+300s"},
             {"+290", ""},
             {"botao", "executar pelo botao"},
             {"+10", ""},
             {"botao", ""},
             {"fim", ""},
             {"+300", "parar; proxima -; executar pelo temporizador"},
             {"botao", ""},
             {"fim erro: tabela inexistente",
              "armar 300s; proxima t+900s; erro: tabela inexistente"},
             {"botao", "executar pelo botao"},
         }},
        {"each change of the minutes re-arms the timer; a text it cannot take stops it",
         {
             {"carregar S 5", "armar 300s; proxima t+300s"},
             {"+100", ""},
             {"minutos 7", "armar 420s; proxima t+520s"},
             {"minutos ", "parar; proxima -; recusado: '' is not a valid integer value"},
             {"+1000", ""},
             {"minutos 0", "parar; proxima -"},
             {"+100000", ""},
             {"minutos 35792",
              "parar; proxima -; recusado: O intervalo de sincronização deve ser de 0 a 35791 "
              "minutos."},
             {"minutos 1", "armar 60s; proxima t+101160s"},
         }},
        {"a text the timer cannot take during a timer-started run: its end re-arms the interval "
         "it had",
         {
             {"carregar S 5", "armar 300s; proxima t+300s"},
             {"+300", "parar; proxima -; executar pelo temporizador"},
             {"minutos x", "parar; proxima -; recusado: 'x' is not a valid integer value"},
             {"+10", ""},
             {"fim", "armar 300s; proxima t+610s"},
         }},
        {"settings that the timer cannot take at start-up leave it stopped",
         {
             {"carregar S 1,5", "parar; proxima -; recusado: '1,5' is not a valid integer value"},
             {"+1000", ""},
             {"fechar", "fechar S 1,5"},
         }},
    };
    for (const Caso& caso : casos) Verificar(caso);
}

TEST(MaquinaServicoResidenteTest, FimDoPrograma) {
    const Caso casos[] = {
        {"the close handling writes the settings and ends with 0",
         {{"fechar", "fechar N 0"}, {"fechou", "encerrar 0"}}},
        {"the ERP's request through the watch leaves the settings alone and ends with 0",
         {
             {"vigia", "verificar"},
             {"liberada", ""},
             {"vigia", "verificar"},
             {"desconectar", "liberar lock; encerrar 0"},
         }},
        {"a notice's situation ends with 1", {{"pedido", "liberar lock; encerrar 1"}}},
        {"an update found at start-up ends with 0", {{"atualizar", "liberar lock; encerrar 0"}}},
        {"a close during a run stops it after its order and waits for its end; nothing starts "
         "meanwhile, nothing after the end",
         {
             {"carregar S 5", "armar 300s; proxima t+300s"},
             {"botao", "executar pelo botao"},
             {"fechar", "interromper execução"},
             {"+300", ""},
             {"botao", ""},
             {"fim", "fechar S 5"},
             {"fechou", "encerrar 0"},
             {"+600", ""},
             {"vigia", ""},
             {"botao", ""},
             {"minutos 1", ""},
             {"+60", ""},
         }},
        {"the ERP's request during a timer-started run waits for its end",
         {
             {"carregar S 5", "armar 300s; proxima t+300s"},
             {"+300", "parar; proxima -; executar pelo temporizador"},
             {"vigia", "verificar"},
             {"desconectar", "interromper execução"},
             {"fim", "armar 300s; proxima t+600s; liberar lock; encerrar 0"},
         }},
        {"a settings file that cannot be written keeps the program with its timer",
         {
             {"carregar N 5", "armar 300s; proxima -"},
             {"fechar", "fechar N 5"},
             {"recusou: Unable to write to x.ini", "erro: Unable to write to x.ini"},
             {"+300", "armar 300s; proxima -"},
             {"botao", "executar pelo botao"},
             {"fim", ""},
             {"fechar", "fechar N 5"},
             {"fechou", "encerrar 0"},
         }},
        {"a notice's end request waits until every open notice is closed",
         {
             {"aviso", ""},
             {"pedido", ""},
             {"botao", ""},
             {"aviso", ""},
             {"aviso fechado", ""},
             {"aviso fechado", "liberar lock; encerrar 1"},
         }},
        {"the operator's close does not wait for a notice, and takes over a notice's request",
         {
             {"aviso", ""},
             {"pedido", ""},
             {"fechar", "fechar N 0"},
             {"fechou", "encerrar 0"},
             {"aviso fechado", ""},
         }},
        {"the first of the close and the ERP's request is the one carried out",
         {
             {"botao", "executar pelo botao"},
             {"fechar", "interromper execução"},
             {"vigia", "verificar"},
             {"desconectar", "interromper execução"},
             {"fim", "fechar N 0"},
             {"fechou", "encerrar 0"},
         }},
        {"a watch tick while the previous read is still going is skipped",
         {
             {"vigia", "verificar"},
             {"vigia", ""},
             {"liberada", ""},
             {"vigia", "verificar"},
         }},
        {"a notice's end request during the run's error box waits until it is closed",
         {
             {"botao", "executar pelo botao"},
             {"> pedido", ""},
             {"fim erro: tabela inexistente",
              "erro: tabela inexistente (aberto); erro fechado; liberar lock; encerrar 1"},
         }},
        {"the close during the run's error box does not wait for it",
         {
             {"botao", "executar pelo botao"},
             {"> fechar", ""},
             {"> fechou", ""},
             {"fim erro: tabela inexistente",
              "erro: tabela inexistente (aberto); fechar N 0; encerrar 0; erro fechado"},
         }},
    };
    for (const Caso& caso : casos) Verificar(caso);
}

}  // namespace
}  // namespace tessora::app
