// The command line of veltrix-cli, read in-process.
#include "cli/CliOptions.h"

#include <gtest/gtest.h>

using namespace cli;

namespace {

ParseResult Parse(const std::vector<std::string>& arguments, CliOptions& options) {
    std::string message;
    const ParseResult result = ParseArguments(arguments, options, message);
    EXPECT_EQ(result == ParseResult::Bad, !message.empty()) << message;
    return result;
}

bool IsBad(const std::vector<std::string>& arguments) {
    CliOptions options;
    return Parse(arguments, options) == ParseResult::Bad;
}

} // namespace

TEST(CliOptions, TargetDefaultsAndForms) {
    CliOptions options;
    ASSERT_EQ(Parse({"sync", "--ip", "192.168.1.20", "--out", "x.dat"}, options), ParseResult::Run);
    EXPECT_EQ(options.command, Command::Sync);
    EXPECT_TRUE(options.network);
    EXPECT_EQ(options.ipAddress, (std::array<int, 4>{192, 168, 1, 20}));
    EXPECT_EQ(options.port, 10001);
    EXPECT_EQ(options.slot, 0);
    EXPECT_EQ(options.password, "");
    EXPECT_EQ(options.timeoutSeconds, 120);
    EXPECT_EQ(options.file, "x.dat");

    CliOptions serial;
    ASSERT_EQ(
        Parse({"recall", "30", "--com=3", "--slot=15", "--password", "Ab1", "--timeout", "2.5"}, serial),
        ParseResult::Run);
    EXPECT_FALSE(serial.network);
    EXPECT_EQ(serial.comPort, 3);
    EXPECT_EQ(serial.slot, 15);
    EXPECT_EQ(serial.password, "Ab1");
    EXPECT_EQ(serial.timeoutSeconds, 2.5);
    EXPECT_EQ(serial.program, 30);
}

TEST(CliOptions, SetTakesKindChannelIndexAndValue) {
    CliOptions options;
    ASSERT_EQ(Parse({"set", "--com", "1", "5", "4", "5", "2"}, options), ParseResult::Run);
    EXPECT_EQ(options.kind, 5);
    EXPECT_EQ(options.channel, 4);
    EXPECT_EQ(options.index, 5);
    EXPECT_EQ(options.value, 2);
    CliOptions name;
    ASSERT_EQ(Parse({"set", "--com", "1", "9", "0", "0", "Kick"}, name), ParseResult::Run);
    EXPECT_EQ(name.text, "Kick");

    EXPECT_TRUE(IsBad({"set", "--com", "1", "0", "0", "0", "1"}));    // meters are not set
    EXPECT_TRUE(IsBad({"set", "--com", "1", "17", "4", "0", "1"}));   // amplifier gain stays on the PC
    EXPECT_TRUE(IsBad({"set", "--com", "1", "5", "0", "6", "1"}));    // band 6
    EXPECT_TRUE(IsBad({"set", "--com", "1", "11", "4", "2", "1"}));   // filter 2
    EXPECT_TRUE(IsBad({"set", "--com", "1", "2", "0", "1", "170"}));  // level has no index
    EXPECT_TRUE(IsBad({"set", "--com", "1", "2", "16", "0", "170"})); // channel 16
    EXPECT_TRUE(IsBad({"set", "--com", "1", "2", "0", "0", "-1"}));
    EXPECT_TRUE(IsBad({"set", "--com", "1", "9", "0", "0", "Kick It"})); // longer than 6
    EXPECT_TRUE(IsBad({"set", "--com", "1", "2", "0", "0"}));
}

TEST(CliOptions, MonitorGetsItsWatchOnTopOfTheTimeLimit) {
    CliOptions options;
    ASSERT_EQ(Parse({"monitor", "--ip", "10.0.0.1", "--seconds", "30"}, options), ParseResult::Run);
    EXPECT_EQ(options.seconds, 30);
    EXPECT_EQ(options.timeoutSeconds, 150);
    CliOptions limited;
    ASSERT_EQ(Parse({"monitor", "--ip", "10.0.0.1", "--seconds", "30", "--timeout", "10"}, limited),
              ParseResult::Run);
    EXPECT_EQ(limited.timeoutSeconds, 10);
    EXPECT_TRUE(IsBad({"monitor", "--ip", "10.0.0.1"}));
}

TEST(CliOptions, BadUsage) {
    EXPECT_TRUE(IsBad({}));
    EXPECT_TRUE(IsBad({"backup", "--ip", "10.0.0.1"}));
    EXPECT_TRUE(IsBad({"sync", "--out", "x.dat"}));                                   // no target
    EXPECT_TRUE(IsBad({"sync", "--ip", "10.0.0.1", "--com", "1", "--out", "x.dat"})); // two targets
    EXPECT_TRUE(IsBad({"sync", "--ip", "10.0.0.1"}));                                 // no --out
    EXPECT_TRUE(IsBad({"sync", "--ip", "10.0.0.1", "--in", "x.dat"}));                // --in is downsync's
    EXPECT_TRUE(IsBad({"sync", "--ip", "10.0.0", "--out", "x.dat"}));
    EXPECT_TRUE(IsBad({"sync", "--ip", "10.0.0.256", "--out", "x.dat"}));
    EXPECT_TRUE(IsBad({"sync", "--ip", "0.0.0.0", "--out", "x.dat"}));
    EXPECT_TRUE(IsBad({"sync", "--com", "0", "--out", "x.dat"}));
    EXPECT_TRUE(IsBad({"sync", "--com", "1", "--port", "4000", "--out", "x.dat"}));
    EXPECT_TRUE(IsBad({"sync", "--com", "1", "--slot", "16", "--out", "x.dat"}));
    EXPECT_TRUE(IsBad({"sync", "--com", "1", "--password", "ABCDE", "--out", "x.dat"}));
    EXPECT_TRUE(IsBad({"sync", "--com", "1", "--password", "A|", "--out", "x.dat"}));
    EXPECT_TRUE(IsBad({"sync", "--com", "1", "--timeout", "0", "--out", "x.dat"}));
    EXPECT_TRUE(IsBad({"sync", "--com", "1", "--out", "x.dat", "--out", "y.dat"}));
    EXPECT_TRUE(IsBad({"sync", "--com", "1", "--out"}));
    EXPECT_TRUE(IsBad({"recall", "--com", "1", "31"}));
    EXPECT_TRUE(IsBad({"recall", "--com", "1", "0"}));
    EXPECT_TRUE(IsBad({"dump"}));
    EXPECT_TRUE(IsBad({"dump", "x.dat", "--ip", "10.0.0.1"}));

    CliOptions options;
    EXPECT_EQ(Parse({"sync", "--help"}, options), ParseResult::Help);
}
