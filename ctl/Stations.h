#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace tarnel::ctl {

// The stations of a production line: each port is worked on by a thread of
// its own, so that a slow module or a port where none answers delays no
// other port.
class Stations {
public:
    using Work = std::function<void(const std::string& port)>;

    explicit Stations(Work work);
    // Waits for every station.
    ~Stations();
    Stations(const Stations&) = delete;
    Stations& operator=(const Stations&) = delete;

    // Starts `work` on `port` on a thread of its own. While a station is
    // still on `port` (it went and came back meanwhile), that station does
    // its work once more when it is done, rather than two at a time.
    void Start(const std::string& port);
    // Lets go of the stations that are done.
    void Reap();
    // Waits for every station.
    void Wait();

private:
    struct Station {
        std::thread thread;
        bool again = false;
        bool done = false;
    };
    void Run(const std::string& port, Station& station);

    Work m_work;
    std::mutex m_mutex;
    std::map<std::string, std::unique_ptr<Station>> m_stations;
};

}  // namespace tarnel::ctl
