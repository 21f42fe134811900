// CCliSession: one veltrix-cli command against one device. It connects the link engine of the
// device's slot, reads the device with a Sync (which also checks the password), then does the
// command's work on the engine: save the setup, a DownSync, an Upload or Download, a parameter
// change, a recall, or a watch on the link and the meters. Everything runs on the event loop:
// the engine's ticks, a watch timer and the time limit of the whole command.
#pragma once

#include "cli/CliConnectionFile.h"
#include "cli/CliOptions.h"
#include "link/Port.h"
#include "model/ProgramListFile.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>
#include <string>

class CTonraDoc;

class CCliSession {
public:
    explicit CCliSession(const cli::CliOptions& options);
    ~CCliSession();
    CCliSession(const CCliSession&) = delete;
    CCliSession& operator=(const CCliSession&) = delete;

    // Runs the command on the application's event loop and returns the exit code.
    int Run();

private:
    enum class Phase { FirstSync, Transfer, FollowingSync, Settle, Monitor };

    // Reads the command's input file and checks that its output can go where it is asked to,
    // before the device is touched. False with a message when not.
    bool CheckFiles();
    bool Connect();
    void OnStatus(const std::string& text);
    void OnRefresh(CPort::RefreshCode code);
    void OnTransferEnd(CPort::TransferMode mode, bool success);
    void OnFirstSync(bool success);
    void StartCommand();
    void StartTransfer(CPort::TransferMode mode);
    void StartSet();
    // Waits until everything queued has left for the device (see OnWatch).
    void StartSettle();
    void OnWatch();
    void PrintMeters();
    double Seconds() const;
    // Reports `message` (when not empty) and ends the run with `exitCode`.
    void End(int exitCode, const std::string& message = {});

    const cli::CliOptions options_;
    const CCliConnectionFile connection_;
    std::unique_ptr<CTonraDoc> doc_;
    CPort engine_;
    Phase phase_ = Phase::FirstSync;
    QByteArray setupBytes_;       // downsync: the setup file to write
    model::ProgramList programs_; // download: the program list
    std::string listPath_;        // upload and download: the list file, absolute
    QElapsedTimer clock_;
    QTimer timeLimit_;
    QTimer watch_;
    QElapsedTimer settling_; // valid once the queue has emptied
    int metersSinceSent_ = 0;
    bool ended_ = false;
    int exitCode_ = cli::kExitDone;
};
