// What the operator is told about a serial device the system refuses: the group to join, or
// the program that holds the device.
#include "link/SerialAccess.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A group other than the user's own primary group that this process may give a file: any
// group for root, else one of the user's other groups; the primary group when there is none.
gid_t OtherGroup() {
    if (geteuid() == 0) {
        for (const char* name : {"dialout", "uucp", "nogroup", "users"}) {
            if (const group* g = getgrnam(name)) {
                return g->gr_gid;
            }
        }
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(getgroups(0, nullptr)));
    getgroups(static_cast<int>(groups.size()), groups.data());
    for (const gid_t gid : groups) {
        if (gid != getegid()) {
            return gid;
        }
    }
    return getegid();
}

struct PortFile : ::testing::Test {
    QTemporaryDir dir;
    std::string path;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("ttyUSB7").toStdString();
        std::ofstream(path) << "";
    }
};

TEST_F(PortFile, APortOfAnotherGroupNamesThatGroupAndTheCommandThatJoinsIt) {
    const gid_t gid = OtherGroup();
    ASSERT_EQ(chown(path.c_str(), static_cast<uid_t>(-1), gid), 0);
    ASSERT_EQ(chmod(path.c_str(), 0660), 0);
    const std::string name = getgrgid(gid)->gr_name;

    EXPECT_EQ(devlink::DeviceGroup(path), name);
    const std::string advice = devlink::PermissionAdvice(path);
    EXPECT_NE(advice.find("group \"" + name + "\""), std::string::npos) << advice;
    EXPECT_NE(advice.find("sudo usermod -aG " + name + " "), std::string::npos) << advice;
    EXPECT_NE(advice.find(path), std::string::npos) << advice;
}

TEST_F(PortFile, AMissingPortHasNoAdvice) {
    const std::string missing = path + "-gone";
    EXPECT_EQ(devlink::DeviceGroup(missing), "");
    EXPECT_EQ(devlink::PermissionAdvice(missing), "");
    EXPECT_EQ(devlink::PortHolder(missing), "");
}

TEST_F(PortFile, TheHolderOfAPortIsTheProcessThatHasItOpen) {
    EXPECT_EQ(devlink::PortHolder(path), "");
    QProcess holder;
    holder.setStandardInputFile(QString::fromStdString(path));
    holder.start("sleep", {"30"});
    ASSERT_TRUE(holder.waitForStarted());

    EXPECT_EQ(devlink::PortHolder(path), "sleep (process " + std::to_string(holder.processId()) + ")");
    holder.kill();
    holder.waitForFinished();
}

} // namespace
