#include "api_substituta.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "comum/texto.h"
#include "tools/api-substituta/linha_registro.h"

namespace tessora::testes {

namespace {
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

}  // namespace

std::optional<std::string> RequisicaoRecebida::Cabecalho(std::string_view nome) const {
    for (const auto& [nomeCabecalho, valor] : cabecalhos) {
        if (IguaisSemCaixaAscii(nomeCabecalho, nome)) return valor;
    }
    return std::nullopt;
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
        json += std::string(",\"derrubar_reutilizada\":") +
                (regra.derrubarConexaoReutilizada ? "true" : "false");
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
