// The "Connection Setup" dialog: how each of the 16 device slots is reached. One choice for
// the whole network (COM ports or network addresses), and per device a COM port (or none) and
// an IPv4 address. The dialog only edits values; the caller stores them and reconnects.
//
// Use: copy the document's connectionMode, comPort[0..15] and ipAddress[0..15] into
// connectionMode, portChoices and octets; DoModal(); on IDOK read the three back (the view
// stores them, writes the connection file and reconnects every slot). On IDCANCEL nothing of
// the caller's changes.
//
// Beside each device's COM number the dialog shows where that number leads on this computer
// and whether the port is there, and lets the operator point the number at one of the serial
// ports the system has: the caller fills portOptions and comTargets, and on IDOK stores the
// comTargets that changed.
#pragma once

#include "framework/Dialog.h"
#include "model/ModelTypes.h"

#include <array>
#include <string>
#include <vector>

class CSetupCom : public CDialog {
public:
    static constexpr int kModeComButtonId = 1134;
    static constexpr int kModeNetworkButtonId = 1135;
    static constexpr int kFirstComboId = 1118;
    static constexpr int kComPortCount = 64;
    static constexpr int kOctetLength = 3;
    static constexpr int kFirstPortListId = 1180; // one list per device row, 1180..1195

    // A serial port of this computer that a COM number may lead to.
    struct PortOption {
        std::string path;   // what the COM number is pointed at: the port's stable name where it has one
        std::string device; // the device file, for example /dev/ttyUSB0
        std::string label;  // what the list shows, for example "ttyUSB0: FT232R USB UART, FTDI"
    };
    // Where a COM number leads.
    struct ComTarget {
        std::string path;
        bool present = false; // a device is at the path
        bool fixed = false;   // the environment decides it; the dialog leaves it alone
    };

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
    // The serial ports of this computer.
    std::vector<PortOption> portOptions;
    // Where each COM number leads, indexed by the number (entry 0 is not used). A choice in a
    // device's port list changes the entry of that device's COM number.
    std::array<ComTarget, kComPortCount + 1> comTargets{};

protected:
    void CreateControls() override;
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnComboCloseUp(int id) override;
    std::string DescribeField(int id) const override;

private:
    // Fills device row `row`'s port list for its COM number and selects where it leads.
    void FillPortList(int row);
    void FillPortLists();
    void TakePortChoice(int row);

    std::array<CComboBox, model::kDeviceCount> portLists_;
    // The path behind each entry of each row's port list.
    std::array<std::vector<std::string>, model::kDeviceCount> portListPaths_;
};
