// The bulk transfers, one step per tick, and what the engine does with what they brought:
// the sync image, the password check and the 30 programs of an Upload.
#include "link/Port.h"

#include "framework/Format.h"
#include "model/FileIo.h"
#include "model/ProgramListFile.h"
#include "model/SetupFile.h"
#include "model/TonraDoc.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

using namespace devlink;
using namespace model;

namespace {

// What a transfer shows and where it leads. Sync and DownSync end idle; an Upload or a
// Download is always followed by a Sync, which reloads the live settings of the device.
struct TransferTexts {
    TransferMode mode;
    const char* initializing;
    const char* progressPrefix; // followed by the share of blocks done
    const char* finished;
    const char* failed;
    TransferMode next;
};
constexpr std::array<TransferTexts, 4> kTransferTexts = {{
    {TransferMode::Sync, "Sync Status: Initializing", "Sync Status: ", "Sync Status: Finished OK",
     "Sync Status: Failed", TransferMode::Idle},
    {TransferMode::DownSync, "DownSync Status: Initializing",
     "Download Status: ", "DownSync Status: Finished", "DownSync Status: Failed", TransferMode::Idle},
    {TransferMode::Upload, "Upload Status: Initializing", "Upload Status: ", "Upload Status: Finished OK",
     "Upload Status: Failed", TransferMode::Sync},
    {TransferMode::Download, "Download Status: Initializing",
     "Download Status: ", "Download Status: Finished", "Download Status: Failed", TransferMode::Sync},
}};

const TransferTexts& TextsOf(TransferMode mode) {
    return *std::find_if(kTransferTexts.begin(), kTransferTexts.end(),
                         [mode](const TransferTexts& t) { return t.mode == mode; });
}

constexpr int kStepOpen = 0;
constexpr int kStepAcknowledged = 1;
constexpr int kStepBlock = 2;
constexpr int kStepWaitBlock = 3;
constexpr int kPercent = 100;

constexpr std::string_view kLinkDisabled = "Link Status: Disabled";
constexpr const char* kDeviceProgramCaption = "Device Program";
constexpr const char* kProgramFileExtension = ".dat";
constexpr const char* kDefaultProgramName = "Program%02d";

// Characters the block frame holds after its header: the image characters and the checksum.
constexpr std::size_t kBlockBodyChars = kBlockChars + kBlockChecksumChars;

// A program name as a file name: letters and digits stay, everything else becomes "_".
std::string FileNameOf(const std::string& programName, int program) {
    if (programName.empty()) {
        return Format(kDefaultProgramName, program + 1);
    }
    std::string name = programName;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

// `name`, or when an earlier program of the same Upload already took it, the first of
// name_2, name_3, ... that is free, cut so that it still fits a list record.
std::string UniqueName(const std::string& name, const ProgramList& names, int taken) {
    const auto isTaken = [&](const std::string& candidate) {
        return std::find(names.begin(), names.begin() + taken, candidate) != names.begin() + taken;
    };
    std::string candidate = name;
    for (int n = 2; isTaken(candidate); ++n) {
        const std::string suffix = "_" + std::to_string(n);
        candidate = name.substr(0, kProgramListRecordSize - suffix.size()) + suffix;
    }
    return candidate;
}

// Reasons are quoted inside a sentence of their own.
std::string WithoutFullStop(std::string text) {
    while (!text.empty() && (text.back() == '.' || text.back() == '\n')) {
        text.pop_back();
    }
    return text;
}

} // namespace

// ---- Steps ----

void CPort::OpenTransfer() {
    const TransferTexts& texts = TextsOf(mode_);
    blockCount_ = 0;
    transferProblem_.clear();
    SetStatusText(texts.initializing);
    ClearSend();
    if (mode_ == TransferMode::DownSync) {
        // Only the line's unread input goes; replies already taken in stay in front of the
        // acknowledgement, which the token search skips.
        Line().Purge();
    } else {
        ClearReceive();
    }
    QueueFrame(kCmdBeginTransfer, OwnBit(), 0, 0, 0);
    QueueChars(kStartSequence);
    const char letter = ModeLetter(mode_);
    QueueChars(std::string_view(&letter, 1));
    SetStep(kStepAcknowledged, kStepSeconds);
}

void CPort::ShowProgress() {
    const unsigned percent = static_cast<unsigned>(blockCount_ * kPercent / TransferBlockCount(mode_));
    SetStatusText(TextsOf(mode_).progressPrefix + Format("%u%%", percent));
}

void CPort::TransferStep() {
    const bool deviceSends = DeviceSends(mode_);
    switch (step_) {
    case kStepOpen:
        OpenTransfer();
        break;
    case kStepAcknowledged:
        if (countdown_ == 0) {
            Finish(false);
        } else if (WaitToken(kAckToken)) {
            SetStep(kStepBlock, 0);
        }
        break;
    case kStepBlock:
        ShowProgress();
        if (!deviceSends) {
            ClearReceive();
            QueueBlock();
        }
        SetStep(kStepWaitBlock, kStepSeconds);
        break;
    default:
        if (deviceSends) {
            ReadInput();
        }
        if (countdown_ == 0) {
            Finish(false);
        } else if (!deviceSends) {
            if (WaitToken(kAckToken)) {
                NextBlock();
            }
        } else if (receiveBuffer_.size() >= static_cast<std::size_t>(kBlockFrameLength) &&
                   WaitToken(kBlockHeader)) {
            TakeBlock();
        }
        break;
    }
}

void CPort::TakeBlock() {
    if (receiveBuffer_.size() < kBlockBodyChars + kBlockTrailer.size()) {
        // Characters in front of the header were skipped and the block is not all here yet:
        // keep the header for the next tick.
        receiveBuffer_.insert(0, kBlockHeader);
        return;
    }
    const std::string_view data(receiveBuffer_.data(), kBlockChars);
    std::copy(data.begin(), data.end(), image_->begin() + blockCount_ * kBlockChars);
    blockChecksum_ = static_cast<unsigned char>(BlockChecksum(data));
    if (blockChecksum_ != HexPairToByte(receiveBuffer_[kBlockChars], receiveBuffer_[kBlockChars + 1])) {
        return; // not acknowledged: the device gives up, and so does this step's time-out
    }
    receiveBuffer_.erase(0, kBlockBodyChars);
    if (!WaitToken(kBlockTrailer)) {
        return;
    }
    QueueChars(kAckToken);
    NextBlock();
}

void CPort::NextBlock() {
    if (++blockCount_ < TransferBlockCount(mode_)) {
        SetStep(kStepBlock, 0);
    } else {
        Finish(true);
    }
}

void CPort::QueueBlock() {
    const std::string_view data(image_->data() + blockCount_ * kBlockChars, kBlockChars);
    blockChecksum_ = static_cast<unsigned char>(BlockChecksum(data));
    const std::array<char, kBlockChecksumChars> checksum = {HexDigit(blockChecksum_, 1),
                                                            HexDigit(blockChecksum_, 0)};
    QueueChars(kBlockHeader);
    QueueChars(data);
    QueueChars(std::string_view(checksum.data(), checksum.size()));
    QueueChars(kBlockTrailer);
}

void CPort::Finish(bool success) {
    const TransferMode ended = mode_;
    const TransferTexts& texts = TextsOf(ended);
    if (!success && transferProblem_.empty()) {
        transferProblem_ = StepFailure();
    } else if (success) {
        transferProblem_.clear();
    }
    // The new mode holds before the image is processed: ticks that run while a dialog of the
    // processing is open see it.
    mode_ = texts.next;
    step_ = kStepOpen;
    // Frames the operator queued during the transfer leave now, before any transfer that follows.
    QueueFramesHeldDuringTransfer();
    if (ended == TransferMode::Upload && success) {
        // The programs are saved before the end is shown: an Upload whose files could not be
        // saved has failed.
        ProcessUpload();
        success = fileProblem_.empty();
        transferProblem_ = fileProblem_;
    }
    SetStatusText(success ? texts.finished : texts.failed);
    if (ended == TransferMode::Sync) {
        if (success) {
            ProcessSyncImage();
        }
        Refresh(SyncDone);
        Refresh(ParamsChanged);
    } else if (ended == TransferMode::Upload) {
        Refresh(ParamsChanged);
    }
    if (finishObserver_) {
        finishObserver_(ended, success);
    }
    if (ended == TransferMode::Upload && !fileProblem_.empty()) {
        Tell(Notice::ProgramFilesNotSaved, fileProblem_);
    }
}

void CPort::QueueFramesHeldDuringTransfer() {
    const std::size_t room = static_cast<std::size_t>(kSendBufferSize - sendLength_);
    std::size_t take = std::min(afterTransfer_.size(), room);
    take -= take % kCommandFrameLength; // whole frames only; the rest waits for room
    QueueChars(std::string_view(afterTransfer_).substr(0, take));
    afterTransfer_.erase(0, take);
}

std::string CPort::StepFailure() const {
    const int blocks = TransferBlockCount(mode_);
    if (Line().IsDown()) {
        const std::string reason = Line().ErrorText();
        return "the connection ended" + (reason.empty() ? std::string() : ": " + reason);
    }
    if (step_ <= kStepAcknowledged) {
        return "the device did not answer";
    }
    if (DeviceSends(mode_)) {
        return Format("the device stopped answering after %d of %d blocks", blockCount_, blocks);
    }
    return Format("the device did not acknowledge block %d of %d", blockCount_ + 1, blocks);
}

// ---- What the transfers brought ----

void CPort::ProcessSyncImage() {
    ReadSyncImage(DataImage(), *doc_, device_);
    // The shadow now equals what the device holds, so nothing is sent back.
    doc_->ValidateDevice(device_);
    doc_->TakeSnapshot(device_);
    Refresh(LayoutChanged);
    CheckPassword();
    const int program = doc_->currentProgram[device_];
    doc_->documentCaption = kDeviceProgramCaption + Format(" %u: %s", static_cast<unsigned>(program + 1),
                                                           doc_->programName[device_][program].c_str());
}

void CPort::CheckPassword() {
    std::string& entered = doc_->enteredPassword[device_];
    if (entered != doc_->devicePassword[device_] && passwordPrompt_) {
        if (const std::optional<std::string> typed = passwordPrompt_()) {
            entered = *typed;
        }
    }
    if (entered == doc_->devicePassword[device_]) {
        doc_->passwordOk[device_] = 1;
        return;
    }
    doc_->passwordOk[device_] = 0;
    Tell(Notice::PasswordRefused, kIncorrectPasswordText);
    SetStatusText(kLinkDisabled);
}

std::string CPort::ProgramFolder() const {
    const std::string& list = doc_->programListFile;
    return list.empty() ? QDir::currentPath().toStdString()
                        : QFileInfo(QString::fromStdString(list)).absolutePath().toStdString();
}

std::string CPort::ProgramFilePath(const std::string& name) const {
    return ProgramFolder() + "/" + name + kProgramFileExtension;
}

QByteArray CPort::StoreOwnSetup() const {
    // The document stores its current device; a program belongs to this engine's slot,
    // whatever device is shown when the Upload ends.
    const int shown = doc_->currentDevice;
    doc_->currentDevice = device_;
    QByteArray bytes = doc_->StoreSetup();
    doc_->currentDevice = shown;
    return bytes;
}

void CPort::ProcessUpload() {
    fileProblem_.clear();
    ProgramList names;
    for (int p = 0; p < kProgramCount; ++p) {
        const std::string programName = ReadProgramRecord(DataImage(), p, *doc_, device_);
        doc_->ValidateDevice(device_);
        doc_->TakeSnapshot(device_);
        names[p] = UniqueName(FileNameOf(programName, p), names, p);
        const std::string path = ProgramFilePath(names[p]);
        std::string problem;
        if (!WriteFileSafely(path, StoreOwnSetup(), problem) && fileProblem_.empty()) {
            fileProblem_ = "Cannot save the program file \"" + path + "\".\n" + problem;
        }
    }
    std::string problem;
    if (!doc_->programListFile.empty() && !WriteProgramListFile(doc_->programListFile, names, problem) &&
        fileProblem_.empty()) {
        fileProblem_ = "Cannot write the program list \"" + doc_->programListFile + "\".\n" + problem;
    }
}

std::string CPort::BuildDownloadImage() {
    // The programs are loaded into a document of their own, so that a list that cannot be
    // used changes nothing: not the document, not the image, and so not the device.
    auto scratch = std::make_unique<CTonraDoc>();
    scratch->currentDevice = device_;
    scratch->deviceModel[device_] = doc_->deviceModel[device_];
    scratch->inputCount[device_] = doc_->inputCount[device_];
    scratch->outputCount[device_] = doc_->outputCount[device_];
    scratch->deviceOnline[device_] = doc_->deviceOnline[device_];
    std::vector<char> image(static_cast<std::size_t>(kProgramImageBlocks) * kBlockChars);
    fileProblem_.clear();
    for (int p = 0; p < kProgramCount && fileProblem_.empty(); ++p) {
        const std::string& name = doc_->programFiles[p];
        if (name.empty()) {
            scratch->OnNewDocument();
        } else {
            fileProblem_ = LoadProgramFile(*scratch, p, name);
        }
        WriteProgramRecord(image, p, *scratch, device_, name);
    }
    if (fileProblem_.empty()) {
        std::copy(image.begin(), image.end(), image_->begin());
    }
    return fileProblem_;
}

std::string CPort::LoadProgramFile(CTonraDoc& scratch, int program, const std::string& name) const {
    const std::string entry =
        Format("File List Error: program %d '%s%s'", program + 1, name.c_str(), kProgramFileExtension);
    if (!ProgramEntryProblem(program, name).empty()) {
        return entry + " is not in the list's folder"; // never a file outside it
    }
    std::string problem;
    const std::optional<QByteArray> bytes = ReadFileBytes(ProgramFilePath(name), kMaxSetupFileBytes, problem);
    if (!bytes) {
        return entry + " cannot be read: " + WithoutFullStop(problem);
    }
    switch (scratch.LoadSetup(*bytes, problem)) {
    case CTonraDoc::kLoadOk:
        return {};
    case CTonraDoc::kLoadCountsDiffer:
        return entry + " has other channel counts than the device";
    default:
        return entry + " cannot be used: " + WithoutFullStop(problem);
    }
}
