#include "app/qt/programa.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QSystemTrayIcon>

#include <functional>
#include <optional>

#include "app/execucao/pedidos_via_api.h"
#include "app/qt/avisos_janela.h"
#include "app/qt/frm_principal.h"
#include "plataforma/sinais_encerramento.h"

namespace tessora::qt {

namespace {
// Runs start-up and then the event loop until the service ends the program. An end
// decided before the loop runs (a second copy, a refused attach) returns at once.
// `sinais` comes from DesviarSinaisEncerramento: a request of the system that arrives
// during start-up is served once start-up is over, and takes the close handling's way.
int ExecutarAteEncerrar(TfrmPrincipal& janela, int sinais) {
    app::ServicoResidente& servico = janela.Servico();
    std::optional<int> codigoSaida;
    QObject::connect(&janela, &TfrmPrincipal::ProgramaEncerrado, &janela,
                     [&codigoSaida](int codigo) {
                         codigoSaida = codigo;
                         QCoreApplication::exit(codigo);
                     });

    QSocketNotifier avisoSinais(sinais, QSocketNotifier::Read);
    QObject::connect(&avisoSinais, &QSocketNotifier::activated, &janela, [&servico, sinais] {
        plataforma::ConsumirSinaisEncerramento(sinais);
        servico.Fechar();
    });

    janela.FormCreate();
    plataforma::LiberarSinaisEncerramento();
    const int codigo = codigoSaida ? *codigoSaida : QCoreApplication::exec();
    servico.IniciarAtualizacaoPendente();  // last: the updater waits for this process to end
    return codigo;
}
}  // namespace

int ExecutarProgramaBandeja(int& argc, char** argv, const std::filesystem::path& executavel) {
    const int sinais = plataforma::DesviarSinaisEncerramento();  // before any thread starts
    QApplication aplicacao(argc, argv);
    QApplication::setApplicationName("tessora Service");
    // The window is hidden most of the time: only the service decides when to end.
    QApplication::setQuitOnLastWindowClosed(false);

    AvisosJanela avisos;
    app::PedidosViaApi pedidos;
    TfrmPrincipal frmPrincipal({.executavel = executavel}, avisos, pedidos,
                               QSystemTrayIcon::isSystemTrayAvailable());
    return ExecutarAteEncerrar(frmPrincipal, sinais);
}

}  // namespace tessora::qt
