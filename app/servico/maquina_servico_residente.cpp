#include "app/servico/maquina_servico_residente.h"

#include <utility>

#include "app/servico/intervalo_sincronizacao.h"

namespace tessora::app {

MaquinaServicoResidente::MaquinaServicoResidente(AcoesServicoResidente& acoes,
                                                 std::chrono::milliseconds porMinuto)
    : acoes_(acoes), porMinuto_(porMinuto) {}

void MaquinaServicoResidente::CarregarConfiguracoes(const ConfiguracoesServico& configuracoes,
                                                    Instante agora) {
    atuais_.processoAtivo = configuracoes.processoAtivo;
    AjustarIntervaloSincronizacao(configuracoes.tempoEsperaAtualizacao, agora);
}

void MaquinaServicoResidente::DefinirProcessoAtivo(bool ativo) {
    atuais_.processoAtivo = ativo;
    AnunciarProximaExecucao();
}

void MaquinaServicoResidente::AjustarIntervaloSincronizacao(std::string_view minutos,
                                                            Instante agora) {
    atuais_.tempoEsperaAtualizacao = minutos;
    try {
        intervalo_ = IntervaloSincronizacao(minutos, porMinuto_);
    } catch (...) {
        // The timer stays stopped with the interval it had, which the end of a run that the
        // timer started arms again.
        Parar();
        AnunciarProximaExecucao();
        throw;
    }
    RearmarSincronizacao(agora);
}

void MaquinaServicoResidente::TiqueSincronizacao(Instante agora) {
    if (!prazo_) return;  // a stopped timer's late tick
    // A tick that falls due during any run does nothing; the countdown goes on.
    if (Ocupada()) {
        prazo_ = agora + *intervalo_;
        return;
    }
    // A tick with automatic runs off does no work but restarts the countdown all the same.
    if (!atuais_.processoAtivo) {
        RearmarSincronizacao(agora);
        return;
    }
    // The timer stays stopped until the run ends: the minutes are the pause between runs.
    Parar();
    AnunciarProximaExecucao();
    IniciarExecucao(OrigemExecucao::Temporizador);
}

void MaquinaServicoResidente::SincronizarAgora() {
    if (Ocupada()) return;
    IniciarExecucao(OrigemExecucao::Botao);
}

void MaquinaServicoResidente::RepetirPedido() {
    if (Ocupada()) return;
    IniciarExecucao(OrigemExecucao::Repeticao);
}

bool MaquinaServicoResidente::Ocupada() const {
    return execucao_ || fimPendente_ || fechando_ || encerrado_;
}

void MaquinaServicoResidente::IniciarExecucao(OrigemExecucao origem) {
    execucao_ = origem;
    acoes_.IniciarExecucao(origem);
}

void MaquinaServicoResidente::ExecucaoTerminada(const std::optional<std::string>& erro,
                                                Instante agora) {
    if (!execucao_) return;
    // A run that the button started leaves the timer's countdown alone.
    if (std::exchange(execucao_, std::nullopt) == OrigemExecucao::Temporizador) {
        RearmarSincronizacao(agora);
    }
    if (erro) {
        Falha(*erro);
    } else {
        ConcluirFimPendente();
    }
}

void MaquinaServicoResidente::TiqueVigia() {
    // A tick while the previous read still shows its message waits for the next.
    if (encerrado_ || vigiando_) return;
    vigiando_ = true;
    acoes_.VerificarConexao();
}

void MaquinaServicoResidente::ResultadoVigia(bool conexaoLiberada) {
    vigiando_ = false;
    if (!conexaoLiberada) SolicitarFim(MotivoFim::Desconexao);
}

void MaquinaServicoResidente::SolicitarFim(MotivoFim motivo) {
    if (encerrado_) return;
    // The operator's close and the ERP's request do not wait for a box to be read.
    if (!fimPendente_ || fimPendente_ == MotivoFim::Aviso) fimPendente_ = motivo;
    if (execucao_) acoes_.InterromperExecucao();
    ConcluirFimPendente();
}

void MaquinaServicoResidente::ConcluirFimPendente() {
    // A request to end during a run waits for its end: the run holds the connection.
    if (!fimPendente_ || execucao_ || fechando_ || encerrado_) return;
    // The end that a notice's situation asked for waits until the operator closed it: the end
    // of the program would close it unread.
    if (fimPendente_ == MotivoFim::Aviso && avisosAbertos_ > 0) return;
    const MotivoFim motivo = *std::exchange(fimPendente_, std::nullopt);
    if (motivo == MotivoFim::Fechamento) {
        fechando_ = true;
        acoes_.FecharServico(atuais_);
        return;
    }
    // The ERP's request and the end requests of failed look-ups leave the settings alone.
    acoes_.LiberarLock();
    Encerrar(motivo == MotivoFim::Aviso ? 1 : 0);
}

void MaquinaServicoResidente::FechamentoConcluido() {
    fechando_ = false;
    Encerrar(0);
}

void MaquinaServicoResidente::FechamentoRecusado(const std::string& mensagem) {
    fechando_ = false;
    Falha(mensagem);  // the program stays, with its lock file
}

void MaquinaServicoResidente::Encerrar(int codigoSaida) {
    encerrado_ = true;
    prazo_.reset();
    acoes_.EncerrarPrograma(codigoSaida);
}

void MaquinaServicoResidente::AvisoAberto() { ++avisosAbertos_; }

void MaquinaServicoResidente::AvisoFechado() {
    --avisosAbertos_;
    ConcluirFimPendente();
}

void MaquinaServicoResidente::Falha(const std::string& mensagem) {
    AvisoAberto();
    try {
        acoes_.ExibirErro(mensagem);
    } catch (...) {
        --avisosAbertos_;
        throw;
    }
    AvisoFechado();
}

void MaquinaServicoResidente::Armar(Instante agora) {
    prazo_ = agora + *intervalo_;
    acoes_.ArmarTemporizador(*intervalo_);
}

void MaquinaServicoResidente::Parar() {
    if (encerrado_) return;
    prazo_.reset();
    acoes_.PararTemporizador();
}

void MaquinaServicoResidente::RearmarSincronizacao(Instante agora) {
    if (intervalo_ && !encerrado_) {
        Armar(agora);
    } else {
        Parar();
    }
    AnunciarProximaExecucao();
}

void MaquinaServicoResidente::AnunciarProximaExecucao() {
    if (encerrado_) return;
    // A tick with automatic runs off does nothing, and a timer-started run has stopped the
    // timer: no automatic run is due then.
    acoes_.AnunciarProximaExecucao(atuais_.processoAtivo ? prazo_ : std::nullopt);
}

}  // namespace tessora::app
