#include "ctl/Stations.h"

#include <vector>

namespace tarnel::ctl {

Stations::Stations(Work work) : m_work(std::move(work)) {}

Stations::~Stations() {
    Wait();
}

void Stations::Start(const std::string& port) {
    const std::lock_guard lock(m_mutex);
    auto& station = m_stations[port];
    if (station && !station->done) {
        station->again = true;
        return;
    }
    if (station) station->thread.join();
    station = std::make_unique<Station>();
    station->thread = std::thread(&Stations::Run, this, port, std::ref(*station));
}

void Stations::Run(const std::string& port, Station& station) {
    for (;;) {
        m_work(port);
        const std::lock_guard lock(m_mutex);
        if (!station.again) {
            station.done = true;
            return;
        }
        station.again = false;
    }
}

void Stations::Reap() {
    const std::lock_guard lock(m_mutex);
    for (auto it = m_stations.begin(); it != m_stations.end();) {
        if (!it->second->done) {
            ++it;
            continue;
        }
        it->second->thread.join();
        it = m_stations.erase(it);
    }
}

// A station takes the lock at its end: it is joined without it.
void Stations::Wait() {
    std::vector<std::thread*> threads;
    {
        const std::lock_guard lock(m_mutex);
        for (auto& [port, station] : m_stations)
            if (station->thread.joinable()) threads.push_back(&station->thread);
    }
    for (std::thread* thread : threads)
        thread->join();
    const std::lock_guard lock(m_mutex);
    m_stations.clear();
}

}  // namespace tarnel::ctl
