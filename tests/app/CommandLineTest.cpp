// The command line: a setup file, the demo network, --help, --version and the mistakes.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

using app::CommandLine;
using app::ParseCommandLine;

namespace {

CommandLine Parsed(const std::vector<std::string>& arguments) {
    CommandLine line;
    std::string message;
    EXPECT_TRUE(ParseCommandLine(arguments, line, message)) << message;
    return line;
}

std::string Refusal(const std::vector<std::string>& arguments) {
    CommandLine line;
    std::string message;
    EXPECT_FALSE(ParseCommandLine(arguments, line, message));
    return message;
}

} // namespace

TEST(CommandLine, SetupFileDemoHelpAndVersion) {
    EXPECT_EQ(Parsed({"show.dat"}).setupFile, "show.dat");
    EXPECT_EQ(Parsed({"--demo"}).demoDevices, 4);
    EXPECT_EQ(Parsed({"--demo", "16"}).demoDevices, 16);
    const CommandLine demoAndFile = Parsed({"--demo", "show.dat"});
    EXPECT_EQ(demoAndFile.demoDevices, 4);
    EXPECT_EQ(demoAndFile.setupFile, "show.dat");
    EXPECT_TRUE(Parsed({"--help"}).help);
    EXPECT_TRUE(Parsed({"-h"}).help);
    EXPECT_TRUE(Parsed({"--version"}).version);
    EXPECT_EQ(Parsed({"--", "-odd name.dat"}).setupFile, "-odd name.dat");
}

TEST(CommandLine, WindowSystemOptionsAreLeftForQt) {
    const CommandLine line = Parsed({"-platform", "offscreen", "show.dat", "-reverse"});
    EXPECT_EQ(line.setupFile, "show.dat");
    EXPECT_EQ(line.windowSystemArguments, (std::vector<std::string>{"-platform", "offscreen", "-reverse"}));
}

TEST(CommandLine, MistakesAreNamed) {
    EXPECT_EQ(Refusal({"--colour"}), "unknown option --colour");
    EXPECT_EQ(Refusal({"-x"}), "unknown option -x");
    EXPECT_EQ(Refusal({"a.dat", "b.dat"}),
              "only one setup file can be opened; \"a.dat\" and \"b.dat\" were given");
    EXPECT_EQ(Refusal({"--demo", "0"}), "--demo takes a number of devices from 1 to 16, not 0");
    EXPECT_EQ(Refusal({"--demo", "17"}), "--demo takes a number of devices from 1 to 16, not 17");
}

TEST(CommandLine, UsageAndVersionTexts) {
    EXPECT_NE(app::UsageText().find("--demo [N]"), std::string::npos);
    EXPECT_EQ(app::VersionText().rfind("Veltrix ", 0), 0u);
    EXPECT_NE(app::VersionText().find("4.04"), std::string::npos);
}
