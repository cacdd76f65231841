// Starting and ending the substitute API from a test program under Wine: the server is the
// Linux program, run by the Linux helper tessoraApiSubstitutaAuxiliar, which Wine starts like
// a Windows program. Both sides reach the helper's files through Wine's mapping of Linux paths.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "api_substituta.h"
#include "arquivos_teste.h"
#include "pasta_temporaria.h"

namespace tessora::testes {

namespace {
using namespace std::chrono_literals;

// Wine's own conversions between its Windows paths and the Linux ones.
template <typename Funcao>
Funcao FuncaoWine(const char* nome) {
    const auto funcao = reinterpret_cast<Funcao>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), nome)));
    if (!funcao) throw std::runtime_error(std::string("sem ") + nome + ": isto não é o Wine");
    return funcao;
}

std::string CaminhoLinux(const std::filesystem::path& caminho) {
    const auto converter = FuncaoWine<char* (*)(const wchar_t*)>("wine_get_unix_file_name");
    char* texto = converter(caminho.c_str());
    if (!texto) throw std::runtime_error("sem caminho Linux para " + caminho.string());
    std::string resultado = texto;
    HeapFree(GetProcessHeap(), 0, texto);
    return resultado;
}

std::filesystem::path CaminhoWindows(const std::string& caminho) {
    const auto converter = FuncaoWine<wchar_t* (*)(const char*)>("wine_get_dos_file_name");
    wchar_t* texto = converter(caminho.c_str());
    if (!texto) throw std::runtime_error("sem caminho Windows para " + caminho);
    std::filesystem::path resultado(texto);
    HeapFree(GetProcessHeap(), 0, texto);
    return resultado;
}

std::string Valor(const std::string& texto, const std::string& nome) {
    std::istringstream linhas(texto);
    for (std::string linha; std::getline(linhas, linha);) {
        if (linha.rfind(nome + "=", 0) == 0) return linha.substr(nome.size() + 1);
    }
    throw std::runtime_error("apresentação sem " + nome + ": " + texto);
}
}  // namespace

ApiSubstituta::ApiSubstituta(std::string_view estadoJson, OpcoesApiSubstituta opcoes) {
    canal_ = std::make_unique<PastaTemporaria>("tessora-canal-api");
    const auto& canal = canal_->Caminho();
    GravarArquivo(canal / "ativo", "");
    renovacao_ = std::jthread([ativo = canal / "ativo"](std::stop_token parada) {
        std::mutex mutex;
        std::condition_variable_any espera;
        std::unique_lock trava(mutex);
        while (!parada.stop_requested()) {
            std::error_code erro;
            std::filesystem::last_write_time(ativo, std::filesystem::file_time_type::clock::now(),
                                             erro);
            espera.wait_for(trava, parada, 500ms, [] { return false; });
        }
    });
    std::string argumentos = " \"" + CaminhoLinux(canal) + "\" --nomes " + opcoes.nomesCertificado +
                             " --inicio " + std::to_string(opcoes.validade.first.count()) +
                             " --fim " + std::to_string(opcoes.validade.second.count());
    if (!opcoes.versaoTls.empty()) argumentos += " --tls " + opcoes.versaoTls;
    const std::filesystem::path programa = CaminhoWindows(TESSORA_API_SUBSTITUTA_AUXILIAR);
    std::wstring linha =
        L"\"" + programa.wstring() + L"\"" + std::wstring(argumentos.begin(), argumentos.end());
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    PROCESS_INFORMATION processo{};
    if (!CreateProcessW(programa.c_str(), linha.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &inicio, &processo)) {
        throw std::runtime_error("não foi possível iniciar " + programa.string());
    }
    // A Linux program comes without handles.
    if (processo.hThread) CloseHandle(processo.hThread);
    if (processo.hProcess) CloseHandle(processo.hProcess);
    try {
        const auto limite = std::chrono::steady_clock::now() + 10s;
        std::optional<std::string> apresentacao;
        while (!(apresentacao = LerArquivo(canal / "apresentacao"))) {
            if (std::chrono::steady_clock::now() > limite)
                throw std::runtime_error("a API substituta não informou sua porta a tempo");
            std::this_thread::sleep_for(20ms);
        }
        porta_ = std::stoi(Valor(*apresentacao, "porta"));
        pasta_ = CaminhoWindows(Valor(*apresentacao, "pasta"));
        DefinirEstado(estadoJson);
        GravarRegras();
    } catch (...) {
        Encerrar();
        throw;
    }
}

ApiSubstituta::~ApiSubstituta() { Encerrar(); }

// Schannel matches the host against the certificate's DNS names, never its IP addresses.
std::string ApiSubstituta::UrlBase() const {
    return "https://localhost:" + std::to_string(porta_) + "/api";
}

// Without its channel the helper ends the server and removes the server's folder.
void ApiSubstituta::Encerrar() noexcept {
    renovacao_ = {};
    canal_.reset();
}

}  // namespace tessora::testes
