// A hostile device on loopback: it answers like the simulated device until a chosen transfer
// begins (or, for Idle, until the first Sync is over), then does what its fault says: close
// the connection, fall silent, flood the line with junk, cut a block short, or pause and then
// behave again. It serves from a thread of its own, so that the program under test can run to
// its end meanwhile.
#pragma once

#include "link/BulkTransfer.h"

#include <QStringList>

#include <atomic>
#include <thread>

namespace clitest {

class CScriptedPeer {
public:
    enum class Fault { Close, Silence, Flood, CutBlock, Pause };

    // The fault begins with transfer `when`, or with its (skip + 1)th run when `skip` is given.
    CScriptedPeer(Fault fault, devlink::TransferMode when, int skip = 0)
        : fault_(fault), when_(when), skip_(skip) {}
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

    const Fault fault_;
    const devlink::TransferMode when_;
    const int skip_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

} // namespace clitest
