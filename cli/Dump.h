// veltrix-cli dump: the data sheet of a setup file as tab-separated text.
#pragma once

#include <ostream>
#include <string>

namespace cli {

// Loads the setup file at `path` offline and writes its data sheet to `out`: a header line
// whose first cell is empty, then one line per row. Returns the exit code; a file that cannot
// be loaded is reported through the message-box service.
int RunDump(const std::string& path, std::ostream& out);

} // namespace cli
