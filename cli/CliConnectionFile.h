// The connection file of one run of veltrix-cli: a temporary file that holds only the target
// of the command. The document reads the connection file at every New, so pointing it here
// keeps the user's own connection settings out of the run and untouched by it.
#pragma once

#include "model/ConnectionFile.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <string>

class CCliConnectionFile {
public:
    // Points the document's connection file at a file in a new temporary folder.
    CCliConnectionFile();
    // Puts the previous connection file back and removes the temporary one.
    ~CCliConnectionFile();
    CCliConnectionFile(const CCliConnectionFile&) = delete;
    CCliConnectionFile& operator=(const CCliConnectionFile&) = delete;

    // False, with the reason in `problem`, when the temporary file cannot be written.
    bool Write(const model::ConnectionSettings& settings, std::string& problem) const;

private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_ = false;
};
