#include "cli/CliConnectionFile.h"

namespace {
constexpr const char* kFileName = "/tonra.sys";
}

CCliConnectionFile::CCliConnectionFile()
    : previous_(qgetenv(model::kConnectionFileVariable)),
      hadPrevious_(qEnvironmentVariableIsSet(model::kConnectionFileVariable)) {
    // Without a temporary folder the path names a file that does not exist: New then keeps
    // the settings it has, and the user's file is still not read.
    qputenv(model::kConnectionFileVariable, (dir_.path() + kFileName).toLocal8Bit());
}

CCliConnectionFile::~CCliConnectionFile() {
    if (hadPrevious_) {
        qputenv(model::kConnectionFileVariable, previous_);
    } else {
        qunsetenv(model::kConnectionFileVariable);
    }
}

bool CCliConnectionFile::Write(const model::ConnectionSettings& settings, std::string& problem) const {
    return model::WriteConnectionFile(model::ConnectionFilePath(), settings, problem);
}
