// Whether a file can be written where a command is asked to put it, checked before the device
// is touched, so that a transfer of several seconds does not end in a file that cannot be saved.
#pragma once

#include <string>

namespace cli {

// True when a file at `path` can be created or replaced: its folder exists and takes new files
// (the file is saved through a temporary file beside it), and an existing `path` is a regular
// file that can be written. Otherwise false, with the reason in `problem` as a sentence.
bool CheckOutputPath(const std::string& path, std::string& problem);

} // namespace cli
