#include "api_substituta.h"

#include "certificado_teste.h"
#include "comum/texto.h"
#include "tools/api-substituta/linha_registro.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace tessora::testes {

namespace {
using namespace std::chrono_literals;

const std::filesystem::path kExecutavel =
    TESSORA_DIR_BUILD "/tools/api-substituta/tessoraApiSubstituta";

std::string LerArquivo(const std::filesystem::path& caminho) {
    std::ifstream entrada(caminho, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>());
}

// The server may read the file at any moment: it must never see half of it.
void GravarInteiro(const std::filesystem::path& caminho, std::string_view conteudo) {
    std::filesystem::path temporario = caminho;
    temporario += ".tmp";
    {
        std::ofstream saida(temporario, std::ios::binary | std::ios::trunc);
        saida.write(conteudo.data(), static_cast<std::streamsize>(conteudo.size()));
        if (!saida.flush()) throw std::runtime_error("não gravou " + temporario.string());
    }
    std::filesystem::rename(temporario, caminho);
}

std::string TextoJson(std::string_view texto) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string saida = "\"";
    for (const char c : texto) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            saida += '\\';
            saida += c;
        } else if (byte < 0x20) {
            saida += "\\u00";
            saida += kHex[byte >> 4];
            saida += kHex[byte & 0x0F];
        } else {
            saida += c;
        }
    }
    return saida + '"';
}

std::string Hex(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string saida;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        saida += kHex[byte >> 4];
        saida += kHex[byte & 0x0F];
    }
    return saida;
}

// Starts a program without a shell. `saida` becomes its standard output when given.
pid_t Iniciar(const std::vector<std::string>& argumentos, int saida = -1) {
    std::vector<char*> argv;
    for (const std::string& argumento : argumentos)
        argv.push_back(const_cast<char*>(argumento.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    if (saida >= 0) posix_spawn_file_actions_adddup2(&acoes, saida, STDOUT_FILENO);
    pid_t processo = -1;
    const int erro = posix_spawnp(&processo, argv[0], &acoes, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&acoes);
    if (erro != 0) throw std::runtime_error("não foi possível iniciar " + argumentos[0]);
    return processo;
}

// The first line the server writes, "porta=N", tells that it listens.
int LerPorta(int entrada) {
    std::string linha;
    const auto limite = std::chrono::steady_clock::now() + 10s;
    while (linha.find('\n') == std::string::npos) {
        const auto restante = std::chrono::duration_cast<std::chrono::milliseconds>(
            limite - std::chrono::steady_clock::now());
        pollfd espera{entrada, POLLIN, 0};
        if (restante.count() <= 0 || poll(&espera, 1, static_cast<int>(restante.count())) <= 0) {
            throw std::runtime_error("a API substituta não informou sua porta a tempo");
        }
        char bloco[64];
        const ssize_t lidos = read(entrada, bloco, sizeof bloco);
        if (lidos <= 0) throw std::runtime_error("a API substituta terminou sem abrir a porta");
        linha.append(bloco, static_cast<size_t>(lidos));
    }
    if (linha.rfind("porta=", 0) != 0) throw std::runtime_error("saída inesperada: " + linha);
    return std::atoi(linha.c_str() + 6);
}
}  // namespace

std::optional<std::string> RequisicaoRecebida::Cabecalho(std::string_view nome) const {
    for (const auto& [nomeCabecalho, valor] : cabecalhos) {
        if (IguaisSemCaixaAscii(nomeCabecalho, nome)) return valor;
    }
    return std::nullopt;
}

ApiSubstituta::ApiSubstituta(std::string_view estadoJson, OpcoesApiSubstituta opcoes) {
    std::string modelo = (std::filesystem::temp_directory_path() / "tessora-api-XXXXXX").string();
    if (mkdtemp(modelo.data()) == nullptr) throw std::runtime_error("não criou a pasta temporária");
    pasta_ = modelo;
    try {
        CriarCertificado(pasta_ / "chave.pem", pasta_ / "certificado.pem", opcoes.nomesCertificado,
                         opcoes.validade.first, opcoes.validade.second);
        DefinirEstado(estadoJson);
        GravarRegras();

        int tubo[2];
        // Close-on-exec keeps the write end out of other children; the spawn's dup2 clears it.
        if (pipe2(tubo, O_CLOEXEC) != 0) throw std::runtime_error("não criou o tubo para a porta");
        std::vector<std::string> argumentos = {kExecutavel.string(),
                                               "--porta",
                                               "0",
                                               "--certificado",
                                               (pasta_ / "certificado.pem").string(),
                                               "--chave",
                                               (pasta_ / "chave.pem").string(),
                                               "--estado",
                                               (pasta_ / "estado.json").string(),
                                               "--regras",
                                               (pasta_ / "regras.json").string(),
                                               "--registro",
                                               (pasta_ / "requisicoes.log").string(),
                                               "--falhas",
                                               (pasta_ / "falhas.json").string()};
        if (!opcoes.versaoTls.empty()) {
            argumentos.push_back("--tls");
            argumentos.push_back(opcoes.versaoTls);
        }
        try {
            processo_ = Iniciar(argumentos, tubo[1]);
        } catch (...) {
            close(tubo[0]);
            close(tubo[1]);
            throw;
        }
        close(tubo[1]);
        try {
            porta_ = LerPorta(tubo[0]);
        } catch (...) {
            close(tubo[0]);
            throw;
        }
        close(tubo[0]);
    } catch (...) {
        Encerrar();
        throw;
    }
}

ApiSubstituta::~ApiSubstituta() { Encerrar(); }

void ApiSubstituta::Encerrar() noexcept {
    if (processo_ > 0) {
        kill(processo_, SIGTERM);
        int situacao = 0;
        const auto limite = std::chrono::steady_clock::now() + 5s;
        while (waitpid(processo_, &situacao, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > limite) {
                kill(processo_, SIGKILL);
                waitpid(processo_, &situacao, 0);
                break;
            }
            std::this_thread::sleep_for(10ms);
        }
        processo_ = -1;
    }
    std::error_code ignorado;
    std::filesystem::remove_all(pasta_, ignorado);
}

std::string ApiSubstituta::UrlBase() const {
    return "https://127.0.0.1:" + std::to_string(porta_) + "/api";
}

std::string ApiSubstituta::ArquivoCertificado() const {
    return (pasta_ / "certificado.pem").string();
}

void ApiSubstituta::DefinirEstado(std::string_view estadoJson) const {
    GravarInteiro(pasta_ / "estado.json", estadoJson);
}

std::string ApiSubstituta::LerEstado() const { return LerArquivo(pasta_ / "estado.json"); }

std::vector<RequisicaoRecebida> ApiSubstituta::Requisicoes() const {
    using api_substituta::DesescaparCampoRegistro;
    std::vector<RequisicaoRecebida> requisicoes;
    std::istringstream linhas(LerArquivo(pasta_ / "requisicoes.log"));
    for (std::string linha; std::getline(linhas, linha);) {
        const auto campos = api_substituta::DividirLinhaRegistro(linha);
        if (campos.size() < 5) throw std::runtime_error("linha de registro incompleta: " + linha);
        RequisicaoRecebida requisicao{
            DesescaparCampoRegistro(campos[0]), DesescaparCampoRegistro(campos[1]),
            DesescaparCampoRegistro(campos[2]), DesescaparCampoRegistro(campos[3]),
            DesescaparCampoRegistro(campos[4]), {}};
        for (size_t i = 5; i < campos.size(); ++i) {
            const std::string cabecalho = DesescaparCampoRegistro(campos[i]);
            const size_t separador = cabecalho.find(": ");
            requisicao.cabecalhos.emplace_back(
                cabecalho.substr(0, separador),
                separador == std::string::npos ? "" : cabecalho.substr(separador + 2));
        }
        requisicoes.push_back(std::move(requisicao));
    }
    return requisicoes;
}

void ApiSubstituta::DefinirRegra(RegraApiSubstituta regra) {
    std::erase_if(regras_, [&](const RegraApiSubstituta& existente) {
        return existente.metodo == regra.metodo && existente.caminho == regra.caminho;
    });
    regras_.push_back(std::move(regra));
    GravarRegras();
}

void ApiSubstituta::RemoverRegras() {
    regras_.clear();
    GravarRegras();
}

void ApiSubstituta::DefinirFalhas(const FalhasAleatorias& falhas) const {
    GravarInteiro(pasta_ / "falhas.json",
                  "{\"semente\":" + std::to_string(falhas.semente) +
                      ",\"percentual\":" + std::to_string(falhas.percentual) +
                      ",\"atraso_ms\":" + std::to_string(falhas.atraso.count()) + "}");
}

void ApiSubstituta::GravarRegras() const {
    std::string json = "[";
    for (const RegraApiSubstituta& regra : regras_) {
        if (json.size() > 1) json += ',';
        json += "{\"caminho\":" + TextoJson(regra.caminho);
        if (!regra.metodo.empty()) json += ",\"metodo\":" + TextoJson(regra.metodo);
        json += ",\"status\":" + std::to_string(regra.status);
        json += ",\"tipo_conteudo\":" + TextoJson(regra.tipoConteudo);
        json += ",\"corpo_hex\":\"" + Hex(regra.corpo) + "\"";
        json += ",\"atraso_ms\":" + std::to_string(regra.atraso.count());
        json += std::string(",\"derrubar\":") + (regra.derrubarConexao ? "true" : "false");
        json += ",\"gotejamento_ms\":" + std::to_string(regra.gotejamento.count());
        json += ",\"cabecalhos\":{";
        for (size_t i = 0; i < regra.cabecalhos.size(); ++i) {
            if (i > 0) json += ',';
            json +=
                TextoJson(regra.cabecalhos[i].first) + ':' + TextoJson(regra.cabecalhos[i].second);
        }
        json += "}}";
    }
    GravarInteiro(pasta_ / "regras.json", json + "]");
}

}  // namespace tessora::testes
