#include "dialogs/AboutBox.h"
#include "dialogs/SetupCopy.h"
#include "framework/ScriptedUiService.h"
#include "model/TonraDoc.h"

#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

struct CopyDialog : ::testing::Test {
    CScriptedUiService ui;
    CScopedUiService installed{ui};
    CTonraDoc doc;
    CSetupCopy dialog;

    void SetUp() override {
        doc.currentDevice = 1;
        doc.SetInputCount(2);
        doc.SetOutputCount(3);
        const char* names[] = {"Vox", "Gtr", "Main", "Sub", "Fill"};
        for (int channel = 0; channel < 5; ++channel) {
            doc.channelName[1][static_cast<std::size_t>(doc.ChannelSlot(channel))] = names[channel];
        }
        dialog.document = &doc;
    }
};

std::vector<std::string> Entries(CDialog& d, int id) {
    auto* combo = dynamic_cast<QComboBox*>(d.GetDlgItem(id));
    std::vector<std::string> entries;
    for (int i = 0; combo && i < combo->count(); ++i) {
        entries.push_back(combo->itemText(i).toStdString());
    }
    return entries;
}

TEST_F(CopyDialog, ListsTheInputsThenTheOutputsWithTheirNamesInBothLists) {
    ui.AnswerDialog([](CDialog& d) {
        const std::vector<std::string> expected = {"In1 - Vox", "In2 - Gtr", "Out1 - Main", "Out2 - Sub",
                                                   "Out3 - Fill"};
        EXPECT_EQ(Entries(d, CSetupCopy::kSourceListId), expected);
        EXPECT_EQ(Entries(d, CSetupCopy::kTargetListId), expected);
        EXPECT_EQ(d.GetDlgItemText(CSetupCopy::kSourceListId), "In1 - Vox");
        d.SelectComboEntry(CSetupCopy::kSourceListId, 1);
        d.SelectComboEntry(CSetupCopy::kTargetListId, 4);
        d.ClickDlgButton(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.source, 1);
    EXPECT_EQ(dialog.target, 4);
    EXPECT_EQ(dialog.names[2], "Main");
    EXPECT_EQ(ui.shown()[0].text, "Copy Channels");
}

TEST_F(CopyDialog, TheSameEntryTwiceKeepsTheDialogOpenAndCancelChangesNothing) {
    doc.SetParam(model::kGain, 100, 0, 0);
    doc.SetParam(model::kGain, 20, 3, 0);
    ui.AnswerDialog([&](CDialog& d) {
        d.SelectComboEntry(CSetupCopy::kSourceListId, 3);
        d.SelectComboEntry(CSetupCopy::kTargetListId, 3);
        d.ClickDlgButton(IDOK);
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Source and Target are the same!"});
        d.ClickDlgButton(IDCANCEL);
    });
    ASSERT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(doc.GetParam(model::kGain, 3, 0), 20);
    EXPECT_EQ(doc.GetParam(model::kGain, 0, 0), 100);
}

TEST(AboutBox, ShowsTheProductAndTheVersionCentredInTheVersionBox) {
    CScriptedUiService ui;
    CScopedUiService installed(ui);
    CAboutBox box;
    box.productText = "Veltrix";
    box.versionText = CAboutBox::VersionText();
    ui.AnswerDialog([](CDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(CAboutBox::kProductTextId), "Veltrix");
        EXPECT_EQ(d.GetDlgItemText(CAboutBox::kVersionTextId), "Version 4.04");
        auto* product = dynamic_cast<QLabel*>(d.GetDlgItem(CAboutBox::kProductTextId));
        ASSERT_NE(product, nullptr);
        EXPECT_TRUE(product->alignment() & Qt::AlignHCenter);
        EXPECT_LT(product->y(), d.GetDlgItem(CAboutBox::kVersionTextId)->y());
        d.ClickDlgButton(IDOK);
    });
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_EQ(ui.shown()[0].text, "Qel Veltrix Version");
}

} // namespace
