#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "db/alca_firebird.h"

namespace tessora::db {

// The one ERP connection of a piece of work: an attachment with the ERP's fixed
// credentials and no character set (the ERP keeps Windows-1252 bytes), and its default
// transaction, started by the first statement that needs it.
class ConexaoErp {
  public:
    // Receives the text of every statement, as composed, before it is sent.
    using RastroComandos = std::function<void(std::string_view)>;
    // A read-only connection's transactions refuse every write with an error, so work that
    // must change nothing cannot do so unnoticed.
    enum class Acesso { LeituraEscrita, SomenteLeitura };

    // Nothing is opened yet; the name is kept with its surrounding blanks removed.
    explicit ConexaoErp(std::string_view nomeBanco, Acesso acesso = Acesso::LeituraEscrita);
    ~ConexaoErp();
    ConexaoErp(const ConexaoErp&) = delete;
    ConexaoErp& operator=(const ConexaoErp&) = delete;

    const std::string& NomeBanco() const { return nomeBanco_; }
    // The process name that the server shows for this connection in its monitoring tables,
    // with this process's id (otherwise the client library's own choice); takes effect at the
    // next Abrir.
    void DefinirProcesso(std::string nome) { processo_ = std::move(nome); }

    // Attaches; a refused attach raises ErroBancoDados and leaves the connection closed.
    void Abrir();
    bool Aberta() const { return anexo_ != AlcaFirebird{}; }
    // Commits the active transaction, then detaches. Does nothing when closed.
    void Fechar();

    // Makes the work so far permanent and keeps the transaction open.
    void ConfirmarRetendo();
    // Ends the transaction: its work made permanent, or undone. The next statement starts a
    // fresh one. Nothing happens when no transaction is active.
    void Confirmar();
    void Desfazer();
    // Whether the active transaction holds writes that no commit has made permanent yet.
    bool EscritaPendente() const { return escritaPendente_; }
    void MarcarEscrita() noexcept { escritaPendente_ = true; }

    void DefinirRastro(RastroComandos rastro) { rastro_ = std::move(rastro); }

    // For the statement runners: the attachment and the default transaction (started here).
    AlcaFirebird* Anexo();
    AlcaFirebird* Transacao();
    void Rastrear(std::string_view comando) const;

  private:
    void Desanexar();

    std::string nomeBanco_;
    Acesso acesso_;
    std::string processo_;
    AlcaFirebird anexo_{};
    AlcaFirebird transacao_{};  // ended before the attachment
    bool escritaPendente_ = false;
    RastroComandos rastro_;
};

}  // namespace tessora::db
