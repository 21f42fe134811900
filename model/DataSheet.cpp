#include "model/DataSheet.h"

#include "framework/Format.h"
#include "model/TonraDoc.h"

#include <algorithm>

using namespace model;

namespace {

// Channel rows: name, level, polarity, delay, then type, level, frequency and width per band.
constexpr int kFirstBandRow = 4;
constexpr int kRowsPerBand = 4;
constexpr std::array<int, kFirstBandRow> kLeadingKinds = {kChannelName, kGain, kPolarity, kDelay};
constexpr std::array<int, kRowsPerBand> kBandKinds = {kEqType, kEqGain, kEqFreq, kEqWidth};
// Output rows after the mix rows: type, frequency and slope per filter, then the limiter.
constexpr int kRowsPerFilter = 3;
constexpr std::array<int, kRowsPerFilter> kFilterKinds = {kXoverType, kXoverFreq, kXoverSlope};
constexpr int kFilterRowCount = kRowsPerFilter * kXoverFilterCount;
constexpr std::array<int, 3> kLimiterKinds = {kLimThreshold, kLimAttack, kLimRelease};
// Label positions: the source rows follow the channel rows, the crossover rows the source rows.
constexpr int kFirstSourceLabel = kSheetChannelRowCount;
constexpr int kFirstCrossoverLabel = kFirstSourceLabel + kMaxInputs;

std::array<std::string, kSheetLabelCount> AssembleLabels() {
    static constexpr std::array<const char*, kRowsPerBand> kBandWords = {"Type", "Level", "Freq", "BW"};
    static constexpr std::array<const char*, kRowsPerFilter> kFilterWords = {"XType", "XFreq", "XSlope"};
    static constexpr std::array<const char*, kXoverFilterCount> kFilterEnds = {"Lo", "Hi"};
    std::array<std::string, kSheetLabelCount> labels;
    int next = 0;
    for (const char* word : {"Name", "Level", "Polarity", "Delay"}) {
        labels[next++] = word;
    }
    for (int b = 0; b < kBandCount; ++b) {
        for (const char* word : kBandWords) {
            labels[next++] = "EQ" + std::to_string(b + 1) + " " + word;
        }
    }
    for (int i = 0; i < kMaxInputs; ++i) {
        labels[next++] = "Src In" + std::to_string(i + 1);
    }
    for (const char* end : kFilterEnds) {
        for (const char* word : kFilterWords) {
            labels[next++] = std::string(word) + "-" + end;
        }
    }
    for (const char* word : {"Threshold", "Attack", "Release"}) {
        labels[next++] = word;
    }
    return labels;
}

// The parameter a cell shows: its kind and its band, mix input or filter.
struct CellParam {
    int kind = -1; // -1: the cell stays empty
    int index = 0;
};

CellParam ChannelRowParam(int row) {
    if (row < kFirstBandRow) {
        return {kLeadingKinds[row], 0};
    }
    const int bandRow = row - kFirstBandRow;
    return {kBandKinds[bandRow % kRowsPerBand], bandRow / kRowsPerBand};
}

// Row j of the output section of a device with `inputs` inputs.
CellParam OutputRowParam(int j, int inputs) {
    if (j < inputs) {
        return {kMixLevel, j};
    }
    const int filterRow = j - inputs;
    if (filterRow < kFilterRowCount) {
        return {kFilterKinds[filterRow % kRowsPerFilter], filterRow / kRowsPerFilter};
    }
    // Rows beyond the limiter's three show the release, as the last one does.
    const int limiterRow = std::min(filterRow - kFilterRowCount, static_cast<int>(kLimiterKinds.size()) - 1);
    return {kLimiterKinds[limiterRow], 0};
}

CellParam CellParamAt(int row, int column, int inputs) {
    if (row < kSheetChannelRowCount) {
        return ChannelRowParam(row);
    }
    if (column < inputs) {
        return {};
    }
    return OutputRowParam(row - kSheetChannelRowCount, inputs);
}

} // namespace

namespace model {

const std::array<std::string, kSheetLabelCount>& SheetLabels() {
    static const std::array<std::string, kSheetLabelCount> labels = AssembleLabels();
    return labels;
}

int SheetOutputRowCount(int inputCount) { return inputCount + kSheetOutputFixedRowCount; }

int SheetRowCount(int inputCount) { return kSheetChannelRowCount + SheetOutputRowCount(inputCount); }

std::string SheetHeader(int column, int inputCount) {
    return column < inputCount ? Format("Input %d", column + 1)
                               : Format("Output %d", column - inputCount + 1);
}

std::string SheetRowLabel(int row, int inputCount) {
    const int label = row < kFirstSourceLabel + inputCount ? row : row + kMaxInputs - inputCount;
    return label >= 0 && label < kSheetLabelCount ? SheetLabels()[label] : std::string();
}

std::string SheetParamLabel(int kind, int index) {
    // An output column of a device with every input shows every row.
    const int outputColumn = kMaxInputs;
    for (int row = 0; row < SheetRowCount(kMaxInputs); ++row) {
        const CellParam param = CellParamAt(row, outputColumn, kMaxInputs);
        if (param.kind == kind && param.index == index) {
            return SheetRowLabel(row, kMaxInputs);
        }
    }
    return {};
}

std::string SheetCell(const CTonraDoc& doc, int row, int column, int device) {
    const CellParam param = CellParamAt(row, column, doc.GetInputCount(device));
    if (param.kind == kChannelName) {
        return doc.GetParamText(kChannelName, column, device);
    }
    return param.kind < 0 ? std::string() : doc.FormatParam(param.kind, column, param.index, device);
}

DataSheet BuildDataSheet(const CTonraDoc& doc, int device) {
    const int inputs = doc.GetInputCount(device);
    const int columns = doc.GetChannelCount(device);
    const int rows = SheetRowCount(inputs);
    DataSheet sheet;
    for (int c = 0; c < columns; ++c) {
        sheet.headers.push_back(SheetHeader(c, inputs));
    }
    for (int r = 0; r < rows; ++r) {
        sheet.rowLabels.push_back(SheetRowLabel(r, inputs));
        std::vector<std::string>& line = sheet.cells.emplace_back();
        for (int c = 0; c < columns; ++c) {
            line.push_back(SheetCell(doc, r, c, device));
        }
    }
    return sheet;
}

} // namespace model
