#include "dialogs/SetupCom.h"

#include "framework/DialogRows.h"
#include "framework/Edit.h"
#include "framework/Format.h"

#include <algorithm>
#include <string_view>

namespace {

// Row labels, as the device's documentation writes them (the third without a blank).
constexpr std::array<std::string_view, model::kDeviceCount> kRowLabels = {
    "Device 1", "Device 2",  "Device3",   "Device 4",  "Device 5",  "Device 6",  "Device 7",  "Device 8",
    "Device 9", "Device 10", "Device 11", "Device 12", "Device 13", "Device 14", "Device 15", "Device 16",
};

// The octet fields are numbered n = 4 * row + octet; their ids run in three blocks.
struct OctetIdBlock {
    int firstField;
    int firstId;
};
constexpr std::array<OctetIdBlock, 3> kOctetIdBlocks = {{{0, 1094}, {24, 1136}, {47, 1159}}};

constexpr int kRadioTop = 28;
constexpr int kRowsTop = 56;
constexpr int kRowHeight = 22;
constexpr int kRowPitch = 26;
constexpr int kLabelWidth = 64;
constexpr int kComboWidth = 96;
constexpr int kPortListWidth = 260;
constexpr int kOctetWidth = 40;
constexpr int kOctetGap = 6;
constexpr int kColumnGap = 16;

CDialogRows DeviceRows() {
    CDialogRows rows(kRowsTop, kRowHeight, kRowPitch);
    rows.AddColumns(kDialogMargin + kGroupBoxInset, kLabelWidth);
    rows.AddColumnAfter(kColumnGap / 2, kComboWidth);
    rows.AddColumnAfter(kColumnGap / 2, kPortListWidth);
    rows.AddColumnAfter(kColumnGap, kOctetWidth, model::kIpOctetCount, kOctetGap);
    return rows;
}

constexpr int kLabelColumn = 0;
constexpr int kComboColumn = 1;
constexpr int kPortListColumn = 2;
constexpr int kFirstOctetColumn = 3;

constexpr std::string_view kStableFolder = "/dev/serial/by-id/";
constexpr std::string_view kDevicePrefix = "/dev/";
// First, so that a long name cut off at the list's edge still shows it.
constexpr std::string_view kNotPresent = "not present: ";
constexpr std::string_view kFromEnvironment = " (from VELTRIX_COM";

// A device path as the port list shows it: without /dev/, a stable name without its folder.
std::string ShortName(const std::string& path) {
    if (path.starts_with(kStableFolder)) {
        return path.substr(kStableFolder.size());
    }
    return path.starts_with(kDevicePrefix) ? path.substr(kDevicePrefix.size()) : path;
}

const CDialogRows kRows = DeviceRows();
const int kGroupRight = kRows.Right() + kGroupBoxInset;
const int kGroupBottom = kRows.Bottom(model::kDeviceCount) + kGroupBoxInset;
const int kWidth = kGroupRight + kDialogMargin;
const int kButtonsTop = kGroupBottom + kDialogMargin;
const int kHeight = kButtonsTop + kDialogButtonHeight + kDialogMargin;

} // namespace

CSetupCom::CSetupCom() : CDialog("Connection Setup", CSize(kWidth, kHeight)) {}

int CSetupCom::OctetFieldId(int row, int octet) {
    const int field = row * model::kIpOctetCount + octet;
    const OctetIdBlock* block = &kOctetIdBlocks.front();
    for (const OctetIdBlock& candidate : kOctetIdBlocks) {
        if (field >= candidate.firstField) {
            block = &candidate;
        }
    }
    return block->firstId + field - block->firstField;
}

void CSetupCom::CreateControls() {
    AddGroupBox("Connection Setup", CRect(kDialogMargin, kDialogMargin, kGroupRight, kGroupBottom));
    // Each mode's radio stands above the column it uses.
    const CRect comColumn = kRows.Cell(0, kComboColumn);
    const CRect octetColumns = kRows.Span(0, kFirstOctetColumn, kFirstOctetColumn + 3);
    AddRadioButton(kModeComButtonId, "COM Port",
                   CRect(comColumn.left, kRadioTop, comColumn.right, kRadioTop + kRowHeight), WS_GROUP);
    AddRadioButton(kModeNetworkButtonId, "Network IP Address",
                   CRect(octetColumns.left, kRadioTop, octetColumns.right, kRadioTop + kRowHeight));
    const CRect portColumn = kRows.Cell(0, kPortListColumn);
    AddStatic(0, "Serial port on this computer",
              CRect(portColumn.left, kRadioTop, portColumn.right, kRadioTop + kRowHeight));

    // Row by row, so that the tab order follows the rows.
    for (int row = 0; row < model::kDeviceCount; ++row) {
        AddStatic(0, std::string(kRowLabels[static_cast<std::size_t>(row)]), kRows.Cell(row, kLabelColumn));
        comboBoxes[static_cast<std::size_t>(row)] =
            AddComboBox(kFirstComboId + row, kRows.Cell(row, kComboColumn));
        portLists_[static_cast<std::size_t>(row)] =
            AddComboBox(kFirstPortListId + row, kRows.Cell(row, kPortListColumn));
        for (int octet = 0; octet < model::kIpOctetCount; ++octet) {
            AddEdit(OctetFieldId(row, octet), kRows.Cell(row, kFirstOctetColumn + octet), ES_NUMBER,
                    kOctetLength);
        }
    }

    AddOkCancelButtons(kGroupRight, kButtonsTop);
}

bool CSetupCom::OnInitDialog() {
    connectionMode = connectionMode != 0 ? 1 : 0; // the document takes any non-zero mode as network
    for (std::size_t row = 0; row < comboBoxes.size(); ++row) {
        CComboBox& combo = comboBoxes[row];
        combo.ResetContent();
        combo.AddString("Offline");
        for (unsigned port = 1; port <= kComPortCount; ++port) {
            combo.AddString(Format("COM %u", port));
        }
        combo.SetCurSel(portChoices[row]);
    }
    FillPortLists();
    return CDialog::OnInitDialog();
}

void CSetupCom::FillPortList(int row) {
    const auto r = static_cast<std::size_t>(row);
    CComboBox& list = portLists_[r];
    std::vector<std::string>& paths = portListPaths_[r];
    list.ResetContent();
    paths.clear();
    const int com = portChoices[r];
    const bool hasPort = com >= 1 && com <= kComPortCount;
    EnableDlgItem(kFirstPortListId + row, hasPort && !comTargets[static_cast<std::size_t>(com)].fixed);
    if (!hasPort) {
        return;
    }
    const ComTarget& target = comTargets[static_cast<std::size_t>(com)];
    const auto listed = std::find_if(portOptions.begin(), portOptions.end(), [&](const PortOption& option) {
        return option.path == target.path || option.device == target.path;
    });
    if (target.fixed || listed == portOptions.end()) {
        // Where the number leads now comes first, also when no such port is there.
        std::string label = ShortName(target.path);
        if (target.fixed) {
            label += std::string(kFromEnvironment) + std::to_string(com) + ")";
        } else if (!target.present) {
            label.insert(0, kNotPresent);
        }
        list.AddString(label);
        paths.push_back(target.path);
    }
    if (!target.fixed) {
        for (const PortOption& option : portOptions) {
            list.AddString(option.label);
            paths.push_back(option.path);
        }
    }
    const auto selected = target.fixed || listed == portOptions.end()
                              ? paths.begin()
                              : std::find(paths.begin(), paths.end(), listed->path);
    list.SetCurSel(static_cast<int>(selected - paths.begin()));
}

void CSetupCom::FillPortLists() {
    for (int row = 0; row < model::kDeviceCount; ++row) {
        FillPortList(row);
    }
}

void CSetupCom::TakePortChoice(int row) {
    const auto r = static_cast<std::size_t>(row);
    const int com = portChoices[r];
    const int entry = portLists_[r].GetCurSel();
    if (com < 1 || com > kComPortCount || entry < 0 ||
        static_cast<std::size_t>(entry) >= portListPaths_[r].size()) {
        return;
    }
    ComTarget& target = comTargets[static_cast<std::size_t>(com)];
    const std::string& path = portListPaths_[r][static_cast<std::size_t>(entry)];
    if (target.fixed || path == target.path) {
        return;
    }
    target.path = path;
    target.present = true; // another entry than where the number leads is a port the system has
}

void CSetupCom::DoDataExchange(bool saveAndValidate) {
    DDX_Radio(saveAndValidate, kModeComButtonId, connectionMode);
    for (int row = 0; row < model::kDeviceCount; ++row) {
        auto& address = octets[static_cast<std::size_t>(row)];
        for (int octet = 0; octet < model::kIpOctetCount; ++octet) {
            int& value = address[static_cast<std::size_t>(octet)];
            DDX_Text(saveAndValidate, OctetFieldId(row, octet), value);
            DDV_MinMaxInt(saveAndValidate, value, 0, 255);
        }
    }
}

void CSetupCom::OnComboCloseUp(int id) {
    if (id >= kFirstPortListId && id < kFirstPortListId + model::kDeviceCount) {
        TakePortChoice(id - kFirstPortListId);
    } else {
        for (std::size_t row = 0; row < comboBoxes.size(); ++row) {
            portChoices[row] = comboBoxes[row].GetCurSel();
        }
    }
    // Rows that share a COM number show the same port.
    FillPortLists();
}

std::string CSetupCom::DescribeField(int id) const {
    for (int row = 0; row < model::kDeviceCount; ++row) {
        for (int octet = 0; octet < model::kIpOctetCount; ++octet) {
            if (OctetFieldId(row, octet) == id) {
                return Format("Device %d, IP address octet %d", row + 1, octet + 1);
            }
        }
    }
    return {};
}
