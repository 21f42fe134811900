// The device wire protocol: every byte that passes between the program and a device, whatever
// carries it. Numbers travel as uppercase hexadecimal digits, names as positions in the device
// character set, and frames are delimited by DC1 and DC2. Pure functions over bytes, shared by
// the link engine and the device simulator.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The helpers of the device link live in namespace devlink: POSIX already names a function
// link().
namespace devlink {

constexpr char kDc1 = 0x11; // opens every frame
constexpr char kDc2 = 0x12; // closes every frame

constexpr int kCommandFrameLength = 26;
constexpr int kReplyFrameLength = 16;
constexpr int kByteMask = 0xFF;
constexpr int kByteValues = 256;
constexpr int kWordMask = 0xFFFF;

// The network port every device listens on, and the settings of every serial line.
constexpr int kNetworkPort = 10001;
constexpr const char* kSerialSettings = "115200,n,8,2";

// Command codes (program to device).
enum CommandCode : int {
    kCmdPoll = 0x00,
    kCmdMute = 0x01,
    kCmdGain = 0x02,
    kCmdPolarity = 0x03,
    kCmdDelay = 0x04,
    kCmdEqBand = 0x05,
    kCmdChannelNameChar = 0x09,
    kCmdMixLevel = 0x0A,
    kCmdXoverFreq = 0x0B,
    kCmdXoverType = 0x0C,
    kCmdXoverSlope = 0x0D,
    kCmdLimThreshold = 0x0E,
    kCmdLimAttack = 0x0F,
    kCmdLimRelease = 0x10,
    kCmdBeginTransfer = 0x80,
    kCmdRecallProgram = 0x81,
    kCmdStoreProgram = 0x82,
    kCmdProgramNameChar = 0x83,
    kCmdSecurityLock = 0x84,
    kCmdPasswordChar = 0x85,
};

// Reply codes (device to program). The parameter codes address the same fields as the
// commands; the four EQ fields come one code each.
enum ReplyCode : int {
    kReplyMeters = 0,
    kReplyMute = 1,
    kReplyGain = 2,
    kReplyPolarity = 3,
    kReplyDelay = 4,
    kReplyEqType = 5,
    kReplyEqGain = 6,
    kReplyEqFreq = 7,
    kReplyEqWidth = 8,
    kReplyContentChanged = 9,
    kReplyMixLevel = 10,
    kReplyXoverFreq = 11,
    kReplyXoverType = 12,
    kReplyXoverSlope = 13,
    kReplyLimThreshold = 14,
    kReplyLimAttack = 15,
    kReplyLimRelease = 16,
    kReplyProgramRecalled = 0x81,
    kReplyProgramStored = 0x82,
};

// Meter replies carry four 4-bit levels, group g holding slots 4g .. 4g+3.
constexpr int kMeterGroupCount = 4;
constexpr int kMetersPerGroup = 4;
constexpr int kMaxMeterLevel = 15;

// ---- Encoding utilities ----

// The uppercase hexadecimal digit of bits 4*position .. 4*position+3 of value (position 0..3).
char HexDigit(unsigned value, int position);
// Two hexadecimal characters to a byte; a character that is no hexadecimal digit counts as 0.
int HexPairToByte(char high, char low);
// Appends an 8-bit field as two digits, a 16-bit field as four (most significant first).
void AppendHexByte(std::string& text, unsigned value);
void AppendHexWord(std::string& text, unsigned value);
// The low byte of the sum of the character codes.
int CharSum(std::string_view chars);

// Name characters on the wire: a 1-based code of the device character set travels as its
// 0-based position; a received byte outside the table reads as a blank.
int NameCodeToWire(int code);
int WireToNameCode(int wireByte);
// A text as `length` wire bytes (characters outside the table go as blanks), and back.
std::vector<int> EncodeWireName(const std::string& text, int length);
std::string DecodeWireName(std::span<const int> wireBytes);

// ---- Command frames ----

struct CommandFrame {
    int deviceMask = 0; // bit d addresses device slot d
    int code = 0;
    int channel = 0; // a slot or output mask, or an item number
    int index = 0;
    int value = 0;
    int extra1 = 0;
    int extra2 = 0;
    int extra3 = 0;

    bool operator==(const CommandFrame&) const = default;
};

// The 26 characters of a command frame, checksum included.
std::string BuildCommandFrame(const CommandFrame& frame);
// The frame in the first 26 characters, or nothing when they are no valid command frame.
std::optional<CommandFrame> ParseCommandFrame(std::string_view chars);
// The own bit of a device slot in a device mask; 0 for a slot outside 0..15.
int DeviceBit(int device);

// ---- Reply frames ----

struct ReplyFrame {
    int device = 0; // the sender's device slot
    int code = 0;
    int index = 0;
    int subIndex = 0;
    int value = 0;

    bool operator==(const ReplyFrame&) const = default;
};

// The 16 characters of a reply frame, checksum included.
std::string BuildReplyFrame(const ReplyFrame& frame);
// The frame in the first 16 characters when they start with DC1, end with DC2 and carry a
// matching checksum; nothing otherwise (the caller discards the 16 characters).
std::optional<ReplyFrame> CheckReplyFrame(std::string_view chars);

// The value of a meter reply for four levels (each 0..15).
int PackMeterLevels(std::span<const int, kMetersPerGroup> levels);
int MeterLevelOf(int value, int position);

} // namespace devlink
