#include "app/RecentFileList.h"

#include "framework/Text.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace {

const char* const kSection = "Recent File List";

QString EntryKey(int index) { return QString("File%1").arg(index + 1); }

} // namespace

CRecentFileList::CRecentFileList(std::string application) : application_(std::move(application)) {
    QSettings settings(kSettingsKey, ToQString(application_));
    settings.beginGroup(kSection);
    for (int i = 0; i < kSize; ++i) {
        const QString path = settings.value(EntryKey(i)).toString();
        if (!path.isEmpty()) {
            files_.push_back(FromQString(path));
        }
    }
}

void CRecentFileList::Add(const std::string& path) {
    const std::string absolute = FromQString(QFileInfo(ToQString(path)).absoluteFilePath());
    std::erase(files_, absolute);
    files_.insert(files_.begin(), absolute);
    if (files_.size() > kSize) {
        files_.resize(kSize);
    }
    Save();
}

void CRecentFileList::Save() const {
    QSettings settings(kSettingsKey, ToQString(application_));
    settings.beginGroup(kSection);
    for (int i = 0; i < kSize; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (index < files_.size()) {
            settings.setValue(EntryKey(i), ToQString(files_[index]));
        } else {
            settings.remove(EntryKey(i));
        }
    }
}
