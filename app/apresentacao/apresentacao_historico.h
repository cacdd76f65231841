#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/apresentacao/colunas_historico.h"
#include "app/historico/leitura_historico.h"

namespace tessora::app {

// Where the page's runs come from, oldest first: nothing while no history has been recorded;
// an exception when it cannot be read.
using LeituraPaginaHistorico =
    std::function<std::optional<std::vector<ExecucaoRegistrada>>(const FiltroHistorico& filtro)>;
LeituraPaginaHistorico LeituraDoArquivo(std::filesystem::path arquivo);

// Enough to see the last days of automatic runs; older ones are found by the search.
inline constexpr int64_t kExecucoesMostradas = 500;

// The export's save dialog.
inline constexpr char kTituloExportacaoCsv[] = "Exportar histórico";
inline constexpr char kArquivoExportacaoCsv[] = "historico.csv";
inline constexpr char kTipoArquivoCsv[] = "Arquivos CSV (*.csv)";
inline constexpr char kTipoTodosArquivos[] = "Todos (*)";

// The page of recorded runs, apart from any toolkit: the latest runs that the filter lets
// through (newest first), the orders of the selected one, the line that says why there are
// none, and the export of what is shown. The window forwards the filter's inputs and the
// operator's choice of a run, and draws the rows.
class ApresentacaoHistorico {
  public:
    explicit ApresentacaoHistorico(LeituraPaginaHistorico leitura);

    // The filter's inputs; they apply at the next Atualizar.
    // "Falhas e avisos": the runs and orders that failed or were written with a warning.
    void DefinirFalhasEAvisos(bool falhasEAvisos) { falhasEAvisos_ = falhasEAvisos; }
    void DefinirPesquisa(std::string_view digitado);

    // Reads the runs again and says which row to select: an older run selected stays selected
    // while it is shown, and whoever looks at the newest goes on to the newest after a new one.
    std::optional<size_t> Atualizar();
    // The operator selected this row, or no row: true when the orders shown change.
    bool Selecionar(std::optional<size_t> linha);
    // The list let go of this row's selection.
    bool Desmarcar(size_t linha);

    const std::vector<LinhaGrade>& Execucoes() const { return linhasExecucoes_; }
    // Of the selected run; none without one.
    const std::vector<LinhaGrade>& Pedidos() const { return linhasPedidos_; }
    std::optional<size_t> LinhaSelecionada() const { return selecionada_; }
    // Empty while runs are shown, or why none are.
    const std::string& Situacao() const { return situacao_; }

    // Writes the runs shown, with their orders, for a spreadsheet (EscreverPlanilhaHistorico);
    // what to tell the operator when the file could not be written.
    std::optional<std::string> ExportarCsv(const std::filesystem::path& arquivo) const;

  private:
    const ExecucaoRegistrada& Execucao(size_t linha) const;

    LeituraPaginaHistorico leitura_;
    bool falhasEAvisos_ = false;
    std::string pesquisa_;
    std::vector<ExecucaoRegistrada> execucoes_;  // oldest first, as read
    std::vector<LinhaGrade> linhasExecucoes_;
    std::vector<LinhaGrade> linhasPedidos_;
    std::optional<size_t> selecionada_;
    std::string situacao_;
};

}  // namespace tessora::app
