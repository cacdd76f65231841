#include "servidor_api.h"

#include <openssl/ssl.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <vector>

#include "estado_api.h"
#include "linha_registro.h"
#include "regras_api.h"

namespace tessora::api_substituta {

namespace {
constexpr const char* kTipoJson = "application/json; charset=utf-8";

void ResponderJson(httplib::Response& resposta, int status, const std::string& corpo) {
    resposta.status = status;
    resposta.set_content(corpo, kTipoJson);
}

void ResponderFalha(httplib::Response& resposta, int status, std::string_view mensagem) {
    ResponderJson(resposta, status,
                  "{\"success\":false,\"message\":\"" + std::string(mensagem) + "\"}");
}

// Ids travel percent-encoded; an incomplete escape stays as it is.
std::string DecodificarPercentual(std::string_view texto) {
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string saida;
    for (size_t i = 0; i < texto.size(); ++i) {
        if (texto[i] == '%' && i + 2 < texto.size() && hex(texto[i + 1]) >= 0 &&
            hex(texto[i + 2]) >= 0) {
            saida += static_cast<char>(hex(texto[i + 1]) * 16 + hex(texto[i + 2]));
            i += 2;
        } else {
            saida += texto[i];
        }
    }
    return saida;
}

std::vector<std::string_view> Segmentos(std::string_view caminho) {
    std::vector<std::string_view> segmentos;
    for (size_t inicio = 0;;) {
        const size_t fim = caminho.find('/', inicio);
        segmentos.push_back(
            caminho.substr(inicio, fim == std::string_view::npos ? fim : fim - inicio));
        if (fim == std::string_view::npos) break;
        inicio = fim + 1;
    }
    return segmentos;
}

std::string AgoraIsoUtc() {
    const auto agora = std::chrono::system_clock::now();
    const std::time_t segundos = std::chrono::system_clock::to_time_t(agora);
    const auto milissegundos =
        std::chrono::duration_cast<std::chrono::milliseconds>(agora.time_since_epoch()).count() %
        1000;
    std::tm utc{};
    gmtime_r(&segundos, &utc);
    char texto[40];
    const size_t tamanho = std::strftime(texto, sizeof texto, "%Y-%m-%dT%H:%M:%S", &utc);
    char fracao[8];
    std::snprintf(fracao, sizeof fracao, ".%03dZ", static_cast<int>(milissegundos));
    return std::string(texto, tamanho) + fracao;
}

// httplib adds the peer's and its own address to the request as pseudo headers.
bool EhCabecalhoInterno(const std::string& nome) {
    return nome == "REMOTE_ADDR" || nome == "REMOTE_PORT" || nome == "LOCAL_ADDR" ||
           nome == "LOCAL_PORT";
}

// Closes the TCP connection under the TLS session, so the client receives no answer at all.
void DerrubarConexao(const httplib::Request& requisicao) {
    if (requisicao.ssl == nullptr) return;
    const int socket = SSL_get_fd(requisicao.ssl);
    if (socket >= 0) shutdown(socket, SHUT_RDWR);
}

// Whether the request came on a connection that carried an earlier one; marks it for the next.
// The mark lives in the TLS session's object, which ends with its connection.
bool ConexaoReutilizada(const httplib::Request& requisicao) {
    static const int indice = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    static int marca = 0;
    if (requisicao.ssl == nullptr || indice < 0) return false;
    SSL* const sessao = const_cast<SSL*>(requisicao.ssl);
    const bool reutilizada = SSL_get_ex_data(sessao, indice) != nullptr;
    SSL_set_ex_data(sessao, indice, &marca);
    return reutilizada;
}
}  // namespace

ServidorApi::ServidorApi(ArquivosServidor arquivos) : arquivos_(std::move(arquivos)) {}

void ServidorApi::Atender(const httplib::Request& requisicao, httplib::Response& resposta) {
    const std::string_view alvo = requisicao.target;
    const size_t interrogacao = alvo.find('?');
    const std::string_view caminho = alvo.substr(0, interrogacao);
    const std::string_view consulta =
        interrogacao == std::string_view::npos ? std::string_view() : alvo.substr(interrogacao + 1);
    try {
        const bool reutilizada = ConexaoReutilizada(requisicao);
        Registrar(requisicao, caminho, consulta);
        const std::optional<ConfiguracaoFalhas> falhas =
            arquivos_.falhas.empty() ? std::nullopt : LerConfiguracaoFalhas(arquivos_.falhas);
        const Falha falha = SortearFalha(falhas);
        if (const auto regra = RegraPara(LerRegras(arquivos_.regras), requisicao.method, caminho)) {
            if (!Esperar(regra->atraso) || regra->derrubar ||
                (regra->derrubarReutilizada && reutilizada)) {
                DerrubarConexao(requisicao);
                return;
            }
            resposta.status = regra->status;
            for (const auto& [nome, valor] : regra->cabecalhos) resposta.set_header(nome, valor);
            if (regra->gotejamento.count() > 0) return Gotejar(*regra, resposta);
            resposta.set_content(regra->corpo, regra->tipoConteudo.c_str());
            return;
        }
        switch (falha) {
            case Falha::Nenhuma:
                break;
            case Falha::Status500:
                return ResponderFalha(resposta, 500, "Erro interno simulado");
            case Falha::Status503:
                resposta.status = 503;
                resposta.set_content("<html><body>Service Unavailable</body></html>",
                                     "text/html; charset=utf-8");
                return;
            case Falha::CorpoInvalido:
                return ResponderJson(resposta, 200, "{\"success\":true,\"data\":{\"id\":");
            case Falha::ConexaoDerrubada:
                return DerrubarConexao(requisicao);
            case Falha::RespostaAtrasada:
                if (!Esperar(falhas->atraso)) return DerrubarConexao(requisicao);
                break;
        }
        ResponderPelaApi(requisicao, caminho, resposta);
    } catch (const std::exception& erro) {
        std::cerr << "tessoraApiSubstituta: " << erro.what() << std::endl;
        resposta.status = 500;
        resposta.set_content(erro.what(), "text/plain; charset=utf-8");
    }
}

void ServidorApi::ResponderPelaApi(const httplib::Request& requisicao, std::string_view caminho,
                                   httplib::Response& resposta) {
    const std::lock_guard trava(mutexEstado_);
    const EstadoApi& estado = EstadoAtual();
    // HTTP drops blanks at the end of a field value, so an empty token arrives as "Bearer".
    std::string esperado = "Bearer " + estado.Token();
    while (!esperado.empty() && (esperado.back() == ' ' || esperado.back() == '\t'))
        esperado.pop_back();
    if (requisicao.get_header_value("Authorization") != esperado) {
        return ResponderFalha(resposta, 401, "Token inválido");
    }
    const std::vector<std::string_view> segmentos = Segmentos(caminho);
    const bool naApi = segmentos.size() >= 3 && segmentos[0].empty() && segmentos[1] == "api";
    const std::string_view recurso = naApi ? segmentos[2] : std::string_view();
    const std::string& metodo = requisicao.method;

    if (recurso == "pedidos" && segmentos.size() == 3 && metodo == "GET") {
        std::string corpo = "{\"success\":true,\"data\":[";
        bool primeiro = true;
        for (const std::string_view pedido : estado.Pedidos()) {
            if (!primeiro) corpo += ',';
            corpo += pedido;
            primeiro = false;
        }
        return ResponderJson(resposta, 200, corpo + "]}");
    }
    if ((recurso == "pedidos" || recurso == "clientes") && segmentos.size() == 4 &&
        metodo == "GET") {
        const std::string id = DecodificarPercentual(segmentos[3]);
        const auto objeto = recurso == "pedidos" ? estado.Pedido(id) : estado.Cliente(id);
        if (!objeto) {
            return ResponderFalha(
                resposta, 404,
                recurso == "pedidos" ? "Pedido não encontrado" : "Cliente não encontrado");
        }
        return ResponderJson(resposta, 200,
                             "{\"success\":true,\"data\":" + std::string(*objeto) + "}");
    }
    if (recurso == "pedidos" && segmentos.size() == 5 && segmentos[4] == "erp-registro" &&
        metodo == "PATCH") {
        if (!estado_->RegistrarErp(DecodificarPercentual(segmentos[3]), AgoraIsoUtc()))
            return ResponderFalha(resposta, 404, "Pedido não encontrado");
        GravarEstado();
        return ResponderJson(resposta, 200,
                             R"({"success":true,"message":"Pedido registrado no ERP"})");
    }
    ResponderFalha(resposta, 404, "Recurso não encontrado");
}

// The file's identity and version: a rewrite through a rename brings a new inode, one in place
// a new modification time.
ServidorApi::MarcaArquivo ServidorApi::Marca(const std::filesystem::path& arquivo) {
    struct stat dados {};
    if (stat(arquivo.c_str(), &dados) != 0) {
        throw std::runtime_error("não foi possível ler " + arquivo.string());
    }
    return {dados.st_ino, dados.st_size, dados.st_mtim.tv_sec, dados.st_mtim.tv_nsec};
}

const EstadoApi& ServidorApi::EstadoAtual() {
    const MarcaArquivo marca = Marca(arquivos_.estado);
    if (!estado_ || marca != marcaEstado_) {
        estado_.emplace(LerArquivoInteiro(arquivos_.estado));
        marcaEstado_ = marca;
    }
    return *estado_;
}

void ServidorApi::GravarEstado() {
    GravarArquivoInteiro(arquivos_.estado, estado_->Texto());
    marcaEstado_ = Marca(arquivos_.estado);
}

void ServidorApi::Registrar(const httplib::Request& requisicao, std::string_view caminho,
                            std::string_view consulta) {
    const char* const versaoTls = requisicao.ssl != nullptr ? SSL_get_version(requisicao.ssl) : "";
    std::string linha = EscaparCampoRegistro(requisicao.method) + '\t' +
                        EscaparCampoRegistro(caminho) + '\t' + EscaparCampoRegistro(consulta) +
                        '\t' + EscaparCampoRegistro(versaoTls) + '\t' +
                        EscaparCampoRegistro(requisicao.body);
    for (const auto& [nome, valor] : requisicao.headers) {
        if (!EhCabecalhoInterno(nome)) linha += '\t' + EscaparCampoRegistro(nome + ": " + valor);
    }
    const std::lock_guard trava(mutexRegistro_);
    std::ofstream registro(arquivos_.registro, std::ios::binary | std::ios::app);
    registro << linha << '\n' << std::flush;
}

Falha ServidorApi::SortearFalha(const std::optional<ConfiguracaoFalhas>& configuracao) {
    const std::lock_guard trava(mutexFalhas_);
    return sorteio_.Sortear(configuracao);
}

void ServidorApi::Gotejar(const RegraApi& regra, httplib::Response& resposta) {
    resposta.set_chunked_content_provider(
        regra.tipoConteudo, [this, corpo = regra.corpo, pausa = regra.gotejamento](
                                size_t enviados, httplib::DataSink& destino) {
            if (enviados >= corpo.size()) {
                destino.done();
                return true;
            }
            return Esperar(pausa) && destino.write(corpo.data() + enviados, 1);
        });
}

bool ServidorApi::Esperar(std::chrono::milliseconds atraso) {
    std::unique_lock trava(mutexEspera_);
    return !espera_.wait_for(trava, atraso, [this] { return encerrando_; });
}

void ServidorApi::Encerrar() {
    {
        const std::lock_guard trava(mutexEspera_);
        encerrando_ = true;
    }
    espera_.notify_all();
}

}  // namespace tessora::api_substituta
