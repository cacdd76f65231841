#include "app/data_hora.h"

#include <ctime>

namespace tessora::app {

namespace {
std::string Formatar(std::chrono::system_clock::time_point instante, const char* formato) {
    const std::time_t segundos = std::chrono::system_clock::to_time_t(instante);
    std::tm local{};
    localtime_r(&segundos, &local);
    char texto[32];
    std::strftime(texto, sizeof texto, formato, &local);
    return texto;
}
}  // namespace

std::string DataHoraSegundos(std::chrono::system_clock::time_point instante) {
    return Formatar(instante, "%d/%m/%Y %H:%M:%S");
}

std::string DataHoraMinutos(std::chrono::system_clock::time_point instante) {
    return Formatar(instante, "%d/%m/%Y %H:%M");
}

}  // namespace tessora::app
