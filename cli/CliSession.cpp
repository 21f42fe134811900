#include "cli/CliSession.h"

#include "framework/Format.h"
#include "model/FileIo.h"
#include "model/SetupFile.h"
#include "model/TonraDoc.h"

#include <QCoreApplication>
#include <QDir>
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
// Once the queue is empty: the replies that prove the device has taken the last frame (the
// reply to an earlier frame may still be on its way), or the time after which the frame is
// taken to have arrived with a device that does not answer every frame.
constexpr int kRepliesAfterSent = 2;
constexpr int kSettleGraceMs = 1000;
// Time for the transport to hand over what it still holds before the program ends.
constexpr int kLingerMs = 100;

std::string AbsolutePath(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
}

bool FolderExists(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).absoluteDir().exists();
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

CCliSession::CCliSession(const cli::CliOptions& options)
    : options_(options), doc_(std::make_unique<CTonraDoc>()) {
    clock_.start();
    timeLimit_.setSingleShot(true);
    QObject::connect(&timeLimit_, &QTimer::timeout, [this] {
        End(kExitFailed,
            Format("The command did not finish within --timeout %g seconds.", options_.timeoutSeconds));
    });
    watch_.setInterval(kWatchPeriodMs);
    QObject::connect(&watch_, &QTimer::timeout, [this] { OnWatch(); });
}

CCliSession::~CCliSession() = default;

int CCliSession::Run() {
    if (!CheckFiles() || !Connect()) {
        return exitCode_;
    }
    timeLimit_.start(static_cast<int>(std::ceil(options_.timeoutSeconds * kMsPerSecond)));
    engine_.RequestTransfer(TransferMode::Sync);
    return QCoreApplication::exec();
}

bool CCliSession::CheckFiles() {
    std::string problem;
    switch (options_.command) {
    case Command::Sync:
        if (!FolderExists(options_.file)) {
            End(kExitFailed, "The folder of \"" + options_.file + "\" does not exist.");
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
        if (!FolderExists(listPath_)) {
            End(kExitFailed, "The folder of \"" + options_.file + "\" does not exist.");
        }
        break;
    case Command::Download:
        listPath_ = AbsolutePath(options_.file);
        if (const auto bytes = model::ReadFileBytes(listPath_, model::kProgramListFileSize, problem)) {
            programs_ = model::ReadProgramListBytes(*bytes);
        } else {
            End(kExitFailed, "Cannot read the program list \"" + options_.file + "\".\n" + problem);
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
        std::cerr << "veltrix-cli: the temporary connection file could not be written: " << problem << "\n";
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
    engine_.SetPasswordPrompt([this] { return std::optional<std::string>(options_.password); });
    engine_.SetStatusObserver([this](const std::string& text) { OnStatus(text); });
    engine_.SetRefreshObserver([this](CPort::RefreshCode code) { OnRefresh(code); });
    engine_.SetFinishObserver([this](TransferMode mode, bool success) {
        // Acted on once the engine's tick is over, so the engine has finished the transfer
        // (image processed, password checked) before the next step is asked of it.
        QTimer::singleShot(0, &watch_, [this, mode, success] { OnTransferEnd(mode, success); });
    });
    if (!engine_.Create(nullptr, doc_.get(), d)) {
        End(kExitFailed, "The link engine could not be started.");
        return false;
    }
    if (!engine_.Connect()) {
        const auto& ip = options_.ipAddress;
        End(kExitFailed, options_.network ? Format("Cannot connect to %d.%d.%d.%d port %d.", ip[0], ip[1],
                                                   ip[2], ip[3], options_.port)
                                          : Format("Cannot open COM %d.", options_.comPort));
        return false;
    }
    return true;
}

void CCliSession::OnStatus(const std::string& text) {
    if (ended_) {
        return;
    }
    std::cerr << text << std::endl;
    if (phase_ == Phase::Monitor) {
        std::cout << Format("%.3f\t", Seconds()) << text << std::endl;
    }
}

void CCliSession::OnRefresh(CPort::RefreshCode code) {
    if (ended_ || code != CPort::MetersChanged) {
        return;
    }
    if (phase_ == Phase::Monitor) {
        PrintMeters();
    } else if (phase_ == Phase::Settle && settling_.isValid()) {
        ++metersSinceSent_;
    }
}

void CCliSession::OnTransferEnd(TransferMode mode, bool success) {
    if (ended_) {
        return;
    }
    switch (phase_) {
    case Phase::FirstSync:
        OnFirstSync(success);
        break;
    case Phase::Transfer:
        if (!success) {
            End(kExitFailed, std::string("The ") + TransferName(mode) + " failed.");
        } else if (!engine_.FileProblem().empty()) {
            End(kExitFailed, engine_.FileProblem());
        } else if (mode == TransferMode::DownSync) {
            End(kExitDone);
        } else {
            // An Upload or Download is followed by a Sync that reloads the device's live settings.
            phase_ = Phase::FollowingSync;
        }
        break;
    case Phase::FollowingSync:
        // The programs of an Upload are saved by now; a Download needs the device to answer again.
        if (!success && options_.command == Command::Download) {
            End(kExitFailed, "The Sync after the Download failed.");
        } else {
            End(kExitDone);
        }
        break;
    case Phase::Settle:
    case Phase::Monitor:
        // A Sync the device asked for (a recalled program, a change on its front panel, the
        // link coming back): the watch goes on.
        break;
    }
}

void CCliSession::OnFirstSync(bool success) {
    if (!success) {
        End(kExitFailed, "The device did not answer the Sync.");
    } else if (doc_->passwordOk[options_.slot] != 1) {
        End(kExitPassword); // the engine has said so already
    } else {
        StartCommand();
    }
}

void CCliSession::StartCommand() {
    const int d = options_.slot;
    std::string problem;
    switch (options_.command) {
    case Command::Sync:
        // Failures are reported by the document.
        End(doc_->OnSaveDocument(options_.file) ? kExitDone : kExitFailed);
        break;
    case Command::DownSync:
        switch (doc_->LoadSetup(setupBytes_, problem)) {
        case CTonraDoc::kLoadOk:
            StartTransfer(TransferMode::DownSync);
            break;
        case CTonraDoc::kLoadCountsDiffer:
            End(kExitFailed, "Error: Channel numbers are different");
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
        if (engine_.BuildDownloadImage()) {
            StartTransfer(TransferMode::Download);
        } else {
            End(kExitFailed, "File List Error\n" + engine_.FileProblem());
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
        phase_ = Phase::Monitor;
        QTimer::singleShot(static_cast<int>(std::ceil(options_.seconds * kMsPerSecond)), &watch_,
                           [this] { End(kExitDone); });
        break;
    case Command::Dump:
    case Command::Response:
        break;
    }
}

void CCliSession::StartTransfer(TransferMode mode) {
    engine_.RequestTransfer(mode);
    if (engine_.Mode() != mode) {
        End(kExitFailed, std::string("The engine is busy; the ") + TransferName(mode) + " did not start.");
        return;
    }
    phase_ = Phase::Transfer;
}

void CCliSession::StartSet() {
    const int d = options_.slot;
    const int inputs = doc_->GetInputCount(d);
    const int channels = doc_->GetChannelCount(d);
    if (options_.channel >= channels) {
        End(kExitUsage,
            Format("The device has %d channels: CHANNEL runs from 0 to %d.", channels, channels - 1));
        return;
    }
    if (IsOutputKind(options_.kind) && options_.channel < inputs) {
        End(kExitUsage, Format("Kind %d belongs to the outputs: CHANNEL runs from %d to %d on this device.",
                               options_.kind, inputs, channels - 1));
        return;
    }
    if (options_.kind == model::kMixLevel && options_.index >= inputs) {
        End(kExitUsage,
            Format("The device has %d inputs: INDEX of kind 10 runs from 0 to %d.", inputs, inputs - 1));
        return;
    }
    if (options_.kind == model::kChannelName) {
        doc_->SetParamText(options_.kind, options_.text, options_.channel, d);
    } else {
        doc_->SetParam(options_.kind, options_.value, options_.channel, options_.index, d);
    }
    StartSettle();
}

void CCliSession::StartSettle() {
    phase_ = Phase::Settle;
    watch_.start();
}

// Done once nothing is pending or queued any more, the engine is idle (a Sync the device
// asked for has ended), and the device has answered since or had time to.
void CCliSession::OnWatch() {
    if (engine_.SendLength() > 0 || HasPendingChanges(*doc_, options_.slot)) {
        return;
    }
    if (!settling_.isValid()) {
        settling_.start();
        metersSinceSent_ = 0;
    }
    if (engine_.Mode() == TransferMode::Idle &&
        (metersSinceSent_ >= kRepliesAfterSent || settling_.elapsed() >= kSettleGraceMs)) {
        End(kExitDone);
    }
}

void CCliSession::PrintMeters() {
    const int d = options_.slot;
    std::string line = Format("%.3f\tMeters", Seconds());
    for (int c = 0; c < doc_->GetChannelCount(d); ++c) {
        line += Format("\t%d", doc_->meterLevel[d][doc_->ChannelSlot(c, d)]);
    }
    std::cout << line << std::endl;
}

double CCliSession::Seconds() const { return static_cast<double>(clock_.elapsed()) / kMsPerSecond; }

void CCliSession::End(int exitCode, const std::string& message) {
    if (ended_) {
        return;
    }
    ended_ = true;
    exitCode_ = exitCode;
    if (!message.empty()) {
        std::cerr << "veltrix-cli: " << message << std::endl;
    }
    if (exitCode == kExitUsage) {
        std::cerr << "\n" << cli::UsageText();
    }
    timeLimit_.stop();
    watch_.stop();
    // The transport may still hold the last characters for the device.
    QTimer::singleShot(kLingerMs, &timeLimit_, [exitCode] { QCoreApplication::exit(exitCode); });
}
