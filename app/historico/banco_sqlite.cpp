#include "app/historico/banco_sqlite.h"

#include <sqlite3.h>

#include "comum/erros.h"
#include "comum/texto.h"

namespace tessora::app {

namespace {
// Long enough for a reader and the run to take turns on the file.
constexpr int kEsperaOcupadoMs = 5000;
}  // namespace

void BancoSqlite::Fechar::operator()(sqlite3* banco) const { sqlite3_close(banco); }

BancoSqlite::BancoSqlite(const std::filesystem::path& arquivo, Modo modo) : arquivo_(arquivo) {
    const int flags =
        modo == Modo::Gravacao ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
    sqlite3* banco = nullptr;
    const int codigo = sqlite3_open_v2(TextoCaminho(arquivo).c_str(), &banco, flags, nullptr);
    banco_.reset(banco);  // a failed open still hands back a handle to close
    if (codigo != SQLITE_OK) Falhar();
    sqlite3_busy_timeout(banco, kEsperaOcupadoMs);
}

void BancoSqlite::Executar(std::string_view comandos) {
    if (sqlite3_exec(banco_.get(), std::string(comandos).c_str(), nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        Falhar();
    }
}

int64_t BancoSqlite::UltimaChave() const { return sqlite3_last_insert_rowid(banco_.get()); }

void BancoSqlite::Falhar() const {
    const char* mensagem = banco_ ? sqlite3_errmsg(banco_.get()) : "out of memory";
    throw Erro(std::string(mensagem) + " (" + TextoCaminho(arquivo_) + ")");
}

TransacaoSqlite::~TransacaoSqlite() {
    // The failure that left the transaction is the one worth telling.
    if (aberta_) sqlite3_exec(banco_.Handle(), "rollback", nullptr, nullptr, nullptr);
}

void TransacaoSqlite::Confirmar() {
    banco_.Executar("commit");
    aberta_ = false;
}

void ComandoSqlite::Finalizar::operator()(sqlite3_stmt* comando) const {
    sqlite3_finalize(comando);
}

ComandoSqlite::ComandoSqlite(BancoSqlite& banco, std::string_view comando) : banco_(banco) {
    sqlite3_stmt* preparado = nullptr;
    if (sqlite3_prepare_v2(banco.Handle(), comando.data(), static_cast<int>(comando.size()),
                           &preparado, nullptr) != SQLITE_OK) {
        banco.Falhar();
    }
    comando_.reset(preparado);
}

ComandoSqlite& ComandoSqlite::Ligar(int parametro, int64_t valor) {
    if (sqlite3_bind_int64(comando_.get(), parametro, valor) != SQLITE_OK) banco_.Falhar();
    return *this;
}

ComandoSqlite& ComandoSqlite::Ligar(int parametro, std::string_view valor) {
    // SQLite binds a null pointer as NULL, not as the empty text that an empty view is.
    const char* const texto = valor.data() != nullptr ? valor.data() : "";
    if (sqlite3_bind_text64(comando_.get(), parametro, texto, valor.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8) != SQLITE_OK) {
        banco_.Falhar();
    }
    return *this;
}

ComandoSqlite& ComandoSqlite::Ligar(int parametro, std::optional<int64_t> valor) {
    if (valor) return Ligar(parametro, *valor);
    if (sqlite3_bind_null(comando_.get(), parametro) != SQLITE_OK) banco_.Falhar();
    return *this;
}

bool ComandoSqlite::Proximo() {
    const int codigo = sqlite3_step(comando_.get());
    if (codigo == SQLITE_ROW) return true;
    if (codigo == SQLITE_DONE) return false;
    banco_.Falhar();
}

int64_t ComandoSqlite::Inteiro(int coluna) const {
    return sqlite3_column_int64(comando_.get(), coluna);
}

std::optional<int64_t> ComandoSqlite::InteiroOuNulo(int coluna) const {
    if (sqlite3_column_type(comando_.get(), coluna) == SQLITE_NULL) return std::nullopt;
    return Inteiro(coluna);
}

std::string ComandoSqlite::Texto(int coluna) const {
    const auto* texto = sqlite3_column_text(comando_.get(), coluna);
    if (!texto) return {};
    return {reinterpret_cast<const char*>(texto),
            static_cast<size_t>(sqlite3_column_bytes(comando_.get(), coluna))};
}

}  // namespace tessora::app
