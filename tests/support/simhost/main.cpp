// tarnel-simhost [PORT]: serves simulated modules to Windows tests under Wine
// (see SimHost.h) until it is ended by a signal. The Wine prefix is
// $WINEPREFIX; prints "tarnel-simhost: 127.0.0.1:PORT" once it listens.

#include <signal.h>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "tests/support/simhost/SimHost.h"

int main(int argc, char** argv) {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix == nullptr || argc > 2) {
        std::cerr << "usage: WINEPREFIX=DIR tarnel-simhost [PORT]\n";
        return 2;
    }
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    try {
        const auto port = argc == 2 ? static_cast<uint16_t>(std::stoul(argv[1])) : uint16_t{0};
        tarnel::test::SimHost host(std::filesystem::path(prefix) / "dosdevices", port);
        std::cout << "tarnel-simhost: 127.0.0.1:" << host.Port() << std::endl;
        int signal = 0;
        sigwait(&stopSignals, &signal);
        // The clients' modules and ports are not waited for: a signal ends them all.
        std::_Exit(0);
    } catch (const std::exception& e) {
        std::cerr << "tarnel-simhost: " << e.what() << "\n";
        return 1;
    }
}
