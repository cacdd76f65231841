#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace tessora::testes {

// Deletes the application object once the tests are over, before the process's exit: at exit
// it would go after Qt's own globals, which its input devices still use on the way out.
class FimAplicacaoQt : public ::testing::Environment {
  public:
    explicit FimAplicacaoQt(QApplication* aplicacao) : aplicacao_(aplicacao) {}
    void TearDown() override { delete aplicacao_; }

  private:
    QApplication* aplicacao_;
};

// One application object per test process; the platform comes from the environment.
inline QApplication& AplicacaoQt() {
    static int argc = 1;
    static char nome[] = "testes_app_qt";
    static char* argv[] = {nome, nullptr};
    static QApplication* const aplicacao = [] {
        auto* nova = new QApplication(argc, argv);
        ::testing::AddGlobalTestEnvironment(new FimAplicacaoQt(nova));
        return nova;
    }();
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
