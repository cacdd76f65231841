// The main window under the offscreen platform, in a temporary ERP installation.
#include "app/qt/frm_principal.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <system_error>

#include "aplicacao_qt.h"
#include "app/configuracoes/leitura_configuracoes.h"
#include "app/historico/historico_execucoes.h"
#include "app/qt/campo_minutos.h"
#include "arquivos_teste.h"
#include "avisos_gravados.h"
#include "comum/data_hora.h"
#include "comum/erros.h"
#include "instalacao_erp_teste.h"
#include "pedidos_sem_novos.h"
#include "portao.h"

namespace tessora::qt {
namespace {

using namespace std::chrono_literals;
using testes::Aguardar;
using testes::AplicacaoQt;
using testes::Portao;

// Message boxes that, like real ones, serve the event loop while they wait for the
// operator; `leitura` is how long the operator takes to close one (nothing: at once).
class AvisosModais : public testes::AvisosGravados {
  public:
    void MostrarMensagem(std::string_view texto, std::string_view titulo,
                         IconeAviso icone) override {
        AvisosGravados::MostrarMensagem(texto, titulo, icone);
        if (!leitura) return;
        QEventLoop caixa;
        QTimer::singleShot(*leitura, &caixa, &QEventLoop::quit);
        ++abertas;
        caixa.exec();
        --abertas;
    }

    std::optional<std::chrono::milliseconds> leitura;
    int abertas = 0;
};

class JanelaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AplicacaoQt();
        erp.InstalarPrograma();
    }

    TfrmPrincipal& Criar(app::ServicoResidente::Execucao executar = {},
                         std::chrono::milliseconds porMinuto = std::chrono::minutes(1),
                         std::chrono::milliseconds intervaloVigia = std::chrono::seconds(5)) {
        janela.reset();
        app::ServicoResidente::Opcoes opcoes{erp.Executavel(), porMinuto, intervaloVigia,
                                             std::move(executar)};
        janela = std::make_unique<TfrmPrincipal>(std::move(opcoes), avisos, pedidos, true);
        return *janela;
    }

    template <typename Controle>
    Controle* Achar(const char* nome) const {
        auto* controle = janela->findChild<Controle*>(nome);
        EXPECT_NE(controle, nullptr) << nome;
        return controle;
    }
    QPushButton* BotaoSincronizar() const {
        return Achar<QPushButton>("btnForcarAtualizacaoAppForcaVenda");
    }
    CampoMinutos* Minutos() const {
        return Achar<CampoMinutos>("seEsperaAtualizacaoAppForcaVenda");
    }
    QCheckBox* Automatico() const { return Achar<QCheckBox>("ckbProcessoAtivoAppForcaVenda"); }
    QPlainTextEdit* Log() const {
        return Achar<QPlainTextEdit>("memLogProcessamentoAppForcaVenda");
    }
    QTimer* Temporizador() const {
        return janela->Hospedeiro().findChild<QTimer*>("tmAppForcaVenda");
    }
    // The exit statuses with which the service ended the program.
    std::shared_ptr<std::vector<int>> ContarFins() {
        auto fins = std::make_shared<std::vector<int>>();
        QObject::connect(janela.get(), &TfrmPrincipal::ProgramaEncerrado, [this, fins](int codigo) {
            fins->push_back(codigo);
            // The event loop's end would take an open box with it, unread.
            EXPECT_EQ(avisos.abertas, 0) << "the program ended under an open message box";
        });
        return fins;
    }
    std::filesystem::path ArquivoIni() const { return erp.PastaPrograma() / "tessoraService.ini"; }
    std::filesystem::path ArquivoLock() const { return erp.PastaDados() / "tessoraService.lock"; }

    testes::InstalacaoErpTeste erp;
    AvisosModais avisos;
    testes::PedidosSemNovos pedidos;
    Portao portao;  // where the tests' runs wait
    std::unique_ptr<TfrmPrincipal> janela;
};

TEST_F(JanelaTest, ControlesComNomesTextosEValoresIniciais) {
    Criar();
    EXPECT_EQ(janela->windowTitle(), "tessora Service");
    EXPECT_EQ(janela->size(), QSize(606, 351));
    EXPECT_EQ(janela->minimumSize(), janela->maximumSize());
    const std::pair<const char*, const char*> rotulos[] = {
        {"lblVersao", "VERSÃO:"},
        {"Label2", "Data/Hora da Última atualização:"},
        {"lblDataHoraUltimaAtualizacaoAppForcaVenda", "00/00/0000 00:00"},
        {"Label10", "Sincronizar a cada"},
        {"Label1", "min"},
        {"Label3", "Log de Processamento"},
        {"lblUltimoProcessamento", "Último processamento: 00/00/0000 00:00:00"},
        {"lbProximoProcessamento", "Próximo processamento: 00/00/0000 00:00:00"},
    };
    for (const auto& [nome, texto] : rotulos) EXPECT_EQ(Achar<QLabel>(nome)->text(), texto) << nome;
    const std::pair<const char*, const char*> botoes[] = {
        {"btnForcarAtualizacaoAppForcaVenda", "Sincronizar Agora"},
        {"btnCopiarLogAppForcaVenda", "Copiar Log"},
        {"BitBtn1", "Minimizar"},
        {"btnMinimizar", "Minimizar"},
        {"btnEncerrarServicos", "Encerrar Serviços"},
    };
    for (const auto& [nome, texto] : botoes)
        EXPECT_EQ(Achar<QPushButton>(nome)->text(), texto) << nome;

    const auto* paginas = Achar<QTabWidget>("pcPrincipal");
    ASSERT_EQ(paginas->count(), 2);
    EXPECT_EQ(paginas->widget(0)->objectName(), "TabSheet1");
    EXPECT_EQ(paginas->tabText(0), "1. APP Força de Vendas");
    EXPECT_EQ(Automatico()->text(), "Sincronizar Automaticamente");
    EXPECT_FALSE(Automatico()->isChecked());
    EXPECT_EQ(Minutos()->Texto(), "0");
    EXPECT_TRUE(Log()->isReadOnly());
    EXPECT_TRUE(Log()->toPlainText().isEmpty());

    const auto* menu = Achar<QMenu>("PopupMenu1");
    ASSERT_EQ(menu->actions().size(), 5);
    EXPECT_EQ(menu->actions()[0]->text(), "&Abrir tessora Service");
    EXPECT_TRUE(menu->actions()[3]->isSeparator());
    EXPECT_EQ(menu->actions()[4]->text(), "&Sair");
    EXPECT_EQ(Achar<QSystemTrayIcon>("TrayIcon1")->toolTip(), "tessora Service");
    EXPECT_FALSE(Achar<QSystemTrayIcon>("TrayIcon1")->isVisible());
    EXPECT_FALSE(Temporizador()->isActive());
    EXPECT_TRUE(janela->Hospedeiro().findChild<QTimer*>("tmEncerramento")->isActive());
}

TEST_F(JanelaTest, ConfiguracoesLidasNaInicializacaoEGravadasAoFechar) {
    struct Caso {
        std::optional<std::string> arquivo;  // nothing: no settings file
        bool marcado;
        const char* minutos;
        std::optional<int> intervalo;  // nothing: the timer does not run
        const char* aviso;
        std::string gravado;
    };
    const std::string secao = "[AppForcaVendas]\r\n";
    const Caso casos[] = {
        {std::nullopt, false, "5", 300000, "",
         secao + "ProcessoAtivo=N\r\nTempoEsperaAtualizacao=5\r\n"},
        {secao + "ProcessoAtivo=S\r\nTempoEsperaAtualizacao=10\r\n", true, "10", 600000, "",
         secao + "ProcessoAtivo=S\r\nTempoEsperaAtualizacao=10\r\n"},
        {secao + "ProcessoAtivo=s\r\n", false, "5", 300000, "",
         secao + "ProcessoAtivo=N\r\nTempoEsperaAtualizacao=5\r\n"},
        {"; ERP\r\n[appforcavendas]\r\nprocessoativo = "
         "Sim\r\ntempoesperaatualizacao=05\r\n[Outra]\r\nX=1\r\n",
         false, "05", 300000, "",
         "; "
         "ERP\r\n[appforcavendas]\r\nProcessoAtivo=N\r\nTempoEsperaAtualizacao=05\r\n[Outra]\r\nX="
         "1\r\n"},
        {secao + "ProcessoAtivo=S\r\nTempoEsperaAtualizacao=0\r\n", true, "0", std::nullopt, "",
         secao + "ProcessoAtivo=S\r\nTempoEsperaAtualizacao=0\r\n"},
        {secao + "TempoEsperaAtualizacao=1,5\r\n", false, "1,5", std::nullopt,
         "tessora Service|'1,5' is not a valid integer value|erro",
         secao + "TempoEsperaAtualizacao=1,5\r\nProcessoAtivo=N\r\n"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.arquivo.value_or("(sem arquivo)"));
        std::filesystem::remove(ArquivoIni());
        if (caso.arquivo) testes::GravarArquivo(ArquivoIni(), *caso.arquivo);
        avisos.mensagens.clear();

        Criar();
        ASSERT_TRUE(janela->FormCreate());
        EXPECT_EQ(Automatico()->isChecked(), caso.marcado);
        EXPECT_EQ(Minutos()->Texto(), caso.minutos);
        EXPECT_EQ(Temporizador()->isActive(), caso.intervalo.has_value());
        if (caso.intervalo) {
            EXPECT_EQ(Temporizador()->interval(), *caso.intervalo);
        }
        if (*caso.aviso) {
            EXPECT_EQ(avisos.mensagens, std::vector<std::string>{caso.aviso});
        } else {
            EXPECT_TRUE(avisos.mensagens.empty());
        }
        EXPECT_FALSE(janela->isVisible());  // hidden behind the tray icon
        EXPECT_TRUE(Achar<QSystemTrayIcon>("TrayIcon1")->isVisible());
        EXPECT_TRUE(Achar<QLabel>("lblVersao")->text().startsWith("Versão: "));
        EXPECT_TRUE(std::filesystem::exists(ArquivoLock()));

        const auto fins = ContarFins();
        janela->close();
        EXPECT_EQ(*fins, std::vector<int>{0});
        EXPECT_EQ(testes::LerArquivo(ArquivoIni()), caso.gravado);
        EXPECT_FALSE(std::filesystem::exists(ArquivoLock()));
    }
}

TEST_F(JanelaTest, CampoDeMinutosReArmaOTemporizador) {
    Criar();
    const struct {
        const char* texto;
        std::optional<int> intervalo;
        const char* aviso;
    } passos[] = {
        {"7", 420000, nullptr},
        {"", std::nullopt, "tessora Service|'' is not a valid integer value|erro"},
        {"7", 420000, nullptr},
        {"35792", std::nullopt,
         "tessora Service|O intervalo de sincronização deve ser de 0 a 35791 minutos.|erro"},
        {"35791", 35791 * 60000, nullptr},
        {"0", std::nullopt, nullptr},
    };
    for (const auto& passo : passos) {
        SCOPED_TRACE(passo.texto);
        avisos.mensagens.clear();
        Minutos()->DefinirTexto(passo.texto);
        EXPECT_EQ(Temporizador()->isActive(), passo.intervalo.has_value());
        if (passo.intervalo) {
            EXPECT_EQ(Temporizador()->interval(), *passo.intervalo);
        }
        EXPECT_EQ(avisos.mensagens,
                  passo.aviso ? std::vector<std::string>{passo.aviso} : std::vector<std::string>{});
    }
    // The arrows step by one and stay within what the timer takes.
    Minutos()->stepBy(1);
    EXPECT_EQ(Minutos()->Texto(), "1");
    EXPECT_EQ(Temporizador()->interval(), 60000);
    Minutos()->stepBy(-5);
    EXPECT_EQ(Minutos()->Texto(), "0");
}

TEST_F(JanelaTest, BotaoDesabilitadoDuranteAExecucaoQueMostraOLogAoVivo) {
    std::atomic<int> execucoes = 0;
    Criar([&](const app::AmbienteExecucao& ambiente) {
        ++execucoes;
        ambiente.painel.ExibirUltimaAtualizacao("25/03/2024 14:05");
        ambiente.painel.LimparLog();
        ambiente.painel.AcrescentarLinhaLog("primeira linha");
        ambiente.painel.ExibirProgresso(1, 2);
        portao.Esperar();
        ambiente.painel.AcrescentarLinhaLog("segunda linha");
        return app::ResumoExecucao{{}, app::FimExecucao::Concluida};
    });
    Log()->appendPlainText("log da execução anterior");

    BotaoSincronizar()->click();
    EXPECT_FALSE(BotaoSincronizar()->isEnabled());
    ASSERT_TRUE(Aguardar([&] { return Log()->toPlainText() == "primeira linha"; }));
    EXPECT_EQ(Achar<QLabel>("lblDataHoraUltimaAtualizacaoAppForcaVenda")->text(),
              "25/03/2024 14:05");
    // Where the run stands, in the status and on the tray's tooltip.
    ASSERT_TRUE(Aguardar([&] {
        return Achar<QLabel>("lblUltimoProcessamento")->text() == "Sincronizando... Pedido 1 de 2";
    }));
    EXPECT_TRUE(janela->findChild<QSystemTrayIcon*>("TrayIcon1")
                    ->toolTip()
                    .endsWith("\nSincronizando... Pedido 1 de 2"));
    EXPECT_FALSE(BotaoSincronizar()->isEnabled());
    janela->Servico().SincronizarAgora();  // one run at a time

    portao.Liberar();
    ASSERT_TRUE(Aguardar([&] { return BotaoSincronizar()->isEnabled(); }));
    EXPECT_EQ(Log()->toPlainText(), "primeira linha\nsegunda linha");
    EXPECT_EQ(execucoes, 1);
}

// The focus of the button pressed never lands on the minutes field, where a digit typed next
// would change the interval (the field comes next, and a disabled button hands its focus on):
// the log holds it for the run, and the button has it again after.
TEST_F(JanelaTest, FocoDoBotaoSincronizarNaoCaiNoCampoDeMinutos) {
    Criar([&](const app::AmbienteExecucao&) {
        portao.Esperar();
        return app::ResumoExecucao{{}, app::FimExecucao::Concluida};
    });
    janela->show();
    janela->activateWindow();
    ASSERT_TRUE(Aguardar([&] { return janela->isActiveWindow(); }));
    BotaoSincronizar()->setFocus();
    ASSERT_TRUE(BotaoSincronizar()->hasFocus());
    BotaoSincronizar()->click();
    EXPECT_FALSE(BotaoSincronizar()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Log());  // not the next control, the minutes field
    portao.Liberar();
    ASSERT_TRUE(Aguardar([&] { return BotaoSincronizar()->isEnabled(); }));
    EXPECT_TRUE(BotaoSincronizar()->hasFocus());
}

TEST_F(JanelaTest, ErroQueEscapaDaExecucaoVaiParaUmaCaixaDeErro) {
    Criar([](const app::AmbienteExecucao&) -> app::ResumoExecucao {
        throw ErroBancoDados("tabela inexistente");
    });
    BotaoSincronizar()->click();
    ASSERT_TRUE(Aguardar([&] { return !avisos.mensagens.empty(); }));
    EXPECT_EQ(avisos.mensagens,
              std::vector<std::string>{"tessora Service|tabela inexistente|erro"});
    EXPECT_TRUE(BotaoSincronizar()->isEnabled());
}

TEST_F(JanelaTest, UltimoProcessamentoMostraOInicioEUmaFalhaDaExecucao) {
    std::atomic<app::FimExecucao> fim = app::FimExecucao::SemListagem;
    Criar([&](const app::AmbienteExecucao&) { return app::ResumoExecucao{{}, fim.load()}; });
    QLabel* rotulo = Achar<QLabel>("lblUltimoProcessamento");
    const auto executar = [&] {
        BotaoSincronizar()->click();
        return Aguardar([&] { return BotaoSincronizar()->isEnabled(); });
    };

    ASSERT_TRUE(executar());
    EXPECT_TRUE(rotulo->text().contains(
        QRegularExpression(R"(^Último processamento: \d\d/\d\d/\d{4} \d\d:\d\d:\d\d$)")))
        << rotulo->text().toStdString();
    EXPECT_EQ(rotulo->toolTip(), "Falhou: não foi possível obter a lista de novos pedidos");

    fim.store(app::FimExecucao::Concluida);
    ASSERT_TRUE(executar());
    EXPECT_TRUE(rotulo->toolTip().isEmpty());
}

// After a restart the window tells what the history holds, not a default.
TEST_F(JanelaTest, ComecaPeloEstadoQueOHistoricoGuarda) {
    const auto arquivoHistorico = app::ObterArquivoHistorico(erp.Executavel());
    const auto inicio = std::chrono::system_clock::now() - 2h;
    const auto Iniciar = [&](const char* processoAtivo) {
        testes::GravarArquivo(ArquivoIni(), std::string("[AppForcaVendas]\r\nProcessoAtivo=") +
                                                processoAtivo + "\r\n");
        Criar();
        EXPECT_TRUE(janela->FormCreate());
    };
    QSystemTrayIcon* bandeja = nullptr;
    const auto Dica = [&] { return bandeja->toolTip().toStdString(); };

    Iniciar("S");  // nothing has run yet
    bandeja = Achar<QSystemTrayIcon>("TrayIcon1");
    EXPECT_EQ(Achar<QLabel>("lblUltimoProcessamento")->text(), "Último processamento: nenhum");
    EXPECT_EQ(Dica(), "tessora Service\nNenhuma sincronização registrada");

    app::HistoricoExecucoes historico{app::LerConfiguracoes(erp.Executavel()).historico};
    historico.ExecucaoIniciada(app::OrigemExecucao::Temporizador, inicio);
    app::ResumoExecucao resumo{inicio, app::FimExecucao::SemListagem, inicio + 1s,
                               "SSL certificate problem: certificate has expired"};
    resumo.problema = app::ProblemaExecucao::CertificadoForaDoPrazo;
    historico.ExecucaoTerminada(resumo);
    Iniciar("N");
    bandeja = Achar<QSystemTrayIcon>("TrayIcon1");
    QLabel* rotulo = Achar<QLabel>("lblUltimoProcessamento");
    EXPECT_EQ(rotulo->text().toStdString(), "Último processamento: " + DataHoraSegundos(inicio));
    EXPECT_EQ(rotulo->toolTip(),
              "Falhou: certificado fora da validade\nConfira a data e a hora do PC.");
    EXPECT_EQ(Achar<QLabel>("lblDataHoraUltimaAtualizacaoAppForcaVenda")->text().toStdString(),
              DataHoraMinutos(inicio));
    EXPECT_EQ(Dica(), "tessora Service\n" + rotulo->text().toStdString() + "\n" +
                          rotulo->toolTip().toStdString() + "\nSincronização automática desligada");
    Automatico()->click();
    EXPECT_FALSE(QString::fromStdString(Dica()).contains("desligada"));

    janela.reset();
    testes::GravarArquivo(arquivoHistorico, "isto não é um histórico");
    Iniciar("S");
    bandeja = Achar<QSystemTrayIcon>("TrayIcon1");
    EXPECT_EQ(Achar<QLabel>("lblUltimoProcessamento")->text(),
              "Último processamento: desconhecido");
    EXPECT_TRUE(Achar<QLabel>("lblUltimoProcessamento")
                    ->toolTip()
                    .startsWith("O histórico não pôde ser lido: "));
    EXPECT_EQ(Dica(), "tessora Service\nSituação desconhecida: o histórico não pôde ser lido");
}

TEST_F(JanelaTest, ProximoProcessamentoSoQuandoHaExecucaoAutomatica) {
    Criar();
    QLabel* rotulo = Achar<QLabel>("lbProximoProcessamento");
    const QRegularExpression comHora(R"(^Próximo processamento: \d\d/\d\d/\d{4} \d\d:\d\d:\d\d$)");

    Minutos()->DefinirTexto("5");
    EXPECT_EQ(rotulo->text(), "Próximo processamento: ");  // automatic runs are off
    const auto antes = std::chrono::system_clock::now();
    Automatico()->setChecked(true);
    ASSERT_TRUE(rotulo->text().contains(comHora)) << rotulo->text().toStdString();
    const QDateTime quando = QDateTime::fromString(rotulo->text().mid(23), "dd/MM/yyyy HH:mm:ss");
    const auto esperado =
        QDateTime::fromSecsSinceEpoch(std::chrono::duration_cast<std::chrono::seconds>(
                                          (antes + std::chrono::minutes(5)).time_since_epoch())
                                          .count());
    EXPECT_LE(std::abs(quando.secsTo(esperado)), 2) << rotulo->text().toStdString();

    Minutos()->DefinirTexto("0");  // no automatic runs
    EXPECT_EQ(rotulo->text(), "Próximo processamento: ");
}

TEST_F(JanelaTest, BancoInacessivelNaInicializacaoMostraOMotivoAntesDoFim) {
    erp.DefinirBanco("", erp.PastaDados().string() + "/", "NAO_EXISTE.FDB");
    Criar();
    const auto fins = ContarFins();
    EXPECT_FALSE(janela->FormCreate());
    ASSERT_EQ(avisos.mensagens.size(), 1u);
    EXPECT_THAT(
        avisos.mensagens[0],
        ::testing::StartsWith("tessora Service|Não foi possível conectar ao banco de dados: "));
    EXPECT_THAT(avisos.mensagens[0], ::testing::HasSubstr("NAO_EXISTE.FDB"));
    EXPECT_THAT(avisos.mensagens[0], ::testing::EndsWith("|erro"));
    EXPECT_EQ(*fins, std::vector<int>{1});
    EXPECT_FALSE(std::filesystem::exists(ArquivoLock()));
}

TEST_F(JanelaTest, ExecucaoVerdadeiraEscreveNoLogDaJanela) {
    Criar();
    ASSERT_TRUE(janela->FormCreate());
    BotaoSincronizar()->click();
    ASSERT_TRUE(
        Aguardar([&] { return BotaoSincronizar()->isEnabled(); }, std::chrono::seconds(60)));
    const QStringList linhas = Log()->toPlainText().split('\n');
    ASSERT_EQ(linhas.size(), 3) << Log()->toPlainText().toStdString();
    EXPECT_TRUE(linhas[0].endsWith(" - Iniciando processamento..."));
    EXPECT_TRUE(linhas[1].endsWith(" - Nenhum novo pedido encontrado."));
    EXPECT_TRUE(linhas[2].endsWith(" - Encerrando processamento..."));
    EXPECT_NE(Achar<QLabel>("lblDataHoraUltimaAtualizacaoAppForcaVenda")->text(),
              "00/00/0000 00:00");
    EXPECT_TRUE(avisos.mensagens.empty());
}

TEST_F(JanelaTest, TemporizadorContaAPausaDepoisDoFimDeCadaExecucao) {
    using Relogio = std::chrono::steady_clock;
    std::mutex mutex;
    std::vector<std::pair<Relogio::time_point, Relogio::time_point>> execucoes;
    auto contar = [&] {
        std::lock_guard trava(mutex);
        return execucoes.size();
    };
    // One "minute" is 100 ms here; a run takes 250 ms.
    Criar(
        [&](const app::AmbienteExecucao&) {
            const auto inicio = Relogio::now();
            std::this_thread::sleep_for(250ms);
            std::lock_guard trava(mutex);
            execucoes.emplace_back(inicio, Relogio::now());
            return app::ResumoExecucao{{}, app::FimExecucao::Concluida};
        },
        100ms);
    Minutos()->DefinirTexto("1");
    testes::Servir(450ms);
    EXPECT_EQ(contar(), 0u) << "ticks with the box unchecked do nothing";

    Automatico()->setChecked(true);
    ASSERT_TRUE(Aguardar([&] { return contar() >= 3; }));
    Automatico()->setChecked(false);
    ASSERT_TRUE(Aguardar([&] { return !janela->Servico().EmExecucao(); }));
    std::lock_guard trava(mutex);
    for (size_t i = 1; i < execucoes.size(); ++i) {
        EXPECT_GE(execucoes[i].first - execucoes[i - 1].second, 90ms) << "run " << i;
    }
}

TEST_F(JanelaTest, TiqueDuranteUmaExecucaoPeloBotaoNaoFazNada) {
    std::atomic<int> execucoes = 0;
    Criar(
        [&](const app::AmbienteExecucao&) {
            if (++execucoes == 1) portao.Esperar();
            return app::ResumoExecucao{{}, app::FimExecucao::Concluida};
        },
        50ms);
    Automatico()->setChecked(true);
    Minutos()->DefinirTexto("2");  // ticks every 100 ms
    BotaoSincronizar()->click();
    testes::Servir(500ms);
    EXPECT_EQ(execucoes, 1);

    portao.Liberar();
    ASSERT_TRUE(Aguardar([&] { return execucoes >= 2; }));  // the timer goes on by itself
}

TEST_F(JanelaTest, FecharDuranteUmaExecucaoEsperaOFimDela) {
    Criar([&](const app::AmbienteExecucao& ambiente) {
        portao.Esperar();
        ambiente.painel.AcrescentarLinhaLog("fim da execução");
        return app::ResumoExecucao{{}, app::FimExecucao::Concluida};
    });
    ASSERT_TRUE(janela->FormCreate());
    Automatico()->setChecked(true);
    const auto fins = ContarFins();

    BotaoSincronizar()->click();
    Achar<QAction>("Sair1")->trigger();
    testes::Servir(200ms);
    EXPECT_TRUE(fins->empty());
    EXPECT_FALSE(std::filesystem::exists(ArquivoIni()));
    EXPECT_TRUE(std::filesystem::exists(ArquivoLock()));

    portao.Liberar();
    ASSERT_TRUE(Aguardar([&] { return !fins->empty(); }));
    EXPECT_EQ(*fins, std::vector<int>{0});
    EXPECT_EQ(testes::LerArquivo(ArquivoIni()),
              "[AppForcaVendas]\r\nProcessoAtivo=S\r\nTempoEsperaAtualizacao=5\r\n");
    EXPECT_FALSE(std::filesystem::exists(ArquivoLock()));
    EXPECT_FALSE(janela->Servico().EmExecucao());
}

TEST_F(JanelaTest, CopiarLogPoeOLogInteiroNaAreaDeTransferencia) {
    Criar();
    for (const char* linha :
         {"01/02/2024 10:00:00 - um", "01/02/2024 10:00:01 - dois", "01/02/2024 10:00:02 - três"}) {
        janela->AcrescentarLinhaLog(linha);
    }
    ASSERT_TRUE(Aguardar([&] { return Log()->blockCount() == 3; }));
    QTextCursor cursor = Log()->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    Log()->setTextCursor(cursor);

    Achar<QPushButton>("btnCopiarLogAppForcaVenda")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "01/02/2024 10:00:00 - um\n01/02/2024 10:00:01 - dois\n01/02/2024 10:00:02 - três\n");
    EXPECT_FALSE(Log()->textCursor().hasSelection());
    EXPECT_EQ(Log()->textCursor().position(), 0);
}

TEST_F(JanelaTest, MinimizarEscondeAJanelaEOMenuAMostra) {
    Criar();
    janela->show();
    Achar<QPushButton>("btnMinimizar")->click();
    EXPECT_FALSE(janela->isVisible());
    EXPECT_TRUE(Achar<QSystemTrayIcon>("TrayIcon1")->isVisible());
    Achar<QAction>("SobreotessoraAssistente1")->trigger();
    EXPECT_TRUE(janela->isVisible());
    EXPECT_TRUE(Achar<QSystemTrayIcon>("TrayIcon1")->isVisible());
}

TEST_F(JanelaTest, CampoDeMinutosSoAceitaAlgarismosDigitados) {
    Criar();
    // What a key press does in the field's editor, "\b" for the backspace key.
    const auto digitar = [&](const QString& teclas) {
        auto* editor = Minutos()->findChild<QLineEdit*>();
        for (const QChar tecla : teclas) {
            if (tecla == '\b') {
                editor->backspace();
            } else {
                editor->insert(tecla);
            }
        }
    };
    const struct {
        const char* inicial;
        const char* teclas;
        const char* final;
    } casos[] = {
        {"5", "a-,x 1.2", "512"},
        {"", "+7", "7"},
        // What the settings file brought stays, and can still be corrected.
        {"1,5", "x\b\b", "1"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.inicial);
        Minutos()->DefinirTexto(caso.inicial);
        digitar(caso.teclas);
        EXPECT_EQ(Minutos()->Texto(), caso.final);
    }
    avisos.mensagens.clear();
    Minutos()->DefinirTexto("3");
    digitar("abc");
    EXPECT_TRUE(avisos.mensagens.empty()) << "no error box for keys the field refuses";
    EXPECT_EQ(Temporizador()->interval(), 180000);
}

TEST_F(JanelaTest, MinutosInvalidosDuranteUmaExecucaoDoTemporizadorNaoOParam) {
    std::atomic<int> execucoes = 0;
    Criar(
        [&](const app::AmbienteExecucao&) {
            if (++execucoes == 1) portao.Esperar();
            return app::ResumoExecucao{{}, app::FimExecucao::Concluida};
        },
        20ms);
    Automatico()->setChecked(true);
    Minutos()->DefinirTexto("3");  // every 60 ms
    ASSERT_TRUE(Aguardar([&] { return execucoes == 1; }));
    Minutos()->DefinirTexto("");
    EXPECT_EQ(avisos.mensagens,
              std::vector<std::string>{"tessora Service|'' is not a valid integer value|erro"});

    // The run's end re-arms the timer with the interval it had.
    portao.Liberar();
    ASSERT_TRUE(Aguardar([&] { return execucoes >= 3; }));
    EXPECT_EQ(Temporizador()->interval(), 60);
    Automatico()->setChecked(false);
    ASSERT_TRUE(Aguardar([&] { return !janela->Servico().EmExecucao(); }));
}

TEST_F(JanelaTest, ErroQueEscapaDeUmaExecucaoDoTemporizadorNaoParaAsSeguintes) {
    std::atomic<int> execucoes = 0;
    Criar(
        [&](const app::AmbienteExecucao&) -> app::ResumoExecucao {
            ++execucoes;
            throw ErroBancoDados("tabela inexistente");
        },
        20ms);
    Minutos()->DefinirTexto("1");
    Automatico()->setChecked(true);
    ASSERT_TRUE(Aguardar([&] { return execucoes >= 3; }));
    Automatico()->setChecked(false);
    ASSERT_TRUE(Aguardar([&] { return !janela->Servico().EmExecucao(); }));
    ASSERT_FALSE(avisos.mensagens.empty());
    for (const auto& mensagem : avisos.mensagens) {
        EXPECT_EQ(mensagem, "tessora Service|tabela inexistente|erro");
    }
}

TEST_F(JanelaTest, ArquivosDoErpQueSomemEncerramOProgramaDepoisDoAviso) {
    struct Caso {
        const char* descricao;
        std::function<void()> sumir;
        std::chrono::milliseconds vigia;
        bool sincronizar;
        const char* aviso;
    };
    const Caso casos[] = {
        {"an ERP upgrade, seen by a run",
         [&] { testes::GravarArquivo(erp.PastaPrograma() / "tessoraempresa4.exe", "ERP"); }, 1h,
         true, "Aviso do Sistema|Não foi encontrado o arquivo de inicialização|erro"},
        {"the server INI gone, seen by the watch",
         [&] { std::filesystem::remove(erp.PastaDados() / "servidor.ini"); }, 50ms, false,
         "Aviso do Sistema|Não foi encontrado o arquivo de inicialização dentro da pasta tessora "
         "Empresa|erro"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        avisos.leitura.reset();
        avisos.mensagens.clear();
        Criar({}, std::chrono::minutes(1), caso.vigia);
        ASSERT_TRUE(janela->FormCreate());
        ASSERT_TRUE(std::filesystem::exists(ArquivoLock()));
        const auto fins = ContarFins();

        avisos.leitura = 300ms;  // the operator reads the box before closing it
        caso.sumir();
        if (caso.sincronizar) BotaoSincronizar()->click();
        ASSERT_TRUE(Aguardar([&] { return !fins->empty(); }));
        EXPECT_EQ(*fins, std::vector<int>{1});
        EXPECT_EQ(avisos.mensagens, std::vector<std::string>{caso.aviso});
        EXPECT_FALSE(std::filesystem::exists(ArquivoLock()));
        EXPECT_FALSE(std::filesystem::exists(ArquivoIni()));  // the settings are left alone
        std::filesystem::remove(erp.PastaPrograma() / "tessoraempresa4.exe");
    }
}

TEST_F(JanelaTest, DesconectarDuranteUmaExecucaoEsperaOFimDelaESaiSemGravar) {
    Criar(
        [&](const app::AmbienteExecucao&) {
            portao.Esperar();
            return app::ResumoExecucao{{}, app::FimExecucao::Concluida};
        },
        std::chrono::minutes(1), 50ms);
    ASSERT_TRUE(janela->FormCreate());
    Automatico()->setChecked(true);  // not saved: the ERP's request leaves the settings alone
    const auto fins = ContarFins();

    BotaoSincronizar()->click();
    testes::GravarArquivo(erp.PastaDados() / "Conectado.txt", "DESCONECTAR\r\n");
    testes::Servir(300ms);
    EXPECT_TRUE(fins->empty());
    EXPECT_TRUE(std::filesystem::exists(ArquivoLock()));

    portao.Liberar();
    ASSERT_TRUE(Aguardar([&] { return !fins->empty(); }));
    EXPECT_EQ(*fins, std::vector<int>{0});
    EXPECT_FALSE(janela->Servico().EmExecucao());
    EXPECT_FALSE(std::filesystem::exists(ArquivoLock()));
    EXPECT_FALSE(std::filesystem::exists(ArquivoIni()));
}

TEST_F(JanelaTest, LockQueNaoPodeSerCriadoEncerraComAMensagem) {
    // Resident without a lock file, a second copy could synchronise beside this one.
    std::filesystem::create_directory(ArquivoLock());  // where the file should be
    Criar();
    const auto fins = ContarFins();
    EXPECT_FALSE(janela->FormCreate());
    EXPECT_EQ(*fins, std::vector<int>{1});
    ASSERT_EQ(avisos.mensagens.size(), 1u);
    EXPECT_EQ(avisos.mensagens[0], "tessora Service|Não foi possível criar o arquivo " +
                                       ArquivoLock().string() + ": " +
                                       std::generic_category().message(EISDIR) + ".|erro");
    EXPECT_TRUE(std::filesystem::is_directory(ArquivoLock()));
    EXPECT_FALSE(std::filesystem::exists(ArquivoIni()));
}

TEST_F(JanelaTest, VerificacaoDaVersaoQueFalhaDeixaOProgramaResidenteSemConfiguracoes) {
    testes::GravarArquivo(ArquivoIni(), "[AppForcaVendas]\r\nProcessoAtivo=S\r\n");
    erp.Banco().Executar("alter table TAB_PARAMETRO add SCRIPT_RODADO integer");
    Criar();
    ASSERT_TRUE(janela->FormCreate());
    ASSERT_EQ(avisos.mensagens.size(), 1u);
    EXPECT_TRUE(avisos.mensagens[0].starts_with("tessora Service|")) << avisos.mensagens[0];
    EXPECT_TRUE(avisos.mensagens[0].ends_with("|erro")) << avisos.mensagens[0];
    EXPECT_FALSE(janela->isVisible());
    EXPECT_FALSE(Automatico()->isChecked());
    EXPECT_EQ(Minutos()->Texto(), "0");
    EXPECT_FALSE(Temporizador()->isActive());
    EXPECT_TRUE(std::filesystem::exists(ArquivoLock()));

    const auto fins = ContarFins();
    janela->close();
    EXPECT_EQ(*fins, std::vector<int>{0});
    EXPECT_FALSE(std::filesystem::exists(ArquivoLock()));
    EXPECT_EQ(testes::LerArquivo(ArquivoIni()), "[AppForcaVendas]\r\nProcessoAtivo=S\r\n");
}

}  // namespace
}  // namespace tessora::qt
