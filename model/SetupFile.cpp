#include "model/SetupFile.h"

#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"

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
        setup.deviceModel = CutAtBlank(setup.deviceModel);
    }
    ExchangeBody(archive, setup);
    for (ChannelSetup& channel : setup.channels) {
        channel.name = CutAtBlank(channel.name);
    }
    if (!result.legacy) {
        ExchangeLcdLines(archive, setup);
    }
    result.complete = !archive.Failed();
    result.problem = archive.Problem();
    return result;
}

std::string PadText(const std::string& text, int length) {
    std::string padded = text.substr(0, static_cast<std::size_t>(std::max(length, 0)));
    padded.resize(static_cast<std::size_t>(std::max(length, 0)), ' ');
    return padded;
}

std::string CutAtBlank(const std::string& text) { return text.substr(0, text.find(' ')); }

} // namespace model
