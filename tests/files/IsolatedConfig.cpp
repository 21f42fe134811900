#include "IsolatedConfig.h"

#include <QTemporaryDir>

namespace {

// Set up before main, so the settings and the connection file are redirected before anything
// looks for them.
struct IsolatedConfig {
    QTemporaryDir dir;

    IsolatedConfig() {
        qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
        qputenv("VELTRIX_CONNECTION_FILE", (dir.path() + "/tonra.sys").toLocal8Bit());
    }
};

const IsolatedConfig& Config() {
    static const IsolatedConfig config;
    return config;
}

// Creates the folder during static initialisation rather than at the first call.
[[maybe_unused]] const IsolatedConfig& earlyConfig = Config();

} // namespace

namespace filestest {

std::string IsolatedConfigDir() { return Config().dir.path().toStdString(); }

std::string IsolatedConnectionFile() { return IsolatedConfigDir() + "/tonra.sys"; }

} // namespace filestest
