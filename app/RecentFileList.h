// CRecentFileList: the last setup files opened or saved, newest first, kept in the settings
// under "Local AppWizard-Generated Applications" so that they outlive the program.
#pragma once

#include <string>
#include <vector>

class CRecentFileList {
public:
    static constexpr int kSize = 4;
    static constexpr const char* kSettingsKey = "Local AppWizard-Generated Applications";

    // Reads the list kept for `application`.
    explicit CRecentFileList(std::string application);

    // Puts `path` first (as an absolute path), drops an older entry of it and the oldest entry
    // beyond the four, and keeps the list.
    void Add(const std::string& path);
    const std::vector<std::string>& Files() const { return files_; }

private:
    void Save() const;

    std::string application_;
    std::vector<std::string> files_;
};
