#include "comum/data_hora.h"

#include <ctime>

namespace tessora {

namespace {
std::tm Local(std::chrono::system_clock::time_point instante) {
    const std::time_t segundos = std::chrono::system_clock::to_time_t(instante);
    std::tm local{};
    localtime_r(&segundos, &local);
    return local;
}

std::string Formatar(std::chrono::system_clock::time_point instante, const char* formato) {
    const std::tm local = Local(instante);
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

Data HojeLocal() {
    const std::tm local = Local(std::chrono::system_clock::now());
    return Data::DeAnoMesDia(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                             static_cast<unsigned>(local.tm_mday))
        .value();
}

}  // namespace tessora
