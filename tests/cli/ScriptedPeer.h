// A device on loopback that follows a script, for the failures the simulator program does not
// stage on cue: it answers like the simulated device until the first Sync is over, then
// closes the connection or falls silent. It serves from a thread of its own, so that the
// program under test can run to its end meanwhile.
#pragma once

#include <QStringList>

#include <atomic>
#include <thread>

namespace clitest {

class CScriptedPeer {
public:
    // What the device does once it has sent the last block of the first Sync.
    enum class AfterSync { Close, FallSilent };

    explicit CScriptedPeer(AfterSync after) : after_(after) {}
    ~CScriptedPeer();
    CScriptedPeer(const CScriptedPeer&) = delete;
    CScriptedPeer& operator=(const CScriptedPeer&) = delete;

    // Listens on 127.0.0.1 at a free port; false when that fails.
    bool Start();
    // "--ip 127.0.0.1 --port P".
    QStringList Target() const;

private:
    void Serve();
    void ServeConnection(int connection);

    const AfterSync after_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

} // namespace clitest
