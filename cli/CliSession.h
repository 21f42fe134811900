// CCliSession: one veltrix-cli command against one device. It connects the link engine of the
// device's slot, reads the device with a Sync (which also checks the password), then does the
// command's work on the engine: save the setup, a DownSync, an Upload or Download, a parameter
// change or a recall (each read back from the device), or a watch on the link and the meters.
// Everything runs on the event loop: the engine's ticks, a watch timer and the time limit of
// the whole command. When the device fails the command, the traffic the line saw says why.
// The session is the engine's view: a hidden window that receives the engine's UM_REFRESH.
#pragma once

#include "cli/CliConnectionFile.h"
#include "cli/CliLine.h"
#include "cli/CliOptions.h"
#include "cli/MonitorOutput.h"
#include "cli/StatusOutput.h"
#include "framework/MsgWnd.h"
#include "link/Port.h"
#include "model/ProgramListFile.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>
#include <string>

class CTonraDoc;

class CCliSession : public CMsgWnd {
public:
    CCliSession(const cli::CliOptions& options, CStatusOutput& status);
    ~CCliSession() override;
    CCliSession(const CCliSession&) = delete;
    CCliSession& operator=(const CCliSession&) = delete;

    // Runs the command on the application's event loop and returns the exit code.
    int Run();

private:
    enum class Phase { FirstSync, Transfer, FollowingSync, Settle, ReadBack, Probe, Monitor };

    // Reads the command's input file and checks that its output can be written, before the
    // device is touched. False with a message when not.
    bool CheckFiles();
    bool Connect();
    std::string TargetText() const;
    void OnStatus(const std::string& text);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnRefresh(CPort::RefreshCode code);
    void OnTransferEnd(CPort::TransferMode mode, bool success, int blocksDone);
    void OnFirstSync(bool success, int blocksDone);
    void StartCommand();
    void StartTransfer(CPort::TransferMode mode);
    void StartSet();
    // The parameter the set command names, as a channel number, index and stored value on
    // this device; false when the device has no such channel or cannot hold the value.
    bool ResolveSet(int& channel, int& value);
    // Waits until everything queued has left for the device, then reads the device back.
    void StartSettle();
    void OnReadBack();
    void OnWatch();
    void WatchLink();
    void StartMonitor();
    // Why a transfer that ended without success failed, from what the line saw; empty when
    // that takes asking every slot first (see Probe).
    std::string FailureReason(CPort::TransferMode mode, int blocksDone) const;
    void Probe();
    // What a connection problem of the line means: "Cannot connect to ...: reason" or "The
    // connection to ... ended: reason".
    std::string ConnectionText(const std::string& problem) const;
    double Seconds() const;
    // Reports `message` (when not empty) and ends the run with `exitCode`.
    void End(int exitCode, const std::string& message = {});

    const cli::CliOptions options_;
    CStatusOutput& status_;
    const CCliConnectionFile connection_;
    std::unique_ptr<CTonraDoc> doc_;
    CPort engine_;
    CCliLine line_;
    Phase phase_ = Phase::FirstSync;
    QByteArray setupBytes_;       // downsync: the setup file to write
    model::ProgramList programs_; // download: the program list
    std::string listPath_;        // upload and download: the list file, absolute
    // set: what was set, as the device should now hold it.
    int setChannel_ = 0;
    int expectedValue_ = 0;
    std::string expectedText_;
    int damagedAtStart_ = 0; // damaged blocks the line had seen when the transfer began
    QElapsedTimer clock_;
    QTimer timeLimit_;
    QTimer watch_;
    // monitor
    std::unique_ptr<cli::CMonitorOutput> monitor_;
    bool silent_ = false;
    bool ended_ = false;
    int exitCode_ = cli::kExitDone;
};
