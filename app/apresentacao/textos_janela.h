#pragma once

// The fixed texts of the windows, the same in every front end.
namespace tessora::app {

// The main window.
inline constexpr char kVersaoInicial[] = "VERSÃO:";  // until the build's time is read
inline constexpr char kAbaSincronizacao[] = "1. APP Força de Vendas";
inline constexpr char kAbaHistorico[] = "2. Histórico";
inline constexpr char kSincronizarAutomaticamente[] = "Sincronizar Automaticamente";
inline constexpr char kSincronizarAgora[] = "Sincronizar Agora";
inline constexpr char kTituloUltimaAtualizacao[] = "Data/Hora da Última atualização:";
inline constexpr char kUltimaAtualizacaoInicial[] = "00/00/0000 00:00";
inline constexpr char kSincronizarACada[] = "Sincronizar a cada";
inline constexpr char kMinutosIniciais[] = "0";
inline constexpr char kUnidadeMinutos[] = "min";
inline constexpr char kLogProcessamento[] = "Log de Processamento";
inline constexpr char kCopiarLog[] = "Copiar Log";
inline constexpr char kMinimizar[] = "Minimizar";
inline constexpr char kEncerrarServicos[] = "Encerrar Serviços";

// The tray icon's menu.
inline constexpr char kMenuAbrir[] = "&Abrir tessora Service";
inline constexpr char kMenuSair[] = "&Sair";

// The history page.
inline constexpr char kFalhasEAvisos[] = "Falhas e avisos";
inline constexpr char kRotuloPesquisa[] = "Pesquisar:";
inline constexpr char kDicaPesquisa[] = "pedido, número ou cliente";
inline constexpr char kExportarCsv[] = "Exportar CSV...";
inline constexpr char kAbrirJanelaHistorico[] = "Abrir em janela";

// The history's own window, which the operator sizes to read it.
inline constexpr char kTituloJanelaHistorico[] = "Histórico - tessora Service";
inline constexpr int kLarguraJanelaHistorico = 960;  // design pixels, at first
inline constexpr int kAlturaJanelaHistorico = 600;
inline constexpr int kLarguraMinimaJanelaHistorico = 600;
inline constexpr int kAlturaMinimaJanelaHistorico = 300;

// The system notice.
inline constexpr char kTituloAviso[] = "Aviso do Sistema";
inline constexpr char kCienteAviso[] = "Estou ciente destas informações.";

}  // namespace tessora::app
