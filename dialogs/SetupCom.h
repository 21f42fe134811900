// The "Connection Setup" dialog: how each of the 16 device slots is reached. One choice for
// the whole network (COM ports or network addresses), and per device a COM port (or none) and
// an IPv4 address. The dialog only edits values; the caller stores them and reconnects.
//
// Use: copy the document's connectionMode, comPort[0..15] and ipAddress[0..15] into
// connectionMode, portChoices and octets; DoModal(); on IDOK read the three back (the view
// stores them, writes the connection file and reconnects every slot). On IDCANCEL nothing of
// the caller's changes.
#pragma once

#include "framework/Dialog.h"
#include "model/ModelTypes.h"

#include <array>

class CSetupCom : public CDialog {
public:
    static constexpr int kModeComButtonId = 1134;
    static constexpr int kModeNetworkButtonId = 1135;
    static constexpr int kFirstComboId = 1118;
    static constexpr int kComPortCount = 64;
    static constexpr int kOctetLength = 3;

    CSetupCom();

    // Control id of octet `octet` (0 = most significant) of device row `row` (0..15).
    static int OctetFieldId(int row, int octet);

    // Selected entry of each device's list: 0 = "Offline", k = COM port k (the document's
    // comPort). Read from the lists each time one of them closes; -1 when a list has no entry
    // selected (the link engine takes any value not above 0 as no port).
    std::array<int, model::kDeviceCount> portChoices{};
    // The lists, ids 1118..1133.
    std::array<CComboBox, model::kDeviceCount> comboBoxes;
    // IPv4 address of each device, most significant octet first; 0..255 after OK.
    std::array<std::array<int, model::kIpOctetCount>, model::kDeviceCount> octets{};
    // 0 = COM ports, 1 = network addresses.
    int connectionMode = 0;

protected:
    void CreateControls() override;
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnComboCloseUp(int id) override;
    std::string DescribeField(int id) const override;
};
