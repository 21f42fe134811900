// The data images that bulk transfers carry, between the document and the hexadecimal text
// of a transfer: the channel and output records, the sync image (a device's live settings and
// identity), the downsync image (live settings written back) and the program image (the 30
// stored programs). Readers write the fields of one device slot of the document as they
// arrive, without clamping: the caller validates the device afterwards.
#pragma once

#include <span>
#include <string>
#include <string_view>

class CTonraDoc;
class CImageReader;
class CImageWriter;

namespace devlink {

constexpr int kCharsPerByte = 2;
// The data image of a link engine: room for the largest image.
constexpr int kDataImageChars = 200000;

constexpr int kChannelRecordBytes = 40;
constexpr int kOutputRecordBytes = 19;

// Sync image: 7 blocks.
constexpr int kSyncImageBytes = 1792;
constexpr int kSyncModelBytes = 16;
constexpr int kSyncChannelsAt = 256;
constexpr int kSyncFirstNamesAt = 1280;
constexpr int kSyncSecondNamesAt = 1536;
constexpr int kSyncNamesPerGroup = 15;

// Downsync image: 4 blocks.
constexpr int kDownSyncImageBytes = 1024;

// Program image: 120 blocks holding 30 program records.
constexpr int kProgramRecordBytes = 1024;
constexpr int kProgramRecordChars = kProgramRecordBytes * kCharsPerByte;
constexpr int kProgramFillByte = 0xFF;

// ---- Records ----

void ReadChannelRecord(CImageReader& reader, CTonraDoc& doc, int device, int slot);
void WriteChannelRecord(CImageWriter& writer, const CTonraDoc& doc, int device, int slot);
void ReadOutputRecord(CImageReader& reader, CTonraDoc& doc, int device, int output);
void WriteOutputRecord(CImageWriter& writer, const CTonraDoc& doc, int device, int output);
// The 16 channel records in slot order, then the 8 output records.
void ReadChannelAndOutputRecords(CImageReader& reader, CTonraDoc& doc, int device);
void WriteChannelAndOutputRecords(CImageWriter& writer, const CTonraDoc& doc, int device);

// ---- Sync image (device to program) ----

// Reads model, channel counts (each applied only when 1..8), password, current program,
// factory EQ, locks, mutes, OEM program count, the channel and output records and the 30
// program names. The model ends at its first zero byte; a current program outside 0..29
// reads as 0 and an OEM program count above 30 as 30, so that they always name programs.
void ReadSyncImage(std::string_view image, CTonraDoc& doc, int device);
// The device side: the whole sync image, zeros where nothing is read.
void WriteSyncImage(std::span<char> image, const CTonraDoc& doc, int device);

// ---- Downsync image (program to device) ----

// Channel and output records, mutes, factory EQ; the rest of the image is left as it is.
void WriteDownSyncImage(std::span<char> image, const CTonraDoc& doc, int device);
// The device side.
void ReadDownSyncImage(std::string_view image, CTonraDoc& doc, int device);

// ---- Program image ----

// Reads program record `program` (0..29) into the device slot and returns the program name.
std::string ReadProgramRecord(std::string_view image, int program, CTonraDoc& doc, int device);
// Writes program record `program` from the device slot with the given name, then 0xFF bytes
// to the end of the record.
void WriteProgramRecord(std::span<char> image, int program, const CTonraDoc& doc, int device,
                        const std::string& name);

} // namespace devlink
