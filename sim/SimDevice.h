// CSimDevice: one simulated loudspeaker processor. Its live settings and identity are one
// device slot of the simulator's document; it also keeps its 30 stored programs (as the
// records of a program image), a password and the levels its meters show. It applies the
// command frames addressed to it and builds and takes in the images of bulk transfers; the
// sessions (one per connection) do the framing.
#pragma once

#include "link/Protocol.h"
#include "model/ModelTypes.h"

#include <array>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

class CTonraDoc;

namespace sim {

struct DeviceSetup {
    std::string model = "RLT-1448";
    int inputs = 4;
    int outputs = 8;
    std::string password; // empty: none
    int oemPrograms = 0;
    bool factoryEq = false;
};

class CSimDevice {
public:
    // The device lives in device slot `slot` of `doc`, which it resets to its own defaults.
    CSimDevice(CTonraDoc& doc, int slot, const DeviceSetup& setup, unsigned seed);
    CSimDevice(const CSimDevice&) = delete;
    CSimDevice& operator=(const CSimDevice&) = delete;

    int Slot() const { return slot_; }
    CTonraDoc& Doc() { return doc_; }
    const CTonraDoc& Doc() const { return doc_; }
    std::mt19937& Random() { return random_; }

    // Whether a command frame is meant for this device.
    bool IsAddressed(const devlink::CommandFrame& frame) const;
    // Applies a command frame addressed to this device (not the begin-transfer command) and
    // returns the reply: a meter reply, or the program recalled or stored.
    devlink::ReplyFrame Apply(const devlink::CommandFrame& frame);
    // The next meter reply; the groups 0..3 take turns.
    devlink::ReplyFrame NextMeterReply();

    // The images of the bulk transfers.
    std::string SyncImage() const;
    const std::string& ProgramImage() const { return programs_; }
    void TakeDownSyncImage(std::string_view image);
    void TakeProgramImage(std::string_view image);
    // The stored name of program p.
    std::string StoredProgramName(int program) const;

    // Front-panel changes: a random parameter gets a random value, or a given field a given
    // value (nothing when the field does not exist). The reply reports the value now held.
    devlink::ReplyFrame RandomFrontPanelChange();
    std::optional<devlink::ReplyFrame> FrontPanelChange(int code, int index, int subIndex, int value);

private:
    void ApplyToSlots(const devlink::CommandFrame& frame);
    void ApplyToOutputs(const devlink::CommandFrame& frame);
    void SetField(int replyCode, int index, int subIndex, int value);
    void SetChannelNameChar(int slot, int position, int wireCode);
    void RecallProgram(int program);
    void StoreProgram(int program);
    void InitialisePrograms();
    int MeterLevel(int slot) const;
    void AdvanceProgrammeMaterial();

    CTonraDoc& doc_;
    int slot_;
    std::mt19937 random_;
    std::string programs_; // the program image: 30 records
    std::array<int, model::kPasswordLength> passwordWire_{};
    std::array<int, model::kProgramNameLength> pendingName_{};
    std::array<bool, model::kProgramNameLength> pendingNameSet_{};
    int meterGroup_ = 0;
    double loudness_ = 0;                             // the programme's level, in meter steps
    std::array<double, model::kMaxInputs> phase_{};   // each input's movement around it
    std::array<int, model::kMaxInputs> inputLevel_{}; // the inputs' levels before gain and mute
};

} // namespace sim
