// CPort: the link engine of one device slot. It keeps the slot of the document in step with
// its device: every 10 ms tick (its window timer, whose id is the device slot) it either runs
// the idle work (every 21st tick it sends what the operator changed or a poll, and on every
// tick it takes in at most one reply frame) or one step of a bulk transfer (Sync, DownSync,
// Upload, Download). Pages never talk to an engine: they write the document and the engine
// notices the difference to the shadow. The engine reports to the view with UM_REFRESH and
// never waits for the device: every step returns at once.
#pragma once

#include "framework/MsgWnd.h"
#include "link/BulkTransfer.h"
#include "link/DataImages.h"
#include "link/PortLine.h"
#include "link/PortSerial.h"
#include "link/PortSocket.h"
#include "link/Protocol.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CTonraDoc;

// CPort is the link engine of one device slot, not a port: transports carry its characters.
class CPort : public CMsgWnd {
public:
    using TransferMode = devlink::TransferMode;

    // wParam of the UM_REFRESH the engine sends to the view.
    enum RefreshCode : WPARAM {
        SyncDone = 0,      // a Sync ended, with success or not
        ParamsChanged = 1, // a Sync or Upload ended, or a reply changed a parameter of the shown device
        StatusChanged = 2, // statusText changed, or the link error was raised
        MetersChanged = 3, // meter levels of the shown device arrived, or the link error was raised
        LayoutChanged = 4, // a sync image set the channel counts
        // PendingChangeCount() of the shown device changed (a frame left, frames were queued).
        PendingChanged = 5,
    };

    // What became of a transfer request.
    enum class TransferStart {
        Started,   // the transfer runs, or waits until the changes queued before it have left
        Busy,      // another transfer runs; the request was dropped
        NoControl, // the device password was refused: only a Sync may run
    };

    // Asks the operator for the device password after a Sync found that the password typed so
    // far does not match the device's: the typed text, or nothing when the operator cancelled.
    using PasswordPrompt = std::function<std::optional<std::string>()>;
    // Sees every status text the engine writes to the status line, as it is written.
    using StatusObserver = std::function<void(const std::string& text)>;
    // Sees the end of every bulk transfer: the mode that ended and whether it succeeded.
    using FinishObserver = std::function<void(TransferMode mode, bool success)>;
    // Asked when a device answers again after a link error while changes made in the meantime
    // are still unsent (HasUnsentChanges): true sends them and then reads the device, false
    // drops them and reads the device. Ticks go on while it is asked; without a question the
    // engine reads the device.
    using LinkBackQuestion = std::function<bool()>;
    // What the engine has to tell the operator the moment it happens.
    enum class Notice {
        PasswordRefused,      // a Sync found the device password refused: control is off
        ProgramFilesNotSaved, // an Upload could not save every program file or the list
    };
    // Tells the operator of `notice` in `text` (FileProblem() for ProgramFilesNotSaved).
    using NoticeHandler = std::function<void(Notice notice, const std::string& text)>;

    // ---- Timing and sizes ----
    static constexpr UINT kTimerPeriodMs = 10;
    static constexpr int kPollTicks = 20;       // a poll cycle when pollTick exceeds this
    static constexpr int kLinkErrorCycles = 50; // poll cycles without a valid reply
    static constexpr int kLinkErrorReported = kLinkErrorCycles + 1;
    static constexpr int kTicksPerSecond = 100;
    static constexpr int kStepSeconds = 2;       // every waiting transfer step
    static constexpr int kSendBufferSize = 4096; // 157 command frames
    // The receive buffer keeps at most this many of the newest characters; a device that
    // floods the line cannot make it grow without end.
    static constexpr int kReceiveLimit = 4096;
    // A TCP connection that failed or ended is made again this often.
    static constexpr int kReconnectSeconds = 2;
    // What the operator is told when a Sync finds the device password refused.
    static constexpr const char* kIncorrectPasswordText =
        "Incorrect device password.\nControl capability disabled.";

    CPort();
    ~CPort() override;

    // Stores the view (may be null), the document and the device slot, and creates the
    // engine's hidden window. False when the window cannot be created. The view, any window,
    // receives the engine's UM_REFRESH.
    bool Create(CMsgWnd* view, CTonraDoc* document, int device);
    // Opens the transport the document's connectionMode selects and starts the timer; on
    // success the device is online. False (device left offline) when the slot has no port or
    // address, or the transport cannot be opened; ConnectProblem() then says why when the
    // transport refused.
    bool Connect();
    // Closes the serial port if it is open and the socket, stops the timer and takes the
    // device offline.
    void Disconnect();
    // Starts a bulk transfer when the engine is idle; a request while another transfer runs is
    // dropped (Busy). Transfers other than Sync are refused at once (NoControl) while the device
    // password is refused; a Sync always starts and asks for the password again. A DownSync
    // request first builds the downsync image and takes the snapshot, even when it is then
    // dropped. Changes queued before the transfer leave before it opens.
    TransferStart RequestTransfer(TransferMode mode);
    // Appends a command frame to the send buffer; false (and dropped) when it does not fit.
    bool QueueFrame(int code, int deviceMask, int channel, int index, int value, int extra1 = 0,
                    int extra2 = 0, int extra3 = 0);
    // Fills the program image with the 30 programs of the document's program list, read from
    // the list file's folder, without changing the document. Returns "" when it is built;
    // otherwise the image is left as it was and the text names the entry and the reason
    // ("File List Error: program 2 'Show.dat' is not in the list's folder"), also kept in
    // FileProblem().
    [[nodiscard]] std::string BuildDownloadImage();

    // ---- Injected services ----
    void SetPasswordPrompt(PasswordPrompt prompt) { passwordPrompt_ = std::move(prompt); }
    void SetStatusObserver(StatusObserver observer) { statusObserver_ = std::move(observer); }
    void SetFinishObserver(FinishObserver observer) { finishObserver_ = std::move(observer); }
    void SetLinkBackQuestion(LinkBackQuestion question) { linkBackQuestion_ = std::move(question); }
    void SetNoticeHandler(NoticeHandler handler) { noticeHandler_ = std::move(handler); }
    // The TCP port Connect uses in network mode (the devices' port unless set otherwise).
    void SetNetworkPort(int port) { networkPort_ = port; }
    // Carries the characters over `line` (not owned) instead of the engine's own transport;
    // null gives them back to the transport.
    void SetLine(CPortLine* line) { line_ = line; }

    // ---- State ----
    int Device() const { return device_; }
    TransferMode Mode() const { return mode_; }
    int Step() const { return step_; }
    int BlockCount() const { return blockCount_; }
    int MissCount() const { return missCount_; }
    int PollTick() const { return pollTick_; }
    // Characters queued and not yet handed to the transport.
    int SendLength() const { return sendLength_; }
    std::string_view ReceiveBuffer() const { return receiveBuffer_; }
    std::string_view DataImage() const { return {image_->data(), image_->size()}; }
    // Why the last Upload could not save every program file or the list, or why the last
    // BuildDownloadImage failed; empty when they succeeded.
    const std::string& FileProblem() const { return fileProblem_; }
    // Why the last Connect could not open the serial port, in the operator's words; empty
    // when it opened or when there was no port to open.
    const std::string& ConnectProblem() const { return connectProblem_; }
    // Why the last transfer that ended failed ("the device did not answer", a file that could
    // not be saved, ...); empty after a success.
    const std::string& TransferProblem() const { return transferProblem_; }

    // ---- What the operator commanded and what has left ----
    // Changes not yet on the device: command frames waiting to leave (each one change), plus
    // parameters of the document that differ from the shadow (each field one change).
    int PendingChangeCount() const;
    bool HasUnsentChanges() const { return PendingChangeCount() > 0; }
    // Whether the device password was accepted, so that commands may control the device.
    bool HasControl() const { return PasswordOk(); }

    // ---- Link supervision ----
    // Whether "Link Status: Error" is raised: no answer for 50 poll cycles, or the TCP
    // connection failed or ended.
    bool LinkError() const { return missCount_ == kLinkErrorReported; }
    // Milliseconds since this device last answered (or since Connect when it never has).
    long long SilentMs() const;
    // Why the link is in error, in words for the operator: why the connection failed or ended,
    // or "answers come from slot 4: check the device's slot"; empty when unknown or healthy.
    std::string LinkProblem() const;

    CPortSerial& SerialTransport() { return serial_; }
    CPortSocket& NetworkTransport() { return socket_; }
    // The transport the last Connect chose (the serial one before any Connect).
    CPortLine& Transport() { return *transport_; }

protected:
    int OnCreate() override;
    void OnTimer(UINT_PTR id) override;

private:
    // ---- Idle work ----
    void IdleTick();
    void PollCycle();
    void TakeReply();
    void ApplyReply(const devlink::ReplyFrame& reply);
    void TakeMeters(const devlink::ReplyFrame& reply);
    // Queues a frame for every parameter that differs from its shadow; false when none did.
    bool SendChanges();
    // Queues one frame for parameter `field` of slot or output `first` when it is pending,
    // with the bits of every later one pending with the same value. `field(params, x)` is the
    // parameter of slot or output x in a parameter set.
    template <typename Field> bool QueueGrouped(int code, int index, int first, int count, Field field);
    bool QueueBand(int slot, int band);
    bool QueueChannelName(int slot);
    // Parameters of the document that differ from the shadow.
    int UnsentParamCount() const;
    // Whether a transfer about to open waits for the changes queued before it.
    bool WaitsForQueue() const;
    // The link error: raised once, with the meters zeroed, and the device read again when it
    // answers after it.
    void RaiseLinkError();
    void LinkBack();
    // Network mode: notices a connection that failed or ended and makes it again.
    void SuperviseConnection();
    void ReportPendingCount();

    // ---- Bulk transfers ----
    // One step of the running transfer: open it, wait for the device's acknowledgement, then
    // per block show the progress and move the block (device to program or back).
    void TransferStep();
    void OpenTransfer();
    void ShowProgress();
    void TakeBlock();
    void QueueBlock();
    void NextBlock();
    void Finish(bool success);
    // Why the running transfer fails at its current step, in the operator's words.
    std::string StepFailure() const;
    void QueueFramesHeldDuringTransfer();
    void ProcessSyncImage();
    void CheckPassword();
    void ProcessUpload();
    // Loads program file `name` of list entry `program` into the scratch document's slot of
    // this engine; "" on success, else the operator's text naming the entry and the reason.
    std::string LoadProgramFile(CTonraDoc& scratch, int program, const std::string& name) const;
    // Program files live in the program list's folder.
    std::string ProgramFolder() const;
    std::string ProgramFilePath(const std::string& name) const;
    QByteArray StoreOwnSetup() const;

    // ---- Buffers and reports ----
    void SetStatusText(std::string_view text);
    void SetStep(int step, int seconds);
    void ReadInput();
    bool WaitToken(std::string_view token);
    void ClearReceive();
    void ClearSend();
    void Flush(int limit);
    // What carries the characters: the line set with SetLine, else the engine's transport.
    CPortLine& Line() const { return line_ ? *line_ : *transport_; }
    // Hands characters to the line at once, past the send buffer.
    void Transmit(const std::string& chars);
    void SendPoll();
    bool QueueChars(std::string_view chars);
    void Refresh(RefreshCode code);
    void Tell(Notice notice, const std::string& text) const;
    void CloseTransports();
    void ZeroMeters();
    bool NetworkMode() const;
    bool Online() const;
    bool PasswordOk() const;
    bool IsShownDevice() const;
    int OwnBit() const;

    CPortSerial serial_;
    CPortSocket socket_;
    CTonraDoc* doc_ = nullptr;
    CMsgWnd* view_ = nullptr;
    int device_ = 0;
    int blockCount_ = 0;
    int step_ = 0;
    int countdown_ = 0;
    std::string receiveBuffer_;
    unsigned char blockChecksum_ = 0;
    TransferMode mode_ = TransferMode::Idle;
    std::unique_ptr<std::array<char, devlink::kDataImageChars>> image_;
    int missCount_ = 0;
    int pollTick_ = 0;
    std::array<char, kSendBufferSize> sendBuffer_{};
    int sendLength_ = 0;

    int networkPort_;
    CPortLine* transport_ = &serial_;
    CPortLine* line_ = nullptr;
    std::string connectProblem_;
    std::string fileProblem_;
    std::string transferProblem_;
    // Frames the operator queued while a transfer ran; they leave after it.
    std::string afterTransfer_;
    int reconnectCountdown_ = 0;
    int otherSlot_ = -1; // the slot the last valid frame from another slot named
    QElapsedTimer lastAnswer_;
    int lastPendingCount_ = 0;
    bool askingLinkBack_ = false; // the link-back question is open: changes are held
    LinkBackQuestion linkBackQuestion_;
    PasswordPrompt passwordPrompt_;
    NoticeHandler noticeHandler_;
    StatusObserver statusObserver_;
    FinishObserver finishObserver_;
};
