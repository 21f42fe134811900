// The "File/Program Recall/Store" dialog: recall a program of the current device, store the
// current settings into one of its 30 programs under a name, or recall or store the settings
// as a setup file on the PC. The dialog only collects the choice; the view carries it out.
//
// Use: set `document`; DoModal(); on IDOK read `action`, `programNumber` (1..30) and
// `programName`:
//   kRecallFromDevice  currentProgram = number - 1, recall that program on the device
//   kStoreToDevice     refused with "Program is store locked!" for a number not above the
//                      device's oemPrograms; otherwise the name and number go to the device
//   kRecallFromPc      a setup file is chosen and loaded, then written to the device
//   kStoreToPc         the settings are saved as a setup file
#pragma once

#include "framework/Dialog.h"

#include <string>

class CTonraDoc;

class CSetupProgram : public CDialog {
public:
    static constexpr int kRecallFromDeviceId = 1254;
    static constexpr int kStoreToDeviceId = 1255;
    static constexpr int kRecallFromPcId = 1258;
    static constexpr int kStoreToPcId = 1259;
    static constexpr int kHintFieldId = 1150;
    static constexpr int kNumberFieldId = 1240;
    static constexpr int kUpDownId = 1241;
    static constexpr int kNameFieldId = 1148;

    enum Action : int { kRecallFromDevice = 0, kStoreToDevice = 1, kRecallFromPc = 2, kStoreToPc = 3 };
    static constexpr int kFirstProgram = 1;
    static constexpr int kLastProgram = 30;
    static constexpr int kNameLength = 12;

    CSetupProgram();

    // Source of the program names and the factory ranges of the current device; not owned.
    CTonraDoc* document = nullptr;
    CSpinButtonCtrl upDown;
    int action = kRecallFromDevice;
    // At most 12 characters.
    std::string programName;
    // 1..30; a number typed outside that range is kept within it.
    int programNumber = kFirstProgram;
    // "", "Factory Program" or "Factory EQ".
    std::string hint;

protected:
    void CreateControls() override;
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    std::string DescribeField(int id) const override;
    void OnCommand(int id) override;
    bool OnSpinDeltaPos(int id, const NMUPDOWN& step) override;

private:
    // The hint and the program name for the program number; the name field read-only for a
    // factory program. Writes the fields to the controls.
    void RefreshHint();
    // Enables the number and name fields for the device actions, disables them for the PC ones.
    void ApplyAction();
    int OemPrograms() const;
};
