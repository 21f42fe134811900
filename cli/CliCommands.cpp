#include "cli/CliCommands.h"

#include "cli/SetParameter.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace cli {

namespace {

constexpr std::array<CommandInfo, 11> kCommands = {{
    {"dump", Command::Dump, 1, 1, nullptr, false, "dump FILE.dat",
     "print the data sheet of a setup file as tab-separated text",
     "The first line holds the channel headers, then one line per row of the data sheet.\n"
     "Example:\n"
     "  veltrix-cli dump backup.dat\n"},
    {"response", Command::Response, 1, 1, nullptr, false,
     "response FILE.dat [--points N] [--output N] [--format frd] [--measured M [--baseline B.dat]]",
     "print the frequency response of the outputs of a setup file, or predict a measurement",
     "A line \"Hz Out1 .. OutN\", then per frequency the level of every output in dB (gains, EQ\n"
     "and crossovers summed as the plot sums them, limited to +20 .. -40).\n"
     "--points N is the plot's grid width, 2 to 100000 (default 960): N - 1 frequencies from\n"
     "20 Hz upwards, f = 20 x 10^(3k / N).\n"
     "--output N prints output N only; with --format frd as an FRD file (frequency, dB not\n"
     "limited, phase 0) that a measurement program imports as an overlay.\n"
     "--measured M reads a measurement of output N (REW text export or FRD: frequency, dB and\n"
     "phase per line) and prints \"Hz Measured Predicted\" for every measured frequency from\n"
     "20 Hz to 20 kHz: the predicted level is the measured one plus the output's response in\n"
     "FILE.dat minus its response in B.dat, the setup the measurement was made with (without\n"
     "--baseline, a setup with every gain, band and filter neutral), at that very frequency.\n"
     "Examples:\n"
     "  veltrix-cli response backup.dat --points 200\n"
     "  veltrix-cli response backup.dat --output 2 --format frd > out2.frd\n"
     "  veltrix-cli response tuned.dat --measured out2.txt --output 2 --baseline measured-with.dat\n"},
    {"eq", Command::Eq, 3, 4, nullptr, false,
     "eq export FILE.dat CHANNEL [--format rew|apo]\n"
     "  veltrix-cli eq import FILE.dat CHANNEL FILTERS.txt --out NEW.dat",
     "a channel's EQ bands out as REW or Equalizer APO filter text, and such filters in",
     "export prints the six bands of CHANNEL (in1..in8, out1..out8) as REW filter settings\n"
     "(--format rew, the default) or Equalizer APO lines (--format apo); a width is given as Q.\n"
     "import reads REW or APO text (PK or PEQ, LS and HS with their variants, Q or BW Oct; other\n"
     "lines and OFF filters are skipped), places up to six filters in the bands in their order,\n"
     "each at the nearest value a band holds, sets the other bands flat (0 dB) and saves the\n"
     "setup file as NEW.dat. It prints a line per filter: placed exactly, placed approximately\n"
     "and what changed, or not placed and why. It ends with 1 when no filter was placed.\n"
     "Examples:\n"
     "  veltrix-cli eq export backup.dat out1 --format apo > out1.txt\n"
     "  veltrix-cli eq import backup.dat out1 rew-filters.txt --out tuned.dat\n"},
    {"sync", Command::Sync, 0, 0, "out", true, "sync TARGET --out FILE.dat",
     "read the device and save its setup file",
     "The file is written only when the whole device was read.\n"
     "Example:\n"
     "  veltrix-cli sync --ip 127.0.0.2 --out backup.dat\n"},
    {"downsync", Command::DownSync, 0, 0, "in", true, "downsync TARGET --in FILE.dat",
     "write a setup file to the device",
     "The setup file must have the device's channel counts.\n"
     "Example:\n"
     "  veltrix-cli downsync --ip 127.0.0.2 --in backup.dat\n"},
    {"upload", Command::Upload, 0, 0, "list", true, "upload TARGET --list FILE.lst",
     "save the device's 30 programs as program files beside the list file, and the list",
     "Each program is saved as NAME.dat in the list's folder; the list names them in order.\n"
     "Example:\n"
     "  veltrix-cli upload --com 1 --list rig/programs.lst\n"},
    {"download", Command::Download, 0, 0, "list", true, "download TARGET --list FILE.lst",
     "write the 30 programs of a list file (program files beside it) to the device",
     "Every program file named by the list is read from the list's folder before the transfer.\n"
     "Example:\n"
     "  veltrix-cli download --com 1 --list rig/programs.lst\n"},
    {"set", Command::Set, 3, 4, nullptr, true, "set TARGET PARAM CHANNEL [INDEX] VALUE [--raw]",
     "change one parameter on the device and show what it holds",
     "PARAM is a name below. CHANNEL is in1..in8 or out1..out8, or the channel number counting\n"
     "inputs first from 0. INDEX is given only where the parameter has one. VALUE is in the\n"
     "parameter's unit, as the pages take typed numbers (the unit word may follow the number);\n"
     "with --raw it is the stored index itself. Values the device cannot hold are refused.\n"
     "The command reads the device back and prints the value as the data sheet shows it\n"
     "(\"In 1 Level +2.50\"); it ends with 1 unless the device holds the value.\n"
     "With a kind number as PARAM (the second column) CHANNEL and INDEX are numbers from 0\n"
     "and VALUE is the stored index, limited to the parameter's range.\n"
     "Parameters (name, kind, values):\n"
     "@PARAMS@"
     "Examples:\n"
     "  veltrix-cli set --ip 127.0.0.2 level in1 +2.5\n"
     "  veltrix-cli set --ip 127.0.0.2 delay out3 10ms\n"
     "  veltrix-cli set --ip 127.0.0.2 eq-freq in2 3 1000\n"
     "  veltrix-cli set --ip 127.0.0.2 xover-type out1 hp LR\n"
     "  veltrix-cli set --ip 127.0.0.2 mute out2 on\n"
     "  veltrix-cli set --ip 127.0.0.2 2 0 0 170        # kind 2 (level) of channel 0 to index 170\n"},
    {"recall", Command::Recall, 1, 1, nullptr, true, "recall TARGET PROGRAM",
     "recall a program (1 to 30) stored in the device",
     "The command reads the device back and ends with 1 unless it shows the program.\n"
     "Example:\n"
     "  veltrix-cli recall --ip 127.0.0.2 3\n"},
    {"monitor", Command::Monitor, 0, 0, nullptr, true, "monitor TARGET --seconds S [--json]",
     "watch the link and the meters for S seconds",
     "A header names the model and the channels; then every line starts with the seconds since\n"
     "the watch began: the link status at the start and at every change, and the meters of\n"
     "every channel as bars of their 15 segments. With --json every line is one JSON object:\n"
     "{\"device\": ...} first, then {\"time\": s, \"link\": text} and {\"time\": s, \"meters\":\n"
     "{\"In 1\": segments, ...}}.\n"
     "Example:\n"
     "  veltrix-cli monitor --ip 127.0.0.2 --seconds 60\n"},
    {"ports", Command::Ports, 0, 0, nullptr, false, "ports [--json]",
     "list the serial ports, whether you may open them, and where the COM numbers lead",
     "Every serial port of this computer: its path, its stable name under /dev/serial/by-id/,\n"
     "description, maker and USB ids, whether you may open it (if not, why and the command that\n"
     "fixes it) and the program that has it open. Then every COM number that leads elsewhere\n"
     "than /dev/ttyS<n-1>, set in the settings or by VELTRIX_COM<n>, as \"COM3 -> /dev/pts/4\".\n"
     "--json prints one JSON document {\"ports\": [...], \"comPorts\": [...]}.\n"
     "Example:\n"
     "  veltrix-cli ports\n"},
}};

constexpr std::string_view kTargetHelp = R"(TARGET:
  --ip A.B.C.D     the device's network address
  --port P         with --ip: the device's TCP port (default 10001)
  --com N          the device's serial port COM N (115200 baud, 8N2)
  --slot D         the device slot 0..15 the device answers to (default 0); a device
                   answers only frames that carry its slot
  --password PASS  the device password, up to 4 characters (default none)
  --timeout S      the most the whole command may take, in seconds (default 120; for
                   monitor 120 plus its --seconds)
)";

constexpr std::string_view kOutputHelp =
    R"(Output: progress and the link's status texts go to the error output, on a terminal as one
updating line; what a command shows (dump, set, monitor) goes to the standard output.
Exit codes: 0 done; 1 the device did not answer or did not take it, a transfer failed or
timed out, a file could not be read or written; 2 bad usage; 3 the device did not accept
the password.
)";

std::string Replace(std::string text, std::string_view marker, const std::string& with) {
    if (const std::size_t at = text.find(marker); at != std::string::npos) {
        text.replace(at, marker.size(), with);
    }
    return text;
}

} // namespace

std::span<const CommandInfo> Commands() { return kCommands; }

const CommandInfo* FindCommand(std::string_view name) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const CommandInfo& info) { return name == info.name; });
    return found == kCommands.end() ? nullptr : &*found;
}

const CommandInfo& InfoOf(Command command) {
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [&](const CommandInfo& info) { return info.command == command; });
}

std::string UsageText() {
    std::string text = "Usage:\n";
    for (const CommandInfo& info : kCommands) {
        text += "  veltrix-cli " + std::string(info.synopsis) + "\n";
    }
    text += "  veltrix-cli help COMMAND\n  veltrix-cli --version\n\nCommands:\n";
    for (const CommandInfo& info : kCommands) {
        std::string name(info.name);
        name.resize(10, ' ');
        text += "  " + name + " " + std::string(info.summary) + "\n";
    }
    text += "\n" + std::string(kTargetHelp) + "\n" + std::string(kOutputHelp);
    text += "\nveltrix-cli help COMMAND shows a command's arguments, units and examples.\n";
    return text;
}

std::string CommandHelpText(const CommandInfo& info) {
    std::string summary(info.summary);
    summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
    std::string text = "Usage: veltrix-cli " + std::string(info.synopsis) + "\n\n" + summary + ".\n\n" +
                       Replace(std::string(info.details), "@PARAMS@", NamedParamsHelp());
    if (info.talksToDevice) {
        text += "\n" + std::string(kTargetHelp);
    }
    return text + "\n" + std::string(kOutputHelp);
}

} // namespace cli
