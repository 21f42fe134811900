// veltrix-cli: the link engine without windows, for installers and scripts. It reads setup
// files offline and runs one command against one device: backups, restores, programs,
// single parameter changes, recalls and a watch on the link and the meters.
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Dump.h"
#include "cli/EqCommand.h"
#include "cli/Ports.h"
#include "cli/Response.h"
#include "cli/StatusOutput.h"
#include "framework/UiService.h"
#include "res/Version.h"

#include <QCoreApplication>

#include <iostream>
#include <unistd.h>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    AfxSetAppName("veltrix-cli");
    CStatusOutput status(stderr, isatty(STDERR_FILENO) != 0);
    CCliUiService cliService(status);
    const CScopedUiService service(cliService);

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments == std::vector<std::string>{"--version"}) {
        std::cout << "veltrix-cli " << res::kVersion << "\n";
        return cli::kExitDone;
    }
    cli::CliOptions options;
    std::string message;
    switch (cli::ParseArguments(arguments, options, message)) {
    case cli::ParseResult::Help:
        std::cout << cli::HelpText(options);
        return cli::kExitDone;
    case cli::ParseResult::Bad:
        std::cerr << "veltrix-cli: " << message << "\n" << cli::kUsageHint << "\n";
        return cli::kExitUsage;
    case cli::ParseResult::Run:
        break;
    }
    if (options.command == cli::Command::Dump) {
        return cli::RunDump(options.file, std::cout);
    }
    if (options.command == cli::Command::Ports) {
        return cli::RunPorts(options.json, std::cout);
    }
    if (options.command == cli::Command::Response) {
        return cli::RunResponse(options.file, options.response, std::cout);
    }
    if (options.command == cli::Command::Eq) {
        return cli::RunEq(options.eq, std::cout);
    }
    CCliSession session(options, status);
    return session.Run();
}
