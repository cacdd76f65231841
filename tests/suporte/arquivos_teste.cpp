#include "arquivos_teste.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tessora::testes {

namespace {
void DefinirVariavel(const std::string& nome, const std::optional<std::string>& valor) {
#ifdef _WIN32
    // An empty value removes the variable.
    _putenv_s(nome.c_str(), valor ? valor->c_str() : "");
#else
    if (valor) {
        setenv(nome.c_str(), valor->c_str(), 1);
    } else {
        unsetenv(nome.c_str());
    }
#endif
}
}  // namespace

void GravarArquivo(const std::filesystem::path& caminho, std::string_view conteudo) {
    std::filesystem::create_directories(caminho.parent_path());
    std::ofstream arquivo(caminho, std::ios::binary | std::ios::trunc);
    arquivo.write(conteudo.data(), static_cast<std::streamsize>(conteudo.size()));
    if (!arquivo) throw std::runtime_error("não gravou " + caminho.string());
}

std::optional<std::string> LerArquivo(const std::filesystem::path& caminho) {
    std::ifstream entrada(caminho, std::ios::binary);
    if (!entrada) return std::nullopt;
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    return conteudo.str();
}

void DefinirHoraLocal(const std::filesystem::path& caminho, int ano, int mes, int dia, int hora,
                      int minuto, int segundo, int milissegundo) {
    std::tm local{};
    local.tm_year = ano - 1900;
    local.tm_mon = mes - 1;
    local.tm_mday = dia;
    local.tm_hour = hora;
    local.tm_min = minuto;
    local.tm_sec = segundo;
    local.tm_isdst = -1;
    const auto instante = std::chrono::system_clock::from_time_t(std::mktime(&local)) +
                          std::chrono::milliseconds(milissegundo);
    std::filesystem::last_write_time(
        caminho, std::chrono::file_clock::from_sys(
                     std::chrono::time_point_cast<std::chrono::system_clock::duration>(instante)));
}

VariavelAmbiente::VariavelAmbiente(std::string nome, const std::optional<std::string>& valor)
    : nome_(std::move(nome)) {
    if (const char* atual = std::getenv(nome_.c_str())) anterior_ = atual;
    DefinirVariavel(nome_, valor);
}

VariavelAmbiente::~VariavelAmbiente() { DefinirVariavel(nome_, anterior_); }

}  // namespace tessora::testes
