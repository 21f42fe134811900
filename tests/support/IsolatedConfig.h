// Every test program points the connection file and the user's configuration folder at a
// temporary folder before anything runs, so no test reads or writes the user's own files.
#pragma once

#include <string>

namespace testsupport {

// Called first thing in main(): redirects XDG_CONFIG_HOME and VELTRIX_CONNECTION_FILE.
void IsolateUserConfig();
// The temporary folder that stands for the user's configuration folder.
std::string IsolatedConfigDir();
// The connection file every test program uses.
std::string IsolatedConnectionFile();

} // namespace testsupport
