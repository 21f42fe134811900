// The document's files: setup files (Open and Save of the current device) and the connection
// file, read at New and written after the connection settings were confirmed.
#include "model/TonraDoc.h"

#include "framework/Format.h"
#include "model/FileIo.h"

using namespace model;

namespace {

bool IsPossibleCount(int count) { return count >= 1 && count <= kMaxInputs; }

// "1 input and 3 outputs".
std::string CountedChannels(int inputs, int outputs) {
    const auto counted = [](int n, const char* word) {
        return Format("%d %s%s", n, word, n == 1 ? "" : "s");
    };
    return counted(inputs, "input") + " and " + counted(outputs, "output");
}

// Calls `move(field, entry)` for every field a setup file holds: the document's field of
// device `d` with the matching entry of `setup`. Copying in either direction is one list.
template <typename Doc, typename Setup, typename Move>
void PairSetupFields(Doc& doc, int d, Setup& setup, Move move) {
    move(doc.deviceModel[d], setup.deviceModel);
    move(doc.inputCount[d], setup.inputCount);
    move(doc.outputCount[d], setup.outputCount);
    for (int s = 0; s < kSlotCount; ++s) {
        auto& channel = setup.channels[s];
        move(doc.mute[d][s], channel.mute);
        move(doc.gain[d][s], channel.gain);
        move(doc.polarity[d][s], channel.polarity);
        move(doc.delay[d][s], channel.delay);
        for (int b = 0; b < kBandCount; ++b) {
            move(doc.eqGain[d][s][b], channel.bands[b].gain);
            move(doc.eqFreq[d][s][b], channel.bands[b].frequency);
            move(doc.eqWidth[d][s][b], channel.bands[b].width);
            move(doc.eqType[d][s][b], channel.bands[b].type);
        }
        move(doc.channelName[d][s], channel.name);
    }
    for (int o = 0; o < kMaxOutputs; ++o) {
        auto& output = setup.outputs[o];
        for (int i = 0; i < kMaxInputs; ++i) {
            move(doc.mixLevel[d][o][i], output.mixLevel[i]);
        }
        for (int x = 0; x < kXoverFilterCount; ++x) {
            move(doc.xoverType[d][o][x], output.filters[x].type);
            move(doc.xoverFreq[d][o][x], output.filters[x].frequency);
            move(doc.xoverSlope[d][o][x], output.filters[x].slope);
        }
        move(doc.limThreshold[d][o], output.limThreshold);
        move(doc.limAttack[d][o], output.limAttack);
        move(doc.limRelease[d][o], output.limRelease);
        move(doc.speakerImpedance[d][o], output.speakerImpedance);
        move(doc.ampGain[d][o], output.ampGain);
    }
    move(doc.factoryEq[d], setup.factoryEq);
    move(doc.linkGroup[d], setup.linkGroup);
    move(doc.lcdLine[d], setup.lcdLine);
}

} // namespace

// ---- Setup files ----

DeviceSetup CTonraDoc::GetDeviceSetup(int device) const {
    DeviceSetup setup;
    PairSetupFields(*this, device, setup, [](const auto& field, auto& entry) { entry = field; });
    return setup;
}

void CTonraDoc::SetDeviceSetup(const DeviceSetup& setup, int device) {
    PairSetupFields(*this, device, setup, [](auto& field, const auto& entry) { field = entry; });
}

QByteArray CTonraDoc::StoreSetup() const {
    const int d = ResolveDevice(-1);
    return d < 0 ? QByteArray() : WriteSetupFile(GetDeviceSetup(d));
}

int CTonraDoc::LoadSetup(QByteArrayView bytes, std::string& problem) {
    const int d = ResolveDevice(-1);
    if (d < 0) {
        problem = "No device is selected.";
        return loadResult = kLoadFailed;
    }
    // Read into a copy: the device changes only once the whole file proved usable.
    DeviceSetup scratch = GetDeviceSetup(d);
    const SetupFileRead read = ReadSetupFile(bytes, scratch);
    if (!read.complete) {
        problem = read.problem;
        return loadResult = kLoadFailed;
    }
    if (!read.legacy && deviceOnline[d]) {
        if (scratch.inputCount != inputCount[d] || scratch.outputCount != outputCount[d]) {
            refusedFileInputs_ = scratch.inputCount;
            refusedFileOutputs_ = scratch.outputCount;
            return loadResult = kLoadCountsDiffer;
        }
        // An online device keeps the model it reported.
        scratch.deviceModel = deviceModel[d];
    }
    if (!IsPossibleCount(scratch.inputCount) || !IsPossibleCount(scratch.outputCount)) {
        problem = Format("The file gives %d inputs and %d outputs; a device has 1 to %d of each.",
                         scratch.inputCount, scratch.outputCount, kMaxInputs);
        return loadResult = kLoadFailed;
    }
    SetDeviceSetup(scratch, d);
    ValidateDevice(d);
    return loadResult = kLoadOk;
}

std::string CTonraDoc::CountsDifferText() const {
    return "Error: Channel numbers are different: the setup file has " +
           CountedChannels(refusedFileInputs_, refusedFileOutputs_) + ", the device " +
           CountedChannels(GetInputCount(), GetOutputCount()) + ".";
}

bool CTonraDoc::OnOpenDocument(const std::string& path) {
    fileProblem_.clear();
    std::string problem;
    const std::optional<QByteArray> bytes = ReadSetupFileBytes(path, problem);
    const int result = bytes ? LoadSetup(*bytes, problem) : (loadResult = kLoadFailed);
    if (result == kLoadFailed) {
        fileProblem_ = "Cannot open the setup file \"" + path + "\".\n" + problem + "\nNothing was changed.";
        return false;
    }
    if (result != kLoadOk) {
        return false; // the caller reports channel counts that differ from the device's
    }
    documentCaption = path;
    pathName_ = path;
    SetModifiedFlag(false);
    RefreshViews();
    return true;
}

bool CTonraDoc::OnSaveDocument(const std::string& path) {
    fileProblem_.clear();
    std::string problem = "No device is selected.";
    const QByteArray bytes = StoreSetup();
    if (bytes.isEmpty() || !WriteFileSafely(path, bytes, problem)) {
        fileProblem_ = "Cannot save the setup file \"" + path + "\".\n" + problem +
                       "\nAn earlier file of that name was left as it was.";
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

// ---- Connection file ----

bool CTonraDoc::ReadConnectionFile() {
    const std::optional<ConnectionSettings> settings = model::ReadConnectionFile(ConnectionFilePath());
    if (!settings) {
        return false;
    }
    connectionMode = settings->connectionMode;
    comPort = settings->comPort;
    ipAddress = settings->ipAddress;
    return true;
}

bool CTonraDoc::WriteConnectionFile(const ConnectionSettings& settings) {
    fileProblem_.clear();
    const std::string path = ConnectionFilePath();
    std::string problem;
    if (model::WriteConnectionFile(path, settings, problem)) {
        return true;
    }
    fileProblem_ = "Cannot write the connection file \"" + path + "\".\n" + problem +
                   "\nThe new connection settings will not be there at the next start.";
    return false;
}
