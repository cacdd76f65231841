#include "db/biblioteca_cliente.h"

#include <optional>
#include <type_traits>

#include "comum/erros.h"
#include "comum/texto.h"
#include "plataforma/biblioteca_dinamica.h"

namespace tessora::db {

namespace {
using plataforma::CargaBiblioteca;
using plataforma::FalhaCarga;

std::string Juntar(const std::vector<std::string>& nomes) {
    std::string lista;
    for (const std::string& nome : nomes) lista += (lista.empty() ? "" : ", ") + nome;
    return lista;
}

std::string MensagemRecusa(const CargaBiblioteca& carga) {
    if (carga.falha == FalhaCarga::OutraArquitetura) {
        const std::string bits = std::to_string(plataforma::BitsBinario(carga.caminho));
        return "A biblioteca cliente do Firebird " + TextoCaminho(carga.caminho) + " é de " + bits +
               " bits e este programa é de " + std::to_string(plataforma::kBitsPrograma) +
               " bits: use a versão de " + bits + " bits do tessora Service";
    }
    return "O arquivo " + TextoCaminho(carga.caminho) +
           " não pôde ser carregado como biblioteca cliente do Firebird: " + carga.detalhe;
}

std::string MensagemSemFuncao(const std::filesystem::path& caminho, const char* funcao) {
    return "A biblioteca cliente do Firebird " + TextoCaminho(caminho) + " não oferece " + funcao;
}

// The library's functions; the name of the first required one it lacks, if any.
struct Resolucao {
    FuncoesCliente funcoes{};
    const char* falta = nullptr;
};

Resolucao ResolverFuncoes(void* modulo) {
    Resolucao r;
    const auto resolver = [&](const char* nome, auto& funcao, bool exigida) {
        funcao = reinterpret_cast<std::remove_reference_t<decltype(funcao)>>(
            plataforma::EnderecoFuncao(modulo, nome));
        if (!funcao && exigida && !r.falta) r.falta = nome;
    };
#define TESSORA_EXIGIR(nome) resolver(#nome, r.funcoes.nome, true)
    TESSORA_EXIGIR(isc_attach_database);
    TESSORA_EXIGIR(isc_create_database);
    TESSORA_EXIGIR(isc_detach_database);
    TESSORA_EXIGIR(isc_start_transaction);
    TESSORA_EXIGIR(isc_commit_retaining);
    TESSORA_EXIGIR(isc_commit_transaction);
    TESSORA_EXIGIR(isc_rollback_transaction);
    TESSORA_EXIGIR(isc_dsql_allocate_statement);
    TESSORA_EXIGIR(isc_dsql_prepare);
    TESSORA_EXIGIR(isc_dsql_describe);
    TESSORA_EXIGIR(isc_dsql_sql_info);
    TESSORA_EXIGIR(isc_dsql_execute);
    TESSORA_EXIGIR(isc_dsql_execute2);
    TESSORA_EXIGIR(isc_dsql_fetch);
    TESSORA_EXIGIR(isc_dsql_free_statement);
    TESSORA_EXIGIR(isc_open_blob2);
    TESSORA_EXIGIR(isc_get_segment);
    TESSORA_EXIGIR(isc_close_blob);
    TESSORA_EXIGIR(isc_interprete);
#undef TESSORA_EXIGIR
    resolver("fb_interpret", r.funcoes.fb_interpret, false);
    return r;
}
}  // namespace

const std::vector<std::string>& NomesBibliotecaCliente() {
#ifdef _WIN32
    static const std::vector<std::string> nomes = {"gds32.dll", "fbclient.dll"};
#else
    static const std::vector<std::string> nomes = {"libfbclient.so.2"};
#endif
    return nomes;
}

FuncoesCliente CarregarClienteFirebird(const std::filesystem::path& pastaPrograma,
                                       const std::vector<std::string>& nomes) {
    // A later name may still serve; the first refusal explains best why none did.
    std::optional<std::string> primeiraFalha;
    for (const std::string& nome : nomes) {
        const CargaBiblioteca carga = plataforma::CarregarBiblioteca(pastaPrograma, nome);
        if (carga.falha == FalhaCarga::NaoEncontrada) continue;
        if (carga.falha != FalhaCarga::Nenhuma) {
            if (!primeiraFalha) primeiraFalha = MensagemRecusa(carga);
            continue;
        }
        const Resolucao resolucao = ResolverFuncoes(carga.modulo);
        if (!resolucao.falta) return resolucao.funcoes;
        if (!primeiraFalha) primeiraFalha = MensagemSemFuncao(carga.caminho, resolucao.falta);
    }
    throw ErroBancoDados(
        primeiraFalha.value_or("A biblioteca cliente do Firebird (" + Juntar(nomes) +
                               ") não foi encontrada na pasta do programa nem no sistema"));
}

}  // namespace tessora::db
