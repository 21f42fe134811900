// The content of the data sheet ("Current Data Values"): one column per channel (inputs, then
// outputs), one row per parameter, each cell the display text of the parameter. The sheet
// window paints it and the command-line tool prints it, so both show the same table.
//
// Rows count from 0 below the header: 28 channel rows common to inputs and outputs, then the
// output rows (one mix row per input, six crossover rows, three limiter rows). Input columns
// stay empty in the output rows.
#pragma once

#include <array>
#include <string>
#include <vector>

class CTonraDoc;

namespace model {

// Name, Level, Polarity, Delay and four rows for each of the six EQ bands.
constexpr int kSheetChannelRowCount = 28;
// Three rows for each crossover filter, then threshold, attack and release.
constexpr int kSheetOutputFixedRowCount = 9;
// Every label the sheet knows; a device shows one source row per input only.
constexpr int kSheetLabelCount = 45;

// The row-label table: Name ... EQ6 BW, Src In1 ... Src In8, XType-Lo ... XSlope-Hi, Threshold,
// Attack, Release.
const std::array<std::string, kSheetLabelCount>& SheetLabels();

// Output rows of a device with `inputCount` inputs.
int SheetOutputRowCount(int inputCount);
// Rows below the header.
int SheetRowCount(int inputCount);
// "Input 1" ... for input columns, "Output 1" ... for output columns.
std::string SheetHeader(int column, int inputCount);
std::string SheetRowLabel(int row, int inputCount);
// The row label of parameter `kind` with band, mix input or filter `index`; empty for a
// parameter the sheet does not show.
std::string SheetParamLabel(int kind, int index);
// The text of row `row` in the column of channel `column`; empty where the sheet shows nothing.
std::string SheetCell(const CTonraDoc& doc, int row, int column, int device = -1);

// The whole table of one device.
struct DataSheet {
    std::vector<std::string> headers;            // one per channel column
    std::vector<std::string> rowLabels;          // one per row
    std::vector<std::vector<std::string>> cells; // [row][column]
};

DataSheet BuildDataSheet(const CTonraDoc& doc, int device = -1);

} // namespace model
