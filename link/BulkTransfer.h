// Bulk transfers: a whole data image moves in 512-character blocks between tokens. The
// program opens a transfer with a begin-transfer command frame, the start sequence and the
// mode letter; the device acknowledges; then each block goes one way and the acknowledge
// token comes back, sent only for a block whose checksum matched.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace devlink {

// The transfer a link engine runs.
enum class TransferMode : int {
    Idle = 0,
    Sync = 1,     // device to program, 7 blocks of the sync image
    DownSync = 2, // program to device, 4 blocks of the downsync image
    Upload = 3,   // device to program, 120 blocks of the program image
    Download = 4, // program to device, 120 blocks of the program image
};

inline constexpr std::string_view kStartSequence{"\x02\x01\x16\x05\x17\x03", 6};
inline constexpr std::string_view kBlockHeader{"\x02\x09\x03", 3};
inline constexpr std::string_view kBlockTrailer{"\x02\x0B\x03", 3};
inline constexpr std::string_view kAckToken{"\x02\x06\x03", 3};
constexpr char kTokenLead = 0x02; // every token starts with STX

constexpr int kBlockChars = 512;
constexpr int kBlockChecksumChars = 2;
// Header, 512 image characters, checksum, trailer.
constexpr int kBlockFrameLength = static_cast<int>(kBlockHeader.size()) + kBlockChars + kBlockChecksumChars +
                                  static_cast<int>(kBlockTrailer.size());
constexpr int kStartLength = static_cast<int>(kStartSequence.size()) + 1; // with the mode letter

constexpr int kSyncBlocks = 7;
constexpr int kDownSyncBlocks = 4;
constexpr int kProgramImageBlocks = 120;

// The mode letter of a transfer ("<", ">", "U", "D"); 0 for Idle.
char ModeLetter(TransferMode mode);
// The transfer a mode letter opens; nothing for any other character.
std::optional<TransferMode> ModeOfLetter(char letter);
// Blocks of a transfer; 0 for Idle.
int TransferBlockCount(TransferMode mode);
// Whether the device sends the blocks (Sync, Upload) rather than receives them.
bool DeviceSends(TransferMode mode);
// The start sequence followed by the mode letter.
std::string StartSequence(TransferMode mode);

// The token search: while the buffer holds at least as many characters as the token, a match
// at its front is removed and reported; otherwise its first character is dropped. Fewer
// characters than the token stay for the next attempt, so a token that arrives in pieces is
// still found.
bool FindToken(std::string& buffer, std::string_view token);

// The sum of the character codes, modulo 256.
int BlockChecksum(std::string_view chars);
// Block `block` of an image: header, characters 512*block .. 512*block+511 (characters past
// the end of the image go as "0"), checksum, trailer.
std::string BuildBlock(std::string_view image, int block);
// The 512 image characters of a complete block frame at the front of `chars`, or nothing when
// the header, the checksum or the trailer does not match.
std::optional<std::string_view> CheckBlock(std::string_view chars);

} // namespace devlink
