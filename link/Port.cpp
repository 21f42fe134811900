// The engine's life, its timer tick and the idle work: polling, supervision of the link and
// the replies of the device.
#include "link/Port.h"

#include "framework/Format.h"
#include "link/ReplyFields.h"
#include "model/TonraDoc.h"

#include <algorithm>

using namespace devlink;
using namespace model;

namespace {

constexpr int kDevicePage = 1;
constexpr char kImageFill = '0';

constexpr std::string_view kLinkOffline = "Link Status: Offline";
constexpr std::string_view kLinkError = "Link Status: Error";
constexpr std::string_view kLinkOk = "Link Status: OK";

} // namespace

CPort::CPort() : image_(std::make_unique<std::array<char, kDataImageChars>>()), networkPort_(kNetworkPort) {
    image_->fill(kImageFill);
    receiveBuffer_.reserve(kReceiveLimit + CPortSocket::kReceiveChunk);
}

// The document may be gone by now: only the transports are closed.
CPort::~CPort() { CloseTransports(); }

bool CPort::Create(CMsgWnd* view, CTonraDoc* document, int device) {
    view_ = view;
    doc_ = document;
    device_ = device;
    mode_ = TransferMode::Idle;
    serial_.SetDeviceSlot(device);
    return doc_ && doc_->ResolveDevice(device) == device && CreateMessageWindow();
}

int CPort::OnCreate() {
    missCount_ = 0;
    pollTick_ = 0;
    step_ = 0;
    countdown_ = 0;
    blockCount_ = 0;
    ClearSend();
    ClearReceive();
    return 0;
}

bool CPort::Connect() {
    bool opened = false;
    connectProblem_.clear();
    if (NetworkMode()) {
        transport_ = &socket_;
        const auto& ip = doc_->ipAddress[device_];
        if (std::any_of(ip.begin(), ip.end(), [](int octet) { return octet != 0; })) {
            const std::string address =
                Format("%u.%u.%u.%u", static_cast<unsigned>(ip[0]), static_cast<unsigned>(ip[1]),
                       static_cast<unsigned>(ip[2]), static_cast<unsigned>(ip[3]));
            opened = socket_.Connect(address, networkPort_);
        }
    } else {
        transport_ = &serial_;
        if (doc_->comPort[device_] > 0) {
            opened = serial_.Open(doc_->comPort[device_] - 1, kSerialSettings);
            connectProblem_ = serial_.OpenProblem();
        }
    }
    if (opened) {
        doc_->deviceOnline[device_] = 1;
        lastAnswer_.start();
        reconnectCountdown_ = 0;
        SetTimer(static_cast<UINT_PTR>(device_), kTimerPeriodMs);
    }
    return opened;
}

void CPort::Disconnect() {
    CloseTransports();
    KillTimer(static_cast<UINT_PTR>(device_));
    if (doc_) {
        doc_->deviceOnline[device_] = 0;
    }
}

void CPort::CloseTransports() {
    serial_.ClosePort();
    socket_.Close();
}

CPort::TransferStart CPort::RequestTransfer(TransferMode mode) {
    if (mode != TransferMode::Sync && !PasswordOk()) {
        return TransferStart::NoControl;
    }
    if (mode == TransferMode::DownSync) {
        // From here on the current values count as sent, whether or not the transfer starts.
        doc_->ValidateDevice(device_);
        WriteDownSyncImage(*image_, *doc_, device_);
        doc_->TakeSnapshot(device_);
    }
    if (mode_ == TransferMode::Idle) {
        mode_ = mode;
        return TransferStart::Started;
    }
    return mode_ == mode && mode == TransferMode::Sync ? TransferStart::Started : TransferStart::Busy;
}

bool CPort::QueueFrame(int code, int deviceMask, int channel, int index, int value, int extra1, int extra2,
                       int extra3) {
    const std::string frame =
        BuildCommandFrame({deviceMask, code, channel, index, value, extra1, extra2, extra3});
    if (mode_ != TransferMode::Idle && step_ != 0) {
        // A frame in the middle of a transfer would break it: it leaves after the transfer.
        if (afterTransfer_.size() + frame.size() > static_cast<std::size_t>(kSendBufferSize)) {
            return false;
        }
        afterTransfer_ += frame;
        return true;
    }
    return QueueChars(frame);
}

int CPort::PendingChangeCount() const {
    // While a transfer moves blocks the send buffer holds its characters, not changes.
    const bool queueHoldsChanges = mode_ == TransferMode::Idle || step_ == 0;
    const std::size_t chars =
        afterTransfer_.size() + (queueHoldsChanges ? static_cast<std::size_t>(sendLength_) : 0);
    const int frames = static_cast<int>((chars + kCommandFrameLength - 1) / kCommandFrameLength);
    return frames + UnsentParamCount();
}

long long CPort::SilentMs() const { return lastAnswer_.isValid() ? lastAnswer_.elapsed() : 0; }

std::string CPort::LinkProblem() const {
    if (otherSlot_ >= 0) {
        return Format("answers come from slot %d: check the device's slot", otherSlot_);
    }
    return Line().ErrorText();
}

// ---- The tick ----

void CPort::OnTimer(UINT_PTR id) {
    if (!Online()) {
        SetStatusText(kLinkOffline);
        ZeroMeters();
        return;
    }
    if (id != static_cast<UINT_PTR>(device_)) {
        return;
    }
    if (countdown_ > 0) {
        --countdown_;
    }
    SuperviseConnection();
    if (mode_ != TransferMode::Idle && mode_ != TransferMode::Sync && !PasswordOk()) {
        // Only a Sync runs without control; nothing waits for a password that may never come.
        transferProblem_ = "the device password was refused";
        Finish(false);
    }
    if (mode_ == TransferMode::Idle || (step_ == 0 && WaitsForQueue())) {
        IdleTick();
    } else {
        TransferStep();
        Flush(0);
    }
}

bool CPort::WaitsForQueue() const {
    // The operator's changes leave at the idle pace before the transfer opens. Without control
    // or without an answering device they cannot leave: the transfer opens at once then.
    return PasswordOk() && !LinkError() && !askingLinkBack_ && (sendLength_ > 0 || UnsentParamCount() > 0);
}

void CPort::IdleTick() {
    ReadInput();
    if (++pollTick_ > kPollTicks) {
        PollCycle();
        // Changes leave one frame a poll cycle, so their count is looked at here: it scans
        // every parameter of the device, too much for every tick.
        ReportPendingCount();
    }
    TakeReply();
}

void CPort::PollCycle() {
    pollTick_ = 0;
    if (missCount_ < kLinkErrorCycles) {
        ++missCount_;
    } else if (missCount_ == kLinkErrorCycles) {
        RaiseLinkError();
    }
    if (!PasswordOk()) {
        return; // without control nothing is sent, not even polls
    }
    if (LinkError() || askingLinkBack_) {
        // The changes wait until the device answers and the operator has decided about them.
        SendPoll();
        return;
    }
    QueueFramesHeldDuringTransfer();
    SendChanges();
    if (sendLength_ > 0) {
        Flush(kCommandFrameLength); // one command frame per poll cycle
    } else {
        SendPoll();
    }
}

void CPort::SendPoll() { Transmit(BuildCommandFrame({OwnBit(), kCmdPoll, 0, 0, 0, 0, 0, 0})); }

void CPort::RaiseLinkError() {
    missCount_ = kLinkErrorReported;
    ZeroMeters();
    SetStatusText(kLinkError);
    Refresh(StatusChanged);
    Refresh(MetersChanged);
}

void CPort::SuperviseConnection() {
    CPortLine& line = Line();
    if (line.IsDown() && !LinkError()) {
        // A connection that failed or ended is an error at once; the device cannot answer.
        RaiseLinkError();
        reconnectCountdown_ = kReconnectSeconds * kTicksPerSecond;
        return;
    }
    // While the device does not answer, a connection that ended or that has been in the
    // making for a whole period (a host that drops the attempts) is made again.
    if (!LinkError() || !(line.IsDown() || line.IsConnecting())) {
        return;
    }
    if (reconnectCountdown_ > 0) {
        --reconnectCountdown_;
    } else {
        line.Reconnect();
        reconnectCountdown_ = kReconnectSeconds * kTicksPerSecond;
    }
}

void CPort::TakeReply() {
    // Everything in front of the next frame start goes at once; a DC1 that does not open a
    // valid frame is junk as well. At most one frame is taken per tick.
    const auto dropJunk = [this] {
        receiveBuffer_.erase(0, std::min(receiveBuffer_.find(kDc1), receiveBuffer_.size()));
    };
    dropJunk();
    while (receiveBuffer_.size() >= static_cast<std::size_t>(kReplyFrameLength)) {
        const std::optional<ReplyFrame> reply = CheckReplyFrame(receiveBuffer_);
        if (reply) {
            receiveBuffer_.erase(0, kReplyFrameLength);
            ApplyReply(*reply);
            return;
        }
        receiveBuffer_.erase(0, 1);
        dropJunk();
    }
}

void CPort::ApplyReply(const ReplyFrame& reply) {
    // Only the device of this slot answers; frames for another slot mean a device set to the
    // wrong slot, which is reported but never taken for an answer.
    if (reply.device != device_) {
        otherSlot_ = reply.device;
        return;
    }
    otherSlot_ = -1;
    lastAnswer_.start();
    if (LinkError()) {
        LinkBack();
    }
    missCount_ = 0;
    if (reply.code == kReplyMeters) {
        TakeMeters(reply);
        return;
    }
    if (!PasswordOk()) {
        return;
    }
    if (reply.code == kReplyContentChanged || reply.code == kReplyProgramRecalled ||
        reply.code == kReplyProgramStored) {
        if (mode_ == TransferMode::Idle) {
            mode_ = TransferMode::Sync;
        }
        return;
    }
    // ReplyField refuses an index or sub-index outside the arrays.
    const ReplyTarget target = ReplyField(*doc_, device_, reply.code, reply.index, reply.subIndex);
    if (target && *target.value != reply.value) {
        *target.value = reply.value;
        *target.shadow = reply.value;
        if (IsShownDevice()) {
            Refresh(ParamsChanged);
        }
    }
}

void CPort::LinkBack() {
    // The device may have changed in any way while it was away: read it whole. Changes the
    // operator made meanwhile go first only when the operator says so.
    missCount_ = 0;
    bool sendChanges = false;
    if (HasUnsentChanges() && linkBackQuestion_) {
        askingLinkBack_ = true;
        sendChanges = linkBackQuestion_();
        askingLinkBack_ = false;
    }
    if (!sendChanges) {
        ClearSend();
        afterTransfer_.clear();
        static_cast<CTonraParams&>(*doc_).CopyDevice(doc_->shadow, device_);
    }
    if (mode_ == TransferMode::Idle) {
        mode_ = TransferMode::Sync;
    }
}

void CPort::ReportPendingCount() {
    if (!IsShownDevice()) {
        return;
    }
    const int count = PendingChangeCount();
    if (count != lastPendingCount_) {
        lastPendingCount_ = count;
        Refresh(PendingChanged);
    }
}

void CPort::TakeMeters(const ReplyFrame& reply) {
    if (reply.index < 0 || reply.index >= kMeterGroupCount) {
        return;
    }
    for (int k = 0; k < kMetersPerGroup; ++k) {
        doc_->meterLevel[device_][reply.index * kMetersPerGroup + k] = MeterLevelOf(reply.value, k);
    }
    SetStatusText(kLinkOk);
    if (IsShownDevice()) {
        Refresh(MetersChanged);
    }
}

// ---- Helpers ----

void CPort::SetStatusText(std::string_view text) {
    // Only the engine of the shown device writes the status line.
    if (doc_->pageMode != kDevicePage || !IsShownDevice() || doc_->statusText == text) {
        return;
    }
    doc_->statusText = text;
    if (statusObserver_) {
        statusObserver_(doc_->statusText);
    }
    Refresh(StatusChanged);
}

void CPort::SetStep(int step, int seconds) {
    step_ = step;
    countdown_ = seconds * kTicksPerSecond;
}

void CPort::ReadInput() {
    // A line may hand over a chunk per call: take everything that has arrived while the
    // receive buffer has room for another chunk, so that the engine keeps the device's pace.
    // The rest waits in the line.
    CPortLine& line = Line();
    while (receiveBuffer_.size() + CPortSocket::kReceiveChunk <= static_cast<std::size_t>(kReceiveLimit)) {
        const std::string chunk = line.Receive();
        if (chunk.empty()) {
            break;
        }
        receiveBuffer_ += chunk;
    }
    if (receiveBuffer_.size() > static_cast<std::size_t>(kReceiveLimit)) {
        receiveBuffer_.erase(0, receiveBuffer_.size() - kReceiveLimit);
    }
}

bool CPort::WaitToken(std::string_view token) {
    ReadInput();
    return FindToken(receiveBuffer_, token);
}

void CPort::ClearReceive() {
    receiveBuffer_.clear();
    Line().Purge();
}

void CPort::ClearSend() {
    sendBuffer_.fill('\0');
    sendLength_ = 0;
}

void CPort::Flush(int limit) {
    if (!Online()) {
        return;
    }
    const int count = limit <= 0 || limit > sendLength_ ? sendLength_ : limit;
    if (count == 0) {
        return;
    }
    const std::string chars(sendBuffer_.data(), static_cast<std::size_t>(count));
    std::copy(sendBuffer_.begin() + count, sendBuffer_.begin() + sendLength_, sendBuffer_.begin());
    std::fill(sendBuffer_.begin() + (sendLength_ - count), sendBuffer_.begin() + sendLength_, '\0');
    sendLength_ -= count;
    Transmit(chars);
}

void CPort::Transmit(const std::string& chars) {
    if (!Online()) {
        return;
    }
    Line().Send(chars);
}

bool CPort::QueueChars(std::string_view chars) {
    const int length = static_cast<int>(chars.size());
    if (sendLength_ + length > kSendBufferSize) {
        return false;
    }
    std::copy(chars.begin(), chars.end(), sendBuffer_.begin() + sendLength_);
    sendLength_ += length;
    return true;
}

void CPort::Refresh(RefreshCode code) {
    if (view_) {
        view_->SendMessage(UM_REFRESH, code, 0);
    }
}

void CPort::Tell(Notice notice, const std::string& text) const {
    if (noticeHandler_) {
        noticeHandler_(notice, text);
    }
}

void CPort::ZeroMeters() { doc_->meterLevel[device_].fill(0); }

bool CPort::NetworkMode() const { return doc_->connectionMode != 0; }
bool CPort::Online() const { return doc_->deviceOnline[device_] != 0; }
bool CPort::PasswordOk() const { return doc_->passwordOk[device_] == 1; }
bool CPort::IsShownDevice() const { return doc_->currentDevice == device_; }
int CPort::OwnBit() const { return DeviceBit(device_); }
