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

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class CTonraDoc;

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
    };

    // Asks the operator for the device password after a Sync found that the password typed so
    // far does not match the device's: the typed text, or nothing when the operator cancelled.
    using PasswordPrompt = std::function<std::optional<std::string>()>;
    // Sees every UM_REFRESH the engine sends, also when it has no view (a program without
    // windows watches the engine through this).
    using RefreshObserver = std::function<void(RefreshCode code)>;
    // Sees every status text the engine writes to the status line, as it is written.
    using StatusObserver = std::function<void(const std::string& text)>;
    // Sees the end of every bulk transfer: the mode that ended and whether it succeeded.
    using FinishObserver = std::function<void(TransferMode mode, bool success)>;

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

    CPort();
    ~CPort() override;

    // Stores the view (may be null), the document and the device slot, and creates the
    // engine's hidden window. False when the window cannot be created.
    bool Create(CMsgWnd* view, CTonraDoc* document, int device);
    // Opens the transport the document's connectionMode selects and starts the timer; on
    // success the device is online. False (device left offline) when the slot has no port or
    // address, or the transport cannot be opened.
    bool Connect();
    // Closes the serial port if it is open and the socket. The timer and deviceOnline are the
    // caller's.
    void Disconnect();
    // Starts a bulk transfer when the engine is idle; a request while another transfer runs is
    // dropped. A DownSync request first builds the downsync image and takes the snapshot, even
    // when it is then dropped.
    void RequestTransfer(TransferMode mode);
    // Appends a command frame to the send buffer; false (and dropped) when it does not fit.
    bool QueueFrame(int code, int deviceMask, int channel, int index, int value, int extra1 = 0,
                    int extra2 = 0, int extra3 = 0);
    // Fills the program image with the 30 programs of the document's program list, read from
    // the list file's folder. False when a listed program file cannot be read or the document
    // refuses it; FileProblem() then says which and why.
    bool BuildDownloadImage();

    // ---- Injected services ----
    void SetPasswordPrompt(PasswordPrompt prompt) { passwordPrompt_ = std::move(prompt); }
    void SetRefreshObserver(RefreshObserver observer) { refreshObserver_ = std::move(observer); }
    void SetStatusObserver(StatusObserver observer) { statusObserver_ = std::move(observer); }
    void SetFinishObserver(FinishObserver observer) { finishObserver_ = std::move(observer); }
    // The TCP port Connect uses in network mode (the devices' port unless set otherwise).
    void SetNetworkPort(int port) { networkPort_ = port; }
    // Carries the characters over `line` (not owned) instead of the transports; null gives
    // them back to the transports.
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

    CPortSerial& SerialTransport() { return serial_; }
    CPortSocket& NetworkTransport() { return socket_; }

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
    void ProcessSyncImage();
    void CheckPassword();
    void ProcessUpload();
    bool LoadProgramFile(const std::string& path);
    // Program files live in the program list's folder.
    std::string ProgramFolder() const;
    std::string ProgramFilePath(const std::string& name) const;
    QByteArray StoreOwnSetup() const;

    // ---- Buffers and reports ----
    void SetStatusText(std::string_view text);
    void SetStep(int step, int seconds);
    void ReadInput();
    void DrainSocket();
    bool WaitToken(std::string_view token);
    void ClearReceive();
    void ClearSend();
    void Flush(int limit);
    bool QueueChars(std::string_view chars);
    void Refresh(RefreshCode code);
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
    CPortLine* line_ = nullptr;
    std::string fileProblem_;
    PasswordPrompt passwordPrompt_;
    RefreshObserver refreshObserver_;
    StatusObserver statusObserver_;
    FinishObserver finishObserver_;
};
