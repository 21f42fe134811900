// Test programs that run New or keep settings link IsolatedConfig.cpp: before any test runs it
// points the connection file and the user's configuration folder at a temporary folder, so no
// test reads or writes the user's own files.
#pragma once

#include <string>

namespace filestest {

// The temporary folder that stands for the user's configuration folder.
std::string IsolatedConfigDir();
// The connection file every test program uses.
std::string IsolatedConnectionFile();

} // namespace filestest
