#pragma once

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "sim/BdAddress.h"
#include "sim/ModuleModel.h"
#include "sim/ModuleSnapshot.h"
#include "sim/SimConfig.h"

namespace tarnel::sim {

// Serves a ModuleModel on a fresh pseudo-terminal from a background thread.
// The slave side is the port the program under test opens; the module reads
// the host's framing from the terminal settings the slave side sets.
//
//   PtyModule sim(config);
//   ASSERT_FALSE(sim.Start());
//   channel.Open(sim.SlavePath(), 9600, ...);
//   WaitUntil([&] { return sim.Commands().size() == 2; }, 5s);
//
// Every method may be called from any thread.
class PtyModule {
public:
    explicit PtyModule(SimConfig config = {});
    ~PtyModule();  // Stop()
    PtyModule(const PtyModule&) = delete;
    PtyModule& operator=(const PtyModule&) = delete;

    // Opens the pair in raw mode, framed like the module's UART, and starts
    // serving. An empty code is success; a call while serving does nothing
    // and succeeds; a call after Stop serves the same module on a new pair.
    std::error_code Start();

    // The terminal device to open as the port (/dev/pts/N); empty before Start.
    std::string SlavePath() const;

    // Publishes a symbolic link `name` to the slave in the virtual port
    // directory (created when missing), so that the port list shows it.
    // The module holds the link's companion lock until the link goes, so a
    // port list skips a link this process left when it was killed. A stale link
    // of that name is replaced; a live one gives std::errc::file_exists, a name that is not a plain file name
    // std::errc::invalid_argument, a module not started std::errc::not_connected.
    // Sets `path` to the link. A second call moves the link to the new name.
    // The link is removed by Unplug, Stop and the destructor.
    std::error_code Publish(const std::string& name, std::filesystem::path& path);

    // Closes the master side: to the port this is a pulled cable. The module
    // stops serving and its link goes; what it received stays readable.
    void Unplug();

    // Ends serving, closes the pair and removes a published link. Idempotent.
    // The same as Unplug; a test says which of the two it means.
    void Stop();

    // True from Start until Unplug, Stop, or a hang-up knob firing.
    bool Serving() const;

    // A remote device connects (see ModuleModel::ConnectPeer).
    void ConnectPeer(const BdAddress& peer);

    // Copies of what the module has seen and is, taken under the lock.
    std::string Received() const;
    std::vector<std::string> Commands() const;
    ModuleSnapshot Snapshot() const;

private:
    void Serve();
    std::string ReadInput(bool& slaveClosed);
    // Whether no host has the port open now.
    bool SlaveClosed() const;
    bool Pump(const std::string& input);
    void WritePending();
    void Shut();
    void Wake();

    mutable std::mutex m_mutex;  // guards m_model, the descriptors' lifetime and the paths
    ModuleModel m_model;
    std::string m_pending;  // due output the master could not take yet; serving thread only
    std::string m_slavePath;
    std::filesystem::path m_linkPath;
    int m_linkLock = -1;
    int m_master = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_serving{false};
    std::thread m_thread;
};

}  // namespace tarnel::sim
