#include "app/qt/hospedeiro_qt.h"

#include <utility>

namespace tessora::qt {

HospedeiroQt::HospedeiroQt(QObject* parent)
    : QObject(parent), tmAppForcaVenda_(this), tmEncerramento_(this) {
    tmAppForcaVenda_.setObjectName("tmAppForcaVenda");
    tmEncerramento_.setObjectName("tmEncerramento");
    connect(&tmAppForcaVenda_, &QTimer::timeout, this,
            [this] { emit Tique(app::Temporizador::Sincronizacao); });
    connect(&tmEncerramento_, &QTimer::timeout, this,
            [this] { emit Tique(app::Temporizador::Vigia); });
}

void HospedeiroQt::Postar(std::function<void()> tarefa) {
    QMetaObject::invokeMethod(this, std::move(tarefa), Qt::QueuedConnection);
}

void HospedeiroQt::ArmarTemporizador(app::Temporizador temporizador,
                                     std::chrono::milliseconds intervalo) {
    Relogio(temporizador).start(intervalo);
}

void HospedeiroQt::PararTemporizador(app::Temporizador temporizador) {
    Relogio(temporizador).stop();
}

QTimer& HospedeiroQt::Relogio(app::Temporizador temporizador) {
    return temporizador == app::Temporizador::Sincronizacao ? tmAppForcaVenda_ : tmEncerramento_;
}

}  // namespace tessora::qt
