#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <functional>

namespace tessora::testes {

// One application object per test process; the platform comes from the environment. Never
// destroyed: at exit, Qt's own statics (the pointing device that a window under the cursor
// brings) may already be gone.
inline QApplication& AplicacaoQt() {
    static int argc = 1;
    static char nome[] = "testes_app_qt";
    static char* argv[] = {nome, nullptr};
    static QApplication* aplicacao = new QApplication(argc, argv);
    return *aplicacao;
}

// Serves the event loop until the condition holds or the time is up.
inline bool Aguardar(const std::function<bool()>& condicao,
                     std::chrono::milliseconds limite = std::chrono::seconds(10)) {
    const auto fim = std::chrono::steady_clock::now() + limite;
    while (!condicao()) {
        if (std::chrono::steady_clock::now() > fim) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

// Serves the event loop for a while, whatever happens.
inline void Servir(std::chrono::milliseconds duracao) {
    Aguardar([] { return false; }, duracao);
}

}  // namespace tessora::testes
