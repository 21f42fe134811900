// The serial ports of this computer in the Connection Setup dialog: which ports the operator may
// point a COM number at, where each number leads now, and storing where the operator pointed
// them (in the program's settings; the connection file keeps the numbers).
#pragma once

class CSetupCom;

namespace app {

// Fills the dialog's portOptions and comTargets from the system and the settings.
void FillSerialPortChoices(CSetupCom& dialog);
// Stores every COM number that the dialog now leads somewhere else.
void StoreSerialPortChoices(const CSetupCom& dialog);

} // namespace app
