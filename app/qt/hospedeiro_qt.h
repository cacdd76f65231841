#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

#include "app/servico/portas_servico.h"

namespace tessora::qt {

// The Qt event loop's side of the resident service: posted tasks as queued calls, and the
// synchronisation timer `tmAppForcaVenda` and the shutdown watch `tmEncerramento` as Qt timers
// whose ticks come out as Tique. Lives on the thread of the event loop.
class HospedeiroQt : public QObject, public app::HospedeiroServico {
    Q_OBJECT

  public:
    explicit HospedeiroQt(QObject* parent = nullptr);

    void Postar(std::function<void()> tarefa) override;
    void ArmarTemporizador(app::Temporizador temporizador,
                           std::chrono::milliseconds intervalo) override;
    void PararTemporizador(app::Temporizador temporizador) override;

  signals:
    void Tique(app::Temporizador temporizador);

  private:
    QTimer& Relogio(app::Temporizador temporizador);

    QTimer tmAppForcaVenda_;
    QTimer tmEncerramento_;
};

}  // namespace tessora::qt
