#include "app/ui/programa.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QSystemTrayIcon>

#include <functional>
#include <optional>

#include "app/pedidos_via_api.h"
#include "app/ui/avisos_janela.h"
#include "app/ui/frm_principal.h"
#include "app/ui/servico_residente.h"
#include "plataforma/sinais_encerramento.h"

namespace tessora::ui {

namespace {
// Runs start-up and then the event loop until the service ends the program. An end
// decided before the loop runs (a second copy, a refused attach) returns at once.
// `sinais` comes from DesviarSinaisEncerramento: a request of the system that arrives
// during start-up is served once start-up is over, and takes the close handling's way.
int ExecutarAteEncerrar(ServicoResidente& servico, int sinais,
                        const std::function<void()>& iniciar) {
    std::optional<int> codigoSaida;
    QObject::connect(&servico, &ServicoResidente::Encerrar, &servico, [&codigoSaida](int codigo) {
        codigoSaida = codigo;
        QCoreApplication::exit(codigo);
    });

    QSocketNotifier avisoSinais(sinais, QSocketNotifier::Read);
    QObject::connect(&avisoSinais, &QSocketNotifier::activated, &servico, [&servico, sinais] {
        plataforma::ConsumirSinaisEncerramento(sinais);
        servico.Fechar();
    });

    iniciar();
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
    return ExecutarAteEncerrar(frmPrincipal.Servico(), sinais,
                               [&frmPrincipal] { frmPrincipal.FormCreate(); });
}

}  // namespace tessora::ui
