// The commands of veltrix-cli: one table row per command with what it takes on the command
// line and its help. The parser, `--help` and `veltrix-cli help COMMAND` all read this table,
// so a new command is one row here and one case where the commands are run.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace cli {

enum class Command { Dump, Sync, DownSync, Upload, Download, Set, Recall, Monitor, Response, Ports, Eq };

struct CommandInfo {
    std::string_view name;
    Command command;
    int minPositionals; // arguments after the command name, besides the options
    int maxPositionals;
    const char* fileOption; // the option naming the command's file, or null
    bool talksToDevice;     // takes a TARGET
    std::string_view synopsis;
    std::string_view summary;
    std::string_view details; // what `help COMMAND` adds: arguments, units, examples
};

std::span<const CommandInfo> Commands();
const CommandInfo* FindCommand(std::string_view name);
const CommandInfo& InfoOf(Command command);

// `--help`: every command, the target options, output and exit codes.
std::string UsageText();
// `help COMMAND`: the command's synopsis, summary and details, and the target options.
std::string CommandHelpText(const CommandInfo& info);

} // namespace cli
