// A setup file read by a command that works on the file alone (dump, response): the document
// with the run's own connection file, and the end of the command's output.
#pragma once

#include "cli/CliConnectionFile.h"
#include "model/TonraDoc.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace cli {

class CSetupInput {
public:
    CSetupInput();
    // Reads the setup file at `path`; false, with the problem shown, when it cannot be read.
    [[nodiscard]] bool Open(const std::string& path);
    CTonraDoc& Doc() { return *doc_; }

private:
    const CCliConnectionFile connection_; // before the document, which reads it at New
    std::unique_ptr<CTonraDoc> doc_;
};

// Flushes the command's output; false, with "the `what` could not be written to the output"
// on the error output, when it could not be written (a full disk, a closed pipe).
[[nodiscard]] bool FinishOutput(std::ostream& out, std::string_view what);

} // namespace cli
