// The recovery file. When the program is ended from outside (a logout, a service stop, Ctrl+C
// on its terminal) nobody is there to answer "Save changes?", so the operator's unsaved
// changes are written here instead and offered at the next start. It is an ordinary setup file
// of the current device in the user's configuration folder (the folder of the connection
// settings); the name of the setup file the changes belong to is kept beside it.
#pragma once

#include <QByteArrayView>

#include <optional>
#include <string>

namespace app {

struct RecoveredSetup {
    std::string path;      // the recovery file
    std::string setupFile; // the setup file the changes belong to; empty for one never saved
};

std::string RecoveryFilePath();
// Writes `setup`, the bytes of a setup file, as the recovery file of changes to `setupFile`.
// False, with the reason in `problem`, when it cannot.
bool WriteRecoveryFile(QByteArrayView setup, const std::string& setupFile, std::string& problem);
// The recovery file when there is one.
std::optional<RecoveredSetup> FindRecoveryFile();
void RemoveRecoveryFile();

} // namespace app
