#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tessora::app {

// One SQLite database file. Failures raise Erro with SQLite's message and the file's path.
class BancoSqlite {
  public:
    enum class Modo { Gravacao, Leitura };  // Gravacao creates the file when missing

    BancoSqlite(const std::filesystem::path& arquivo, Modo modo);

    // Statements without results, separated by ";".
    void Executar(std::string_view comandos);
    int64_t UltimaChave() const;

    sqlite3* Handle() const { return banco_.get(); }
    [[noreturn]] void Falhar() const;

  private:
    struct Fechar {
        void operator()(sqlite3* banco) const;
    };
    std::filesystem::path arquivo_;
    std::unique_ptr<sqlite3, Fechar> banco_;
};

// A write transaction, taken at once so that a reader never sees half of it; undone
// unless confirmed.
class TransacaoSqlite {
  public:
    explicit TransacaoSqlite(BancoSqlite& banco) : banco_(banco) {
        banco_.Executar("begin immediate");
    }
    ~TransacaoSqlite();
    TransacaoSqlite(const TransacaoSqlite&) = delete;
    TransacaoSqlite& operator=(const TransacaoSqlite&) = delete;
    void Confirmar();

  private:
    BancoSqlite& banco_;
    bool aberta_ = true;
};

// A prepared statement; parameters are numbered from 1, columns from 0.
class ComandoSqlite {
  public:
    ComandoSqlite(BancoSqlite& banco, std::string_view comando);

    ComandoSqlite& Ligar(int parametro, int64_t valor);
    ComandoSqlite& Ligar(int parametro, std::string_view valor);
    ComandoSqlite& Ligar(int parametro, std::optional<int64_t> valor);  // nothing: null
    // True while a row is there to read.
    bool Proximo();

    int64_t Inteiro(int coluna) const;
    std::optional<int64_t> InteiroOuNulo(int coluna) const;
    std::string Texto(int coluna) const;

  private:
    struct Finalizar {
        void operator()(sqlite3_stmt* comando) const;
    };
    BancoSqlite& banco_;
    std::unique_ptr<sqlite3_stmt, Finalizar> comando_;
};

}  // namespace tessora::app
