#include "link/SerialAccess.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace devlink {

namespace {

namespace fs = std::filesystem;

// The name of the user running the program, for a command they can copy.
std::string UserName() {
    if (const passwd* user = getpwuid(getuid()); user && user->pw_name) {
        return user->pw_name;
    }
    return "$USER";
}

// The program name of process `pid` as the system keeps it.
std::string ProcessName(const std::string& pid) {
    std::ifstream comm("/proc/" + pid + "/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? "a program" : name;
}

// The user's name and the command that adds them to `group`.
std::string JoinCommand(const std::string& group) { return "sudo usermod -aG " + group + " " + UserName(); }

bool GroupMayReadAndWrite(const std::string& devicePath) {
    struct stat info {};
    constexpr mode_t kGroupReadWrite = S_IRGRP | S_IWGRP;
    return stat(devicePath.c_str(), &info) == 0 && (info.st_mode & kGroupReadWrite) == kGroupReadWrite;
}

bool OpensFile(const fs::path& fdFolder, const fs::path& target) {
    std::error_code error;
    for (const fs::directory_entry& fd : fs::directory_iterator(fdFolder, error)) {
        std::error_code linkError;
        if (fs::read_symlink(fd.path(), linkError) == target) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string DeviceGroup(const std::string& devicePath) {
    struct stat info {};
    if (stat(devicePath.c_str(), &info) != 0) {
        return {};
    }
    const group* owner = getgrgid(info.st_gid);
    return owner && owner->gr_name ? owner->gr_name : std::string();
}

std::string PermissionAdvice(const std::string& devicePath) {
    const std::string group = DeviceGroup(devicePath);
    if (group.empty()) {
        return {};
    }
    return "Only members of the group \"" + group + "\" may use " + devicePath + ". Join it with\n    " +
           JoinCommand(group) + "\nthen log out and in again.";
}

std::string PortHolder(const std::string& devicePath) {
    std::error_code error;
    const fs::path target = fs::canonical(devicePath, error);
    if (error) {
        return {};
    }
    for (const fs::directory_entry& process : fs::directory_iterator("/proc", error)) {
        const std::string pid = process.path().filename().string();
        if (pid.find_first_not_of("0123456789") == std::string::npos &&
            OpensFile(process.path() / "fd", target)) {
            // Another device row of this very program may hold the port: say so plainly.
            const std::string name = pid == std::to_string(getpid()) ? "this program" : ProcessName(pid);
            return name + " (process " + pid + ")";
        }
    }
    return {};
}

std::string OpenRefusalAdvice(const std::string& devicePath) {
    if (access(devicePath.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        return PermissionAdvice(devicePath);
    }
    const std::string holder = PortHolder(devicePath);
    return holder.empty() ? std::string() : "It is in use by " + holder + ".";
}

std::string MissingPortAdvice() {
    return "There is no such port: the adapter may be unplugged, or the COM number leads to the wrong "
           "name.\n\"veltrix-cli ports\" lists the serial ports of this computer.";
}

PortAccess CheckPortAccess(const std::string& devicePath) {
    PortAccess result;
    result.present = !devicePath.empty() && access(devicePath.c_str(), F_OK) == 0;
    if (!result.present) {
        result.reason = "not there";
        result.fix = "plug the adapter in, or point the COM number at a port listed here";
        return result;
    }
    if (access(devicePath.c_str(), R_OK | W_OK) != 0) {
        const std::string group = DeviceGroup(devicePath);
        if (!group.empty() && GroupMayReadAndWrite(devicePath)) {
            result.reason = "only members of the group \"" + group + "\" may use it";
            result.fix = JoinCommand(group) + ", then log out and in again";
        } else {
            result.reason = "permission denied";
        }
        return result;
    }
    result.mayOpen = true;
    result.heldBy = PortHolder(devicePath);
    return result;
}

} // namespace devlink
