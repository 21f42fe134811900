// veltrix-cli eq: a channel's six equaliser bands out of a setup file as REW or Equalizer APO
// filter text, and such text into a channel of a setup file, each filter at the nearest value
// the bands hold, with a report line per filter.
#pragma once

#include "cli/SetParameter.h"
#include "model/EqFilterText.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

struct EqOptions {
    bool import = false; // export otherwise
    std::string setupPath;
    ChannelRef channel;
    model::FilterTextFormat format = model::FilterTextFormat::Rew; // export
    std::string filtersPath;                                       // import
    std::string outPath;                                           // import: --out
};

// Reads "export FILE.dat CHANNEL [--format rew|apo]" or "import FILE.dat CHANNEL FILTERS.txt
// --out NEW.dat": the arguments after "eq" and the options given. False, with `message`
// saying what is wrong, on bad usage.
bool ReadEqArguments(const std::vector<std::string>& positionals,
                     const std::map<std::string, std::string>& options, EqOptions& eq, std::string& message);

// Export prints the filter text; import prints the report and saves the new setup file when at
// least one filter was placed. Returns the exit code; problems with files go to the
// message-box service, a channel the device does not have is bad usage.
int RunEq(const EqOptions& eq, std::ostream& out);

} // namespace cli
