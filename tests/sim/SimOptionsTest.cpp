// The simulator program's options.
#include "sim/SimOptions.h"

#include <gtest/gtest.h>

namespace {

bool Parse(const std::vector<std::string>& arguments, sim::SimOptions& options, std::string& message) {
    bool help = false;
    return sim::ParseArguments(arguments, options, message, help);
}

} // namespace

TEST(SimOptionsTest, DefaultsServeOneDeviceOnTheDevicePort) {
    sim::SimOptions options;
    std::string message;
    ASSERT_TRUE(Parse({}, options, message));
    EXPECT_EQ(options.deviceCount, 1);
    EXPECT_EQ(options.models, std::vector<std::string>{"RLT-1448"});
    EXPECT_EQ(options.address, "127.0.0.2");
    EXPECT_EQ(options.port, 10001);
    EXPECT_TRUE(options.network);
    EXPECT_FALSE(options.pty);
    EXPECT_EQ(sim::ModelNamed("KVA-1326").outputs, 6);
    EXPECT_EQ(sim::ModelNamed("NQVE-1888").inputs, 8);
    EXPECT_EQ(sim::ModelNamed("XYZ").inputs, 4);
}

TEST(SimOptionsTest, ReadsEveryOption) {
    sim::SimOptions options;
    std::string message;
    ASSERT_TRUE(Parse({"--devices",
                       "16",
                       "--model",
                       "KVA-1326,NQVE-1888",
                       "--password",
                       "ab",
                       "--pty",
                       "--pace",
                       "--drop",
                       "0.1",
                       "--corrupt",
                       "0.2",
                       "--garbage",
                       "0.3",
                       "--stop-after",
                       "5",
                       "--close-after",
                       "2.5",
                       "--seed",
                       "42",
                       "--front-panel",
                       "1",
                       "--port",
                       "0",
                       "--oem-programs",
                       "3",
                       "--factory-eq",
                       "--inputs",
                       "2",
                       "--outputs",
                       "3"},
                      options, message))
        << message;
    EXPECT_EQ(options.deviceCount, 16);
    EXPECT_EQ(options.models, (std::vector<std::string>{"KVA-1326", "NQVE-1888"}));
    EXPECT_EQ(options.password, "ab");
    EXPECT_TRUE(options.pty);
    EXPECT_FALSE(options.network);
    EXPECT_TRUE(options.pace);
    EXPECT_DOUBLE_EQ(options.garbageShare, 0.3);
    EXPECT_DOUBLE_EQ(options.closeAfterSeconds, 2.5);
    EXPECT_EQ(options.seed, 42u);
    EXPECT_EQ(options.port, 0);
    EXPECT_EQ(options.oemPrograms, 3);
    EXPECT_TRUE(options.factoryEq);
    EXPECT_EQ(options.inputs, 2);

    sim::SimOptions both;
    ASSERT_TRUE(Parse({"--pty", "--tcp"}, both, message));
    EXPECT_TRUE(both.network && both.pty);
}

TEST(SimOptionsTest, RefusesWhatItCannotServe) {
    std::string message;
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"--devices", "17"},
             {"--devices", "0"},
             {"--drop", "1.5"},
             {"--password", "toolong"},
             {"--address", "127.0.0.250", "--devices", "8"},
             {"--address", "::1"},
             {"--port", "70000"},
             {"--bogus"},
             {"stray"},
         }) {
        sim::SimOptions options;
        message.clear();
        EXPECT_FALSE(Parse(wrong, options, message)) << wrong.front();
        EXPECT_FALSE(message.empty());
        EXPECT_EQ(options.deviceCount, 1);
    }
    EXPECT_NE(sim::UsageText().find("--pty"), std::string::npos);
}
