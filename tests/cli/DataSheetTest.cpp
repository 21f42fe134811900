// The data sheet's table: its headers, row labels and the parameter each cell shows.
#include "model/DataSheet.h"
#include "model/TonraDoc.h"

#include <gtest/gtest.h>

#include <memory>

using namespace model;

namespace {

// A device in slot 0 with `inputs` inputs and 8 outputs, at its New values.
std::unique_ptr<CTonraDoc> Device(int inputs) {
    auto doc = std::make_unique<CTonraDoc>();
    doc->OnNewDocument();
    doc->SetInputCount(inputs);
    doc->SetOutputCount(kMaxOutputs);
    return doc;
}

} // namespace

TEST(DataSheet, LabelTableRunsThroughEveryParameter) {
    const auto& labels = SheetLabels();
    EXPECT_EQ(labels[0], "Name");
    EXPECT_EQ(labels[3], "Delay");
    EXPECT_EQ(labels[4], "EQ1 Type");
    EXPECT_EQ(labels[5], "EQ1 Level");
    EXPECT_EQ(labels[6], "EQ1 Freq");
    EXPECT_EQ(labels[7], "EQ1 BW");
    EXPECT_EQ(labels[8], "EQ2 Type");
    EXPECT_EQ(labels[27], "EQ6 BW");
    EXPECT_EQ(labels[28], "Src In1");
    EXPECT_EQ(labels[35], "Src In8");
    EXPECT_EQ(labels[36], "XType-Lo");
    EXPECT_EQ(labels[38], "XSlope-Lo");
    EXPECT_EQ(labels[39], "XType-Hi");
    EXPECT_EQ(labels[41], "XSlope-Hi");
    EXPECT_EQ(labels[42], "Threshold");
    EXPECT_EQ(labels[44], "Release");
}

TEST(DataSheet, FourInputsAndEightOutputs) {
    const auto doc = Device(4);
    const DataSheet sheet = BuildDataSheet(*doc);
    ASSERT_EQ(sheet.headers.size(), 12u);
    EXPECT_EQ(sheet.headers[0], "Input 1");
    EXPECT_EQ(sheet.headers[3], "Input 4");
    EXPECT_EQ(sheet.headers[4], "Output 1");
    EXPECT_EQ(sheet.headers[11], "Output 8");
    // 28 channel rows, 4 mix rows, 6 crossover rows, 3 limiter rows.
    EXPECT_EQ(SheetOutputRowCount(4), 13);
    ASSERT_EQ(sheet.rowLabels.size(), 41u);
    EXPECT_EQ(sheet.rowLabels[31], "Src In4");
    EXPECT_EQ(sheet.rowLabels[32], "XType-Lo");
    EXPECT_EQ(sheet.rowLabels[40], "Release");
    // Below the names (empty after New), input columns are empty exactly in the output rows.
    for (int row = 1; row < 41; ++row) {
        for (int column = 0; column < 12; ++column) {
            const bool empty = row >= kSheetChannelRowCount && column < 4;
            EXPECT_EQ(sheet.cells[row][column].empty(), empty) << row << " " << column;
        }
    }
}

TEST(DataSheet, TwoInputsGoStraightFromTheSourceRowsToTheCrossover) {
    const auto doc = Device(2);
    EXPECT_EQ(SheetRowCount(2), 39);
    EXPECT_EQ(SheetRowLabel(28, 2), "Src In1");
    EXPECT_EQ(SheetRowLabel(29, 2), "Src In2");
    EXPECT_EQ(SheetRowLabel(30, 2), "XType-Lo");
    EXPECT_EQ(SheetRowLabel(38, 2), "Release");
    EXPECT_EQ(SheetHeader(2, 2), "Output 1");
}

TEST(DataSheet, EachCellShowsItsParameterAsTheScalesFormatIt) {
    const auto doc = Device(4);
    doc->SetParamText(kChannelName, "Kick", 0);
    doc->SetParam(kGain, 170, 0, 0);
    doc->SetParam(kPolarity, 1, 1, 0);
    doc->SetParam(kDelay, 480, 2, 0);
    // Band 3 of output 1 (channel 4) as a low shelf.
    doc->SetParam(kEqType, kEqLowShelf, 4, 2);
    doc->SetParam(kEqGain, 100, 4, 2);
    doc->SetParam(kEqFreq, 80, 4, 2);
    doc->SetParam(kEqWidth, 1, 4, 2);
    doc->SetParam(kMixLevel, 0, 5, 2);
    doc->SetParam(kMixLevel, 1, 5, 3);
    doc->SetParam(kXoverType, 2, 4, kLowPass);
    doc->SetParam(kXoverFreq, 1980, 4, kLowPass);
    doc->SetParam(kXoverSlope, 1, 4, kLowPass);
    doc->SetParam(kLimThreshold, 50, 11, 0);
    doc->SetParam(kLimAttack, 3, 11, 0);
    doc->SetParam(kLimRelease, 4, 11, 0);

    const DataSheet sheet = BuildDataSheet(*doc);
    EXPECT_EQ(sheet.cells[0][0], "Kick");
    EXPECT_EQ(sheet.cells[1][0], "+2.50");
    EXPECT_EQ(sheet.cells[1][1], "0.00");
    EXPECT_EQ(sheet.cells[2][1], "-");
    EXPECT_EQ(sheet.cells[3][2], "480");
    EXPECT_EQ(sheet.cells[12][4], "Lo-Shf"); // EQ3 Type
    EXPECT_EQ(sheet.cells[13][4], "-5.00");  // EQ3 Level
    EXPECT_EQ(sheet.cells[14][4], "100");    // EQ3 Freq
    EXPECT_EQ(sheet.cells[15][4], "12dB");   // EQ3 BW of a shelf
    EXPECT_EQ(sheet.cells[16][4], "Param");  // EQ4 Type
    EXPECT_EQ(sheet.cells[30][5], "Off");    // Src In3 of output 2
    EXPECT_EQ(sheet.cells[31][5], "0.00");   // Src In4 of output 2
    EXPECT_EQ(sheet.cells[32][4], "None");   // XType-Lo
    EXPECT_EQ(sheet.cells[35][4], "LR");     // XType-Hi
    EXPECT_EQ(sheet.cells[36][4], "2000");   // XFreq-Hi
    EXPECT_EQ(sheet.cells[37][4], "12");     // XSlope-Hi
    EXPECT_EQ(sheet.cells[38][11], "+5.0");  // Threshold of output 8
    EXPECT_EQ(sheet.cells[39][11], "0.6");   // Attack
    EXPECT_EQ(sheet.cells[40][11], "32X");   // Release
}
