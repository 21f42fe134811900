#include "cli/CliSession.h"

#include "app/ProblemBoxes.h"
#include "cli/OutputPath.h"
#include "framework/Format.h"
#include "model/EditText.h"
#include "model/FileIo.h"
#include "model/SetupFile.h"
#include "model/TonraDoc.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cmath>
#include <iostream>

using cli::Command;
using cli::kExitDone;
using cli::kExitFailed;
using cli::kExitPassword;
using cli::kExitUsage;
using TransferMode = CPort::TransferMode;

namespace {

constexpr int kDevicePage = 1;
constexpr int kMsPerSecond = 1000;
constexpr int kWatchPeriodMs = 10;
// How long the devices on the line have to answer a poll of every slot.
constexpr int kProbeMs = 600;
// A monitored link counts as silent after this long without a character (about five polls).
constexpr int kSilentMs = 1000;
// Time for the transport to hand over what it still holds before the program ends.
constexpr int kLingerMs = 100;

std::string AbsolutePath(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
}

// Whether a transmitted parameter of `device` still differs from what the device holds.
template <typename... Fields>
bool AnyDiffers(const CTonraParams& current, const CTonraParams& shadow, int device, Fields... fields) {
    return (((current.*fields)[device] != (shadow.*fields)[device]) || ...);
}

bool HasPendingChanges(const CTonraDoc& doc, int device) {
    using P = CTonraParams;
    return AnyDiffers(doc, doc.shadow, device, &P::mute, &P::gain, &P::polarity, &P::delay, &P::eqType,
                      &P::eqGain, &P::eqFreq, &P::eqWidth, &P::channelName, &P::mixLevel, &P::xoverType,
                      &P::xoverFreq, &P::xoverSlope, &P::limThreshold, &P::limAttack, &P::limRelease);
}

bool IsOutputKind(int kind) { return kind >= model::kMixLevel && kind <= model::kLimRelease; }

const char* TransferName(TransferMode mode) {
    switch (mode) {
    case TransferMode::Sync:
        return "Sync";
    case TransferMode::DownSync:
        return "DownSync";
    case TransferMode::Upload:
        return "Upload";
    case TransferMode::Download:
        return "Download";
    default:
        return "transfer";
    }
}

} // namespace

CCliSession::CCliSession(const cli::CliOptions& options, CStatusOutput& status)
    : options_(options), status_(status), doc_(std::make_unique<CTonraDoc>()),
      line_(engine_, options.network) {
    clock_.start();
    timeLimit_.setSingleShot(true);
    QObject::connect(&timeLimit_, &QTimer::timeout, [this] {
        End(kExitFailed,
            Format("The command did not finish within --timeout %g seconds.", options_.timeoutSeconds));
    });
    watch_.setInterval(kWatchPeriodMs);
    QObject::connect(&watch_, &QTimer::timeout, [this] { OnWatch(); });
}

CCliSession::~CCliSession() { engine_.SetLine(nullptr); }

int CCliSession::Run() {
    if (!CheckFiles() || !Connect()) {
        return exitCode_;
    }
    timeLimit_.start(static_cast<int>(std::ceil(options_.timeoutSeconds * kMsPerSecond)));
    watch_.start();
    engine_.RequestTransfer(TransferMode::Sync);
    return QCoreApplication::exec();
}

bool CCliSession::CheckFiles() {
    std::string problem;
    switch (options_.command) {
    case Command::Sync:
        if (!cli::CheckOutputPath(options_.file, problem)) {
            End(kExitFailed, "Cannot write the setup file \"" + options_.file + "\": " + problem);
        }
        break;
    case Command::DownSync:
        if (const auto bytes = model::ReadFileBytes(options_.file, model::kMaxSetupFileBytes, problem)) {
            model::DeviceSetup scratch;
            problem = model::ReadSetupFile(*bytes, scratch).problem;
            setupBytes_ = *bytes;
        }
        if (!problem.empty()) {
            End(kExitFailed, "Cannot read the setup file \"" + options_.file + "\".\n" + problem);
        }
        break;
    case Command::Upload:
        listPath_ = AbsolutePath(options_.file);
        // The programs go beside the list: its folder must take new files as well.
        if (!cli::CheckOutputPath(listPath_, problem)) {
            End(kExitFailed, "Cannot write the program list \"" + options_.file + "\": " + problem);
        }
        break;
    case Command::Download:
        listPath_ = AbsolutePath(options_.file);
        if (const auto bytes = model::ReadFileBytes(listPath_, model::kProgramListFileSize, problem)) {
            programs_ = model::ReadProgramListBytes(*bytes);
            for (int p = 0; p < model::kProgramCount && problem.empty(); ++p) {
                problem = model::ProgramEntryProblem(p, programs_[p]);
            }
        }
        if (!problem.empty()) {
            End(kExitFailed, "Cannot use the program list \"" + options_.file + "\".\n" + problem);
        }
        break;
    default:
        break;
    }
    return !ended_;
}

bool CCliSession::Connect() {
    const int d = options_.slot;
    model::ConnectionSettings settings;
    settings.connectionMode = options_.network ? 1 : 0;
    settings.comPort[d] = options_.comPort;
    settings.ipAddress[d] = options_.ipAddress;
    std::string problem;
    if (!connection_.Write(settings, problem)) {
        status_.Message("veltrix-cli: the temporary connection file could not be written: " + problem);
    }
    doc_->OnNewDocument();
    // The settings are set here as well, so the run does not depend on the temporary file.
    doc_->connectionMode = settings.connectionMode;
    doc_->comPort = settings.comPort;
    doc_->ipAddress = settings.ipAddress;
    // The engine writes the status line only for the device shown on the device page.
    doc_->pageMode = kDevicePage;
    doc_->currentDevice = d;
    doc_->enteredPassword[d] = options_.password;

    engine_.SetNetworkPort(options_.port);
    engine_.SetLine(&line_);
    engine_.SetPasswordPrompt([this] { return std::optional<std::string>(options_.password); });
    engine_.SetStatusObserver([this](const std::string& text) { OnStatus(text); });
    engine_.SetNoticeHandler(app::ShowEngineNotice);
    engine_.SetFinishObserver([this](TransferMode mode, bool success) {
        // Acted on once the engine's tick is over, so the engine has finished the transfer
        // (image processed, password checked) before the next step is asked of it.
        const int blocksDone = engine_.BlockCount();
        QTimer::singleShot(0, &watch_,
                           [this, mode, success, blocksDone] { OnTransferEnd(mode, success, blocksDone); });
    });
    if (!CreateMessageWindow() || !engine_.Create(this, doc_.get(), d)) {
        End(kExitFailed, "The link engine could not be started.");
        return false;
    }
    if (!engine_.Connect()) {
        app::ShowConnectProblem(engine_.ConnectProblem());
        End(kExitFailed, options_.network ? "Cannot connect to " + TargetText() + "."
                                          : Format("Cannot open COM %d.", options_.comPort));
        return false;
    }
    return true;
}

std::string CCliSession::TargetText() const {
    const auto& ip = options_.ipAddress;
    return options_.network ? Format("%d.%d.%d.%d port %d", ip[0], ip[1], ip[2], ip[3], options_.port)
                            : Format("COM %d", options_.comPort);
}

void CCliSession::OnStatus(const std::string& text) {
    if (ended_) {
        return;
    }
    if (phase_ == Phase::Monitor) {
        std::cout << monitor_->LinkLine(Seconds(), text) << std::flush;
    } else {
        status_.Status(text);
    }
}

LRESULT CCliSession::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != UM_REFRESH) {
        return CMsgWnd::OnMessage(message, wParam, lParam);
    }
    OnRefresh(static_cast<CPort::RefreshCode>(wParam));
    return 1;
}

void CCliSession::OnRefresh(CPort::RefreshCode code) {
    if (!ended_ && code == CPort::MetersChanged && phase_ == Phase::Monitor) {
        std::cout << monitor_->MetersLine(Seconds()) << std::flush;
    }
}

void CCliSession::OnTransferEnd(TransferMode mode, bool success, int blocksDone) {
    if (ended_) {
        return;
    }
    if (phase_ == Phase::Transfer && mode == TransferMode::Upload && !engine_.FileProblem().empty()) {
        End(kExitFailed); // the engine has said which file and why
        return;
    }
    if (!success && phase_ != Phase::Monitor) {
        if (phase_ == Phase::FirstSync) {
            OnFirstSync(false, blocksDone);
            return;
        }
        std::string reason = FailureReason(mode, blocksDone);
        if (reason.empty()) {
            reason = std::string("The device did not answer the ") + TransferName(mode) + ".";
        }
        if (phase_ == Phase::FollowingSync) {
            // Every step asked for counts: the transfer itself went through.
            const char* transfer = options_.command == Command::Upload ? "Upload" : "Download";
            reason = Format("The %s finished, but the Sync after it failed. ", transfer) + reason;
        }
        End(kExitFailed, reason);
        return;
    }
    switch (phase_) {
    case Phase::FirstSync:
        OnFirstSync(success, blocksDone);
        break;
    case Phase::Transfer:
        if (mode == TransferMode::DownSync) {
            End(kExitDone);
        } else {
            // An Upload or Download is followed by a Sync that reloads the device's live settings.
            phase_ = Phase::FollowingSync;
        }
        break;
    case Phase::FollowingSync:
        End(kExitDone);
        break;
    case Phase::ReadBack:
        OnReadBack();
        break;
    default:
        // A Sync the device asked for (a change on its front panel, the link coming back):
        // the watch goes on.
        break;
    }
}

void CCliSession::OnFirstSync(bool success, int blocksDone) {
    if (!success) {
        const std::string reason = FailureReason(TransferMode::Sync, blocksDone);
        if (reason.empty()) {
            Probe();
        } else {
            End(kExitFailed, reason);
        }
    } else if (doc_->passwordOk[options_.slot] != 1) {
        // The engine has said that the password is wrong; say what to do about it.
        End(kExitPassword, options_.password.empty()
                               ? "The device is protected by a password: give it with --password."
                               : "The device's password is not the one given with --password.");
    } else {
        StartCommand();
    }
}

std::string CCliSession::FailureReason(TransferMode mode, int blocksDone) const {
    const std::string transfer = TransferName(mode);
    if (const std::string problem = line_.ConnectionProblem(); !problem.empty()) {
        return ConnectionText(problem) + Format(" (during the %s)", transfer.c_str()) + ".";
    }
    const int blocks = devlink::TransferBlockCount(mode);
    if (line_.DamagedBlocks() > damagedAtStart_) {
        return Format("Block %d of %d of the %s arrived damaged (its checksum did not match), so the %s "
                      "stopped.",
                      blocksDone + 1, blocks, transfer.c_str(), transfer.c_str());
    }
    if (line_.CharsReceived() == 0) {
        return {};
    }
    if (!devlink::DeviceSends(mode)) {
        return Format("The device did not acknowledge block %d of %d of the %s.", blocksDone + 1, blocks,
                      transfer.c_str());
    }
    if (blocksDone == 0) {
        return "The device did not answer the " + transfer + ".";
    }
    return Format("The device stopped answering during the %s, after %d of %d blocks.", transfer.c_str(),
                  blocksDone, blocks);
}

std::string CCliSession::ConnectionText(const std::string& problem) const {
    return (line_.WasConnected() ? "The connection to " + TargetText() + " ended: "
                                 : "Cannot connect to " + TargetText() + ": ") +
           problem;
}

// Nothing at all came back: a device that answers to another slot says so when every slot is
// asked.
void CCliSession::Probe() {
    phase_ = Phase::Probe;
    line_.AskEverySlot();
    QTimer::singleShot(kProbeMs, &watch_, [this] {
        const int other = line_.OtherSlot();
        if (other >= 0) {
            End(kExitFailed,
                Format("The device at %s answers to slot %d, not to slot %d: give it with --slot %d.",
                       TargetText().c_str(), other, options_.slot, other));
        } else {
            End(kExitFailed, "No answer from " + TargetText() + Format(" in slot %d: ", options_.slot) +
                                 "nothing came back. Check the connection and that the device is on.");
        }
    });
}

void CCliSession::StartCommand() {
    const int d = options_.slot;
    std::string problem;
    switch (options_.command) {
    case Command::Sync:
        if (doc_->OnSaveDocument(options_.file)) {
            End(kExitDone);
        } else {
            app::ShowFileProblem(doc_->FileProblem());
            End(kExitFailed);
        }
        break;
    case Command::DownSync:
        switch (doc_->LoadSetup(setupBytes_, problem)) {
        case CTonraDoc::kLoadOk:
            StartTransfer(TransferMode::DownSync);
            break;
        case CTonraDoc::kLoadCountsDiffer:
            End(kExitFailed, doc_->CountsDifferText());
            break;
        default:
            End(kExitFailed, "Cannot use the setup file \"" + options_.file + "\".\n" + problem);
            break;
        }
        break;
    case Command::Upload:
        doc_->programListFile = listPath_;
        StartTransfer(TransferMode::Upload);
        break;
    case Command::Download:
        doc_->programListFile = listPath_;
        doc_->programFiles = programs_;
        if (const std::string problem = engine_.BuildDownloadImage(); problem.empty()) {
            StartTransfer(TransferMode::Download);
        } else {
            End(kExitFailed, problem);
        }
        break;
    case Command::Set:
        StartSet();
        break;
    case Command::Recall:
        engine_.QueueFrame(devlink::kCmdRecallProgram, devlink::DeviceBit(d), 0, 0, options_.program - 1);
        StartSettle();
        break;
    case Command::Monitor:
        StartMonitor();
        break;
    case Command::Dump:
    case Command::Response:
    case Command::Ports:
    case Command::Eq:
        break;
    }
}

void CCliSession::StartTransfer(TransferMode mode) {
    engine_.RequestTransfer(mode);
    if (engine_.Mode() != mode) {
        End(kExitFailed, std::string("The engine is busy; the ") + TransferName(mode) + " did not start.");
        return;
    }
    damagedAtStart_ = line_.DamagedBlocks();
    phase_ = Phase::Transfer;
}

bool CCliSession::ResolveSet(int& channel, int& value) {
    const int d = options_.slot;
    const int inputs = doc_->GetInputCount(d);
    const int channels = doc_->GetChannelCount(d);
    std::string problem;
    if (options_.byKind) {
        if (options_.channel >= channels) {
            End(kExitUsage,
                Format("The device has %d channels: CHANNEL runs from 0 to %d.", channels, channels - 1));
            return false;
        }
        channel = options_.channel;
        value = options_.value;
    } else if (const auto resolved =
                   cli::ResolveChannel(options_.channelRef, inputs, doc_->GetOutputCount(d), problem)) {
        channel = *resolved;
    } else {
        End(kExitUsage, problem);
        return false;
    }
    if (IsOutputKind(options_.kind) && channel < inputs) {
        End(kExitUsage,
            Format("This parameter belongs to the outputs: CHANNEL runs from %d to %d on this device "
                   "(out1..out%d).",
                   inputs, channels - 1, channels - inputs));
        return false;
    }
    if (options_.kind == model::kMixLevel && options_.index >= inputs) {
        End(kExitUsage,
            Format("The device has %d inputs: the mix INDEX runs from in1 to in%d.", inputs, inputs));
        return false;
    }
    if (options_.byKind || options_.kind == model::kChannelName) {
        return true;
    }
    const cli::NamedParam* param = cli::NamedParamOfKind(options_.kind);
    if (const auto converted = cli::ConvertValue(*doc_, d, *param, channel, options_.index, options_.text,
                                                 options_.raw, problem)) {
        value = *converted;
        return true;
    }
    End(kExitUsage, problem);
    return false;
}

void CCliSession::StartSet() {
    const int d = options_.slot;
    int value = 0;
    if (!ResolveSet(setChannel_, value)) {
        return;
    }
    if (options_.kind == model::kChannelName) {
        doc_->SetParamText(options_.kind, options_.text, setChannel_, d);
        expectedText_ = doc_->GetParamText(options_.kind, setChannel_, d);
    } else {
        doc_->SetParam(options_.kind, value, setChannel_, options_.index, d);
        expectedValue_ = doc_->GetParam(options_.kind, setChannel_, options_.index, d);
    }
    StartSettle();
}

void CCliSession::StartSettle() { phase_ = Phase::Settle; }

// The device's state after a set or a recall, as the read-back Sync found it.
void CCliSession::OnReadBack() {
    const int d = options_.slot;
    if (options_.command == Command::Recall) {
        const int program = doc_->currentProgram[d] + 1;
        if (program == options_.program) {
            End(kExitDone);
        } else {
            End(kExitFailed, Format("The device shows program %d after the recall of program %d.", program,
                                    options_.program));
        }
        return;
    }
    const bool held = options_.kind == model::kChannelName
                          ? doc_->GetParamText(options_.kind, setChannel_, d) == expectedText_
                          : doc_->GetParam(options_.kind, setChannel_, options_.index, d) == expectedValue_;
    const std::string shown = model::ChannelLabel(setChannel_, doc_->GetInputCount(d)) + " " +
                              model::ParamText(options_.kind, options_.index) + " " +
                              cli::ValueText(*doc_, d, options_.kind, setChannel_, options_.index);
    if (held) {
        std::cout << shown << std::endl;
        End(kExitDone);
    } else {
        End(kExitFailed, "The device did not take the value; it holds " + shown + ".");
    }
}

void CCliSession::OnWatch() {
    WatchLink();
    if (ended_ || phase_ != Phase::Settle) {
        return;
    }
    // Once the change has left, read the device back: a Sync the device asked for itself (after
    // a recall) does that as well.
    if (engine_.SendLength() > 0 || HasPendingChanges(*doc_, options_.slot)) {
        return;
    }
    if (engine_.Mode() == TransferMode::Idle) {
        engine_.RequestTransfer(TransferMode::Sync);
    }
    damagedAtStart_ = line_.DamagedBlocks();
    phase_ = Phase::ReadBack;
}

// A connection that failed or ended ends the command at once; a monitored link reports
// silence and the answers that follow it.
void CCliSession::WatchLink() {
    if (ended_ || phase_ == Phase::Probe) {
        return;
    }
    if (const std::string problem = line_.ConnectionProblem(); !problem.empty()) {
        if (phase_ == Phase::Monitor) {
            std::cout << monitor_->LinkLine(Seconds(), "connection closed: " + problem) << std::flush;
        }
        End(kExitFailed, ConnectionText(problem) + ".");
        return;
    }
    if (phase_ != Phase::Monitor) {
        return;
    }
    const bool silent = line_.MsSinceReceived() >= kSilentMs;
    if (silent != silent_) {
        silent_ = silent;
        std::cout << monitor_->LinkLine(Seconds(),
                                        silent ? Format("no answer for %d s", kSilentMs / kMsPerSecond)
                                               : std::string("answering again"))
                  << std::flush;
    }
}

void CCliSession::StartMonitor() {
    phase_ = Phase::Monitor;
    status_.CloseLine();
    clock_.start();
    monitor_ = std::make_unique<cli::CMonitorOutput>(*doc_, options_.slot, options_.json);
    std::cout << monitor_->Header() << monitor_->LinkLine(Seconds(), "answering") << std::flush;
    QTimer::singleShot(static_cast<int>(std::ceil(options_.seconds * kMsPerSecond)), &watch_,
                       [this] { End(kExitDone); });
}

double CCliSession::Seconds() const { return static_cast<double>(clock_.elapsed()) / kMsPerSecond; }

void CCliSession::End(int exitCode, const std::string& message) {
    if (ended_) {
        return;
    }
    ended_ = true;
    exitCode_ = exitCode;
    if (!message.empty()) {
        status_.Message("veltrix-cli: " + message);
    }
    if (exitCode == kExitUsage) {
        status_.Message(cli::kUsageHint);
    }
    status_.CloseLine();
    timeLimit_.stop();
    watch_.stop();
    // The transport may still hold the last characters for the device.
    QTimer::singleShot(kLingerMs, &timeLimit_, [exitCode] { QCoreApplication::exit(exitCode); });
}
