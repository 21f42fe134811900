// The setup file: the complete parameter set of one device as Save writes it and Open reads
// it. Integers are 32-bit little-endian, texts carry a length prefix. The current format
// begins with the marker -1, the version and the device's model and channel counts and ends
// with the two display lines; the legacy format begins directly with the first channel block
// and has no display lines.
#pragma once

#include "model/ModelTypes.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace model {

constexpr int kSetupFileSize = 2668;
constexpr int kLegacySetupFileSize = 2580;
constexpr int kFormatMarker = -1;
constexpr std::string_view kSetupFileVersion = "4.04";
constexpr int kVersionLength = 4;
constexpr int kLcdLineLength = 26;
// No setup file comes near this size; the reader never looks further into a file.
constexpr qsizetype kMaxSetupFileBytes = 1 << 20;

// One EQ band in the order of the file.
struct BandSetup {
    int gain = 0;
    int frequency = 0;
    int width = 0;
    int type = 0;
};

struct ChannelSetup {
    int mute = 0;
    int gain = 0;
    int polarity = 0;
    int delay = 0;
    std::array<BandSetup, kBandCount> bands{};
    std::string name;
};

struct FilterSetup {
    int type = 0;
    int frequency = 0;
    int slope = 0;
};

struct OutputSetup {
    std::array<int, kMaxInputs> mixLevel{};
    std::array<FilterSetup, kXoverFilterCount> filters{};
    int limThreshold = 0;
    int limAttack = 0;
    int limRelease = 0;
    int speakerImpedance = 0;
    int ampGain = 0;
};

// One device as a setup file holds it: channel blocks by slot, output blocks by output, link
// groups by channel number.
struct DeviceSetup {
    std::string deviceModel;
    int inputCount = 0;
    int outputCount = 0;
    std::array<ChannelSetup, kSlotCount> channels{};
    std::array<OutputSetup, kMaxOutputs> outputs{};
    int factoryEq = 0;
    std::array<int, kSlotCount> linkGroup{};
    std::array<std::string, kLcdLineCount> lcdLine{};
};

// What reading a setup file found.
struct SetupFileRead {
    bool complete = false; // every field the format holds was read
    bool legacy = false;   // the file has no header: model, counts and display lines stayed
    std::string version;   // the version of a current-format file
    std::string problem;   // why the file is not complete, as a sentence
};

// The bytes of a setup file in the current format.
QByteArray WriteSetupFile(const DeviceSetup& setup);

// Reads a setup file over `setup`: every field the file holds takes the file's value, the
// model cut at its first blank, the channel names without trailing blanks, the display lines
// as they stand. The
// channel names are kept to the device character set, the model and the display lines to
// printable characters, each to its width. The read is complete only when the fields fill the
// file exactly (a file without a header is 2580 bytes long). When the read is not complete
// `setup` holds a mix of old and new values: discard it.
SetupFileRead ReadSetupFile(QByteArrayView bytes, DeviceSetup& setup);

// The bytes of the setup file at `path` when it can be read and is no longer than any setup
// file could be; otherwise nothing, and `problem` says why in a sentence.
std::optional<QByteArray> ReadSetupFileBytes(const std::string& path, std::string& problem);

// `text` padded with blanks to `length` characters, or its first `length` characters.
std::string PadText(const std::string& text, int length);
// The text before its first blank; all of it when it has none.
std::string CutAtBlank(const std::string& text);

} // namespace model
