#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/historico/banco_sqlite.h"

namespace tessora::app {

struct PedidoRegistrado {
    std::string idApp;
    std::string desfecho;  // a code of the history: "incluido", "incluido_com_aviso",
                           // "ja_incluido", "adiado", "nao_incluido", "erro"
    std::string mensagem;
    std::optional<int64_t> idNfComercio;
    std::optional<int64_t> nrNotaFiscal;
    std::optional<int64_t> clienteCadastrado;  // 1 or 0
    int64_t falhasSeguidas = 0;
    std::string observacao;
    std::string cliente;  // as the order names it; empty when its document was not read

    bool Falhou() const;    // not written: an error, or a refused import
    bool ComAviso() const;  // written otherwise than sent; the reasons in `observacao`
};

struct ExecucaoRegistrada {
    int64_t id = 0;
    std::string origem;
    int64_t inicio = 0;
    std::optional<int64_t> termino;  // nothing while it runs, or when its program ended during it
    std::string desfecho;            // empty until it ends
    std::string motivo;
    std::string problema;  // CodigoProblema; empty for none
    // `incluidos` counts the orders written, `comAviso` those of them written with a warning.
    int64_t incluidos = 0, jaIncluidos = 0, adiados = 0, naoIncluidos = 0, erros = 0, comAviso = 0;
    std::vector<PedidoRegistrado> pedidos;

    int64_t Falhas() const { return naoIncluidos + erros; }
    // Did not end normally, or had failed orders; a run still going has not failed yet.
    bool Falhou() const;
};

// An order whose latest outcome is a failure.
struct PedidoEmFalha {
    std::string idApp;
    int64_t falhasSeguidas = 0;
    int64_t desde = 0;  // start of the run of its first failure in a row
    int64_t ultimaFalha = 0;
    std::string mensagem;    // of the latest failure
    std::string observacao;  // its remark: the database's reason for refusing the order
};

struct FiltroHistorico {
    std::optional<int64_t> desde{};  // runs started from then on
    // Runs that did not end normally or had failed orders, with only those orders; with
    // `comAvisos`, also the runs and orders written with a warning.
    bool soFalhas = false;
    bool comAvisos = false;
    // Runs with an order whose id, ERP number or customer holds this text (ASCII letters in any
    // case), with only those orders; empty: all.
    std::string pesquisa{};
    std::optional<int64_t> ultimas{};  // only the latest runs that match
};

// Reads the history file without changing it.
class LeituraHistorico {
  public:
    explicit LeituraHistorico(const std::filesystem::path& arquivo);

    // Oldest first, each with its orders in the order they were processed.
    std::vector<ExecucaoRegistrada> Execucoes(const FiltroHistorico& filtro);
    // The latest runs, newest first, without their orders.
    std::vector<ExecucaoRegistrada> UltimasExecucoes(int quantidade);
    // Longest-failing first.
    std::vector<PedidoEmFalha> PedidosEmFalha();

  private:
    BancoSqlite banco_;
};

}  // namespace tessora::app
