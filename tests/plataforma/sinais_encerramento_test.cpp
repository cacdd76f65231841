#include "plataforma/sinais_encerramento.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace tessora::plataforma {
namespace {

using namespace std::chrono_literals;

TEST(SinaisEncerramentoTest, EsperaTerminaComOPedidoDeFimOuComOTempo) {
    const int descritor = DesviarSinaisEncerramento();
    LiberarSinaisEncerramento();
    EXPECT_FALSE(AguardarSinaisEncerramento(descritor, 20ms));

    // A request that comes while the loop waits wakes it, long before its time is up.
    std::thread pedido([] {
        std::this_thread::sleep_for(50ms);
        ::kill(::getpid(), SIGTERM);
    });
    EXPECT_TRUE(AguardarSinaisEncerramento(descritor, 60s));
    pedido.join();
    ConsumirSinaisEncerramento(descritor);
    EXPECT_FALSE(AguardarSinaisEncerramento(descritor, 0ms));
}

}  // namespace
}  // namespace tessora::plataforma
