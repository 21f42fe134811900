#include "IsolatedConfig.h"

#include <QTemporaryDir>

namespace {

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

} // namespace

namespace testsupport {

void IsolateUserConfig() { Config(); }

std::string IsolatedConfigDir() { return Config().dir.path().toStdString(); }

std::string IsolatedConnectionFile() { return IsolatedConfigDir() + "/tonra.sys"; }

} // namespace testsupport
