#include "link/DataImages.h"

#include "link/ImageReader.h"
#include "link/ImageWriter.h"
#include "model/DeviceText.h"
#include "model/TonraDoc.h"

#include <algorithm>

using namespace model;

namespace devlink {

namespace {

constexpr int kFactoryEqOn = 1;

bool ValidDevice(const CTonraDoc& doc, int device) {
    return device >= 0 && doc.ResolveDevice(device) == device;
}

int CharPos(int byteOffset) { return byteOffset * kCharsPerByte; }

int FactoryEqOf(int byte) { return byte == kFactoryEqOn ? 1 : 0; }

template <typename Array> void ReadBytes(CImageReader& reader, Array& values) {
    for (int& value : values) {
        value = reader.ReadByte();
    }
}

template <typename Array> void WriteBytes(CImageWriter& writer, const Array& values) {
    for (const int value : values) {
        writer.WriteByte(value);
    }
}

void ReadProgramNames(CImageReader& reader, CTonraDoc& doc, int device, int first) {
    for (int p = first; p < first + kSyncNamesPerGroup; ++p) {
        doc.programName[device][p] = reader.ReadName(kProgramNameLength);
    }
}

void WriteProgramNames(CImageWriter& writer, const CTonraDoc& doc, int device, int first) {
    for (int p = first; p < first + kSyncNamesPerGroup; ++p) {
        writer.WriteName(doc.programName[device][p], kProgramNameLength);
    }
}

} // namespace

void ReadChannelRecord(CImageReader& reader, CTonraDoc& doc, int d, int s) {
    doc.gain[d][s] = reader.ReadByte();
    doc.polarity[d][s] = reader.ReadByte();
    doc.delay[d][s] = reader.ReadWord();
    for (int b = 0; b < kBandCount; ++b) {
        doc.eqGain[d][s][b] = reader.ReadByte();
        doc.eqFreq[d][s][b] = reader.ReadWord();
        doc.eqWidth[d][s][b] = reader.ReadByte();
        doc.eqType[d][s][b] = reader.ReadByte();
    }
    doc.channelName[d][s] = reader.ReadName(kChannelNameLength);
}

void WriteChannelRecord(CImageWriter& writer, const CTonraDoc& doc, int d, int s) {
    writer.WriteByte(doc.gain[d][s]);
    writer.WriteByte(doc.polarity[d][s]);
    writer.WriteWord(doc.delay[d][s]);
    for (int b = 0; b < kBandCount; ++b) {
        writer.WriteByte(doc.eqGain[d][s][b]);
        writer.WriteWord(doc.eqFreq[d][s][b]);
        writer.WriteByte(doc.eqWidth[d][s][b]);
        writer.WriteByte(doc.eqType[d][s][b]);
    }
    writer.WriteName(doc.channelName[d][s], kChannelNameLength);
}

void ReadOutputRecord(CImageReader& reader, CTonraDoc& doc, int d, int o) {
    ReadBytes(reader, doc.mixLevel[d][o]);
    for (int f = 0; f < kXoverFilterCount; ++f) {
        doc.xoverType[d][o][f] = reader.ReadByte();
        doc.xoverFreq[d][o][f] = reader.ReadWord();
        doc.xoverSlope[d][o][f] = reader.ReadByte();
    }
    doc.limThreshold[d][o] = reader.ReadByte();
    doc.limAttack[d][o] = reader.ReadByte();
    doc.limRelease[d][o] = reader.ReadByte();
}

void WriteOutputRecord(CImageWriter& writer, const CTonraDoc& doc, int d, int o) {
    WriteBytes(writer, doc.mixLevel[d][o]);
    for (int f = 0; f < kXoverFilterCount; ++f) {
        writer.WriteByte(doc.xoverType[d][o][f]);
        writer.WriteWord(doc.xoverFreq[d][o][f]);
        writer.WriteByte(doc.xoverSlope[d][o][f]);
    }
    writer.WriteByte(doc.limThreshold[d][o]);
    writer.WriteByte(doc.limAttack[d][o]);
    writer.WriteByte(doc.limRelease[d][o]);
}

void ReadChannelAndOutputRecords(CImageReader& reader, CTonraDoc& doc, int device) {
    for (int s = 0; s < kSlotCount; ++s) {
        ReadChannelRecord(reader, doc, device, s);
    }
    for (int o = 0; o < kMaxOutputs; ++o) {
        ReadOutputRecord(reader, doc, device, o);
    }
}

void WriteChannelAndOutputRecords(CImageWriter& writer, const CTonraDoc& doc, int device) {
    for (int s = 0; s < kSlotCount; ++s) {
        WriteChannelRecord(writer, doc, device, s);
    }
    for (int o = 0; o < kMaxOutputs; ++o) {
        WriteOutputRecord(writer, doc, device, o);
    }
}

void ReadSyncImage(std::string_view image, CTonraDoc& doc, int d) {
    if (!ValidDevice(doc, d)) {
        return;
    }
    CImageReader reader(image);
    std::string modelName;
    bool ended = false;
    for (int i = 0; i < kSyncModelBytes; ++i) {
        const int c = reader.ReadByte();
        ended = ended || c == 0;
        if (!ended) {
            modelName += static_cast<char>(c);
        }
    }
    doc.deviceModel[d] = KeepToPrintable(modelName, kModelNameLength);
    // A device without inputs or outputs would leave the pages nothing to show: a count is
    // applied only when it is a possible one.
    if (const int inputs = reader.ReadByte(); inputs >= 1 && inputs <= kMaxInputs) {
        doc.SetInputCount(inputs, d);
    }
    if (const int outputs = reader.ReadByte(); outputs >= 1 && outputs <= kMaxOutputs) {
        doc.SetOutputCount(outputs, d);
    }
    doc.devicePassword[d] = reader.ReadName(kPasswordLength);
    const int program = reader.ReadByte();
    doc.currentProgram[d] = program < kProgramCount ? program : 0;
    doc.factoryEq[d] = FactoryEqOf(reader.ReadByte());
    ReadBytes(reader, doc.securityLocks[d]);
    ReadBytes(reader, doc.mute[d]);
    doc.oemPrograms[d] = std::min(reader.ReadByte(), kProgramCount);

    reader.Seek(CharPos(kSyncChannelsAt));
    ReadChannelAndOutputRecords(reader, doc, d);
    reader.Seek(CharPos(kSyncFirstNamesAt));
    ReadProgramNames(reader, doc, d, 0);
    reader.Seek(CharPos(kSyncSecondNamesAt));
    ReadProgramNames(reader, doc, d, kSyncNamesPerGroup);
}

void WriteSyncImage(std::span<char> image, const CTonraDoc& doc, int d) {
    if (!ValidDevice(doc, d)) {
        return;
    }
    CImageWriter writer(image);
    while (writer.Position() < CharPos(kSyncImageBytes)) {
        writer.WriteByte(0);
    }
    writer.Seek(0);
    const std::string& modelName = doc.deviceModel[d];
    for (int i = 0; i < kSyncModelBytes; ++i) {
        writer.WriteByte(i < static_cast<int>(modelName.size()) ? static_cast<unsigned char>(modelName[i])
                                                                : 0);
    }
    writer.WriteByte(doc.inputCount[d]);
    writer.WriteByte(doc.outputCount[d]);
    writer.WriteName(doc.devicePassword[d], kPasswordLength);
    writer.WriteByte(doc.currentProgram[d]);
    writer.WriteByte(doc.factoryEq[d]);
    WriteBytes(writer, doc.securityLocks[d]);
    WriteBytes(writer, doc.mute[d]);
    writer.WriteByte(doc.oemPrograms[d]);

    writer.Seek(CharPos(kSyncChannelsAt));
    WriteChannelAndOutputRecords(writer, doc, d);
    writer.Seek(CharPos(kSyncFirstNamesAt));
    WriteProgramNames(writer, doc, d, 0);
    writer.Seek(CharPos(kSyncSecondNamesAt));
    WriteProgramNames(writer, doc, d, kSyncNamesPerGroup);
}

void WriteDownSyncImage(std::span<char> image, const CTonraDoc& doc, int d) {
    if (!ValidDevice(doc, d)) {
        return;
    }
    CImageWriter writer(image);
    WriteChannelAndOutputRecords(writer, doc, d);
    WriteBytes(writer, doc.mute[d]);
    writer.WriteByte(doc.factoryEq[d]);
}

void ReadDownSyncImage(std::string_view image, CTonraDoc& doc, int d) {
    if (!ValidDevice(doc, d)) {
        return;
    }
    CImageReader reader(image);
    ReadChannelAndOutputRecords(reader, doc, d);
    ReadBytes(reader, doc.mute[d]);
    doc.factoryEq[d] = FactoryEqOf(reader.ReadByte());
}

std::string ReadProgramRecord(std::string_view image, int program, CTonraDoc& doc, int d) {
    if (!ValidDevice(doc, d) || program < 0 || program >= kProgramCount) {
        return {};
    }
    CImageReader reader(image, program * kProgramRecordChars);
    ReadChannelAndOutputRecords(reader, doc, d);
    doc.factoryEq[d] = FactoryEqOf(reader.ReadByte());
    ReadBytes(reader, doc.mute[d]);
    return reader.ReadName(kProgramNameLength);
}

void WriteProgramRecord(std::span<char> image, int program, const CTonraDoc& doc, int d,
                        const std::string& name) {
    if (!ValidDevice(doc, d) || program < 0 || program >= kProgramCount) {
        return;
    }
    CImageWriter writer(image, program * kProgramRecordChars);
    WriteChannelAndOutputRecords(writer, doc, d);
    writer.WriteByte(doc.factoryEq[d]);
    WriteBytes(writer, doc.mute[d]);
    writer.WriteName(name, kProgramNameLength);
    writer.FillTo(kProgramRecordChars, kProgramFillByte);
}

} // namespace devlink
