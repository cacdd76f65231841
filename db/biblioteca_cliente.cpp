#include "db/biblioteca_cliente.h"

#include <firebird/Interface.h>

#include <optional>

#include "comum/erros.h"
#include "comum/texto.h"
#include "plataforma/biblioteca_dinamica.h"

namespace tessora::db {

namespace {
using plataforma::CargaBiblioteca;
using plataforma::FalhaCarga;

constexpr const char* kFuncaoMestre = "fb_get_master_interface";

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

std::string MensagemSemFuncao(const std::filesystem::path& caminho) {
    return "A biblioteca cliente do Firebird " + TextoCaminho(caminho) + " não oferece " +
           kFuncaoMestre + " (é necessário o Firebird 3 ou mais recente)";
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

Firebird::IMaster* CarregarClienteFirebird(const std::filesystem::path& pastaPrograma,
                                           const std::vector<std::string>& nomes) {
    using FuncaoMestre = decltype(&Firebird::fb_get_master_interface);
    // A later name may still serve; the first refusal explains best why none did.
    std::optional<std::string> primeiraFalha;
    for (const std::string& nome : nomes) {
        const CargaBiblioteca carga = plataforma::CarregarBiblioteca(pastaPrograma, nome);
        if (carga.falha == FalhaCarga::NaoEncontrada) continue;
        if (carga.falha != FalhaCarga::Nenhuma) {
            if (!primeiraFalha) primeiraFalha = MensagemRecusa(carga);
            continue;
        }
        if (void* funcao = plataforma::EnderecoFuncao(carga.modulo, kFuncaoMestre)) {
            return reinterpret_cast<FuncaoMestre>(funcao)();
        }
        if (!primeiraFalha) primeiraFalha = MensagemSemFuncao(carga.caminho);
    }
    throw ErroBancoDados(
        primeiraFalha.value_or("A biblioteca cliente do Firebird (" + Juntar(nomes) +
                               ") não foi encontrada na pasta do programa nem no sistema"));
}

}  // namespace tessora::db
