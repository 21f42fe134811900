#include "model/SetupFile.h"

#include "framework/Format.h"
#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/DeviceText.h"
#include "model/FileIo.h"

#include <algorithm>

namespace model {

namespace {

// The header after the format marker, in file order. `Archive` is a CArchiveReader with
// mutable fields or a CArchiveWriter with const ones: one list serves both directions.
template <typename Archive, typename Version, typename Setup>
void ExchangeHeader(Archive& archive, Version& version, Setup& setup) {
    archive.Text(version, kVersionLength);
    archive.Text(setup.deviceModel, kModelNameLength);
    archive.Int(setup.inputCount);
    archive.Int(setup.outputCount);
}

// Channel blocks, output blocks, factory EQ and link groups: the part both formats share.
template <typename Archive, typename Setup> void ExchangeBody(Archive& archive, Setup& setup) {
    for (auto& channel : setup.channels) {
        archive.Int(channel.mute);
        archive.Int(channel.gain);
        archive.Int(channel.polarity);
        archive.Int(channel.delay);
        for (auto& band : channel.bands) {
            archive.Int(band.gain);
            archive.Int(band.frequency);
            archive.Int(band.width);
            archive.Int(band.type);
        }
        archive.Text(channel.name, kChannelNameLength);
    }
    for (auto& output : setup.outputs) {
        for (auto& level : output.mixLevel) {
            archive.Int(level);
        }
        for (auto& filter : output.filters) {
            archive.Int(filter.type);
            archive.Int(filter.frequency);
            archive.Int(filter.slope);
        }
        archive.Int(output.limThreshold);
        archive.Int(output.limAttack);
        archive.Int(output.limRelease);
        archive.Int(output.speakerImpedance);
        archive.Int(output.ampGain);
    }
    archive.Int(setup.factoryEq);
    for (auto& group : setup.linkGroup) {
        archive.Int(group);
    }
}

template <typename Archive, typename Setup> void ExchangeLcdLines(Archive& archive, Setup& setup) {
    for (auto& line : setup.lcdLine) {
        archive.Text(line, kLcdLineLength);
    }
}

// A file is a setup file only when its fields fill it exactly: without a header it has no
// other way to tell itself from any other file.
std::string SizeProblem(qsizetype size, qsizetype used, bool legacy) {
    if (legacy && size != kLegacySetupFileSize) {
        return Format("It is no setup file: a setup file without a header is %d bytes long, but this file "
                      "is %lld bytes long.",
                      kLegacySetupFileSize, static_cast<long long>(size));
    }
    if (used != size) {
        return Format("It is no setup file: %lld bytes follow the end of the setup.",
                      static_cast<long long>(size - used));
    }
    return {};
}

} // namespace

QByteArray WriteSetupFile(const DeviceSetup& setup) {
    CArchiveWriter archive;
    const std::string version(kSetupFileVersion);
    archive.Int(kFormatMarker);
    ExchangeHeader(archive, version, setup);
    ExchangeBody(archive, setup);
    ExchangeLcdLines(archive, setup);
    return archive.Bytes();
}

SetupFileRead ReadSetupFile(QByteArrayView bytes, DeviceSetup& setup) {
    SetupFileRead result;
    CArchiveReader archive(bytes);
    int marker = 0;
    archive.Int(marker);
    result.legacy = !archive.Failed() && marker != kFormatMarker;
    if (result.legacy) {
        // The integer just read is the mute of the first channel block.
        archive.Seek(0);
    } else {
        ExchangeHeader(archive, result.version, setup);
        result.version = CutAtBlank(result.version);
        setup.deviceModel = CutAtBlank(KeepToPrintable(setup.deviceModel, kModelNameLength));
    }
    ExchangeBody(archive, setup);
    for (ChannelSetup& channel : setup.channels) {
        // A name keeps its inner blanks ("In A"): only the padding goes.
        channel.name = KeepToDeviceChars(channel.name, kChannelNameLength);
        channel.name.erase(channel.name.find_last_not_of(' ') + 1);
    }
    if (!result.legacy) {
        ExchangeLcdLines(archive, setup);
        for (std::string& line : setup.lcdLine) {
            line = KeepToPrintable(line, kLcdLineLength);
        }
    }
    result.complete = !archive.Failed();
    result.problem = archive.Problem();
    if (result.complete) {
        result.problem = SizeProblem(bytes.size(), archive.Position(), result.legacy);
        result.complete = result.problem.empty();
    }
    return result;
}

std::optional<QByteArray> ReadSetupFileBytes(const std::string& path, std::string& problem) {
    std::optional<QByteArray> bytes = ReadFileBytes(path, kMaxSetupFileBytes + 1, problem);
    if (bytes && bytes->size() > kMaxSetupFileBytes) {
        problem = Format("It is no setup file: a setup file is %d bytes long, or %d without a header, but "
                         "this file is %lld bytes long.",
                         kSetupFileSize, kLegacySetupFileSize, static_cast<long long>(FileSize(path)));
        return std::nullopt;
    }
    return bytes;
}

std::string PadText(const std::string& text, int length) {
    std::string padded = text.substr(0, static_cast<std::size_t>(std::max(length, 0)));
    padded.resize(static_cast<std::size_t>(std::max(length, 0)), ' ');
    return padded;
}

std::string CutAtBlank(const std::string& text) { return text.substr(0, text.find(' ')); }

} // namespace model
