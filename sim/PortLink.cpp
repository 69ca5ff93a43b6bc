#include "PortLink.h"

#include "PortDiscovery.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int HighestPort = 255;

bool MakeFolder(std::string &error)
{
    // Private to the user: a link here decides which device the tool opens.
    const std::filesystem::path folder = PortFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder.parent_path().parent_path(), ignored);
    mkdir(folder.parent_path().c_str(), 0700);
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = folder.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool IsDangling(const std::string &linkPath)
{
    struct stat info{};
    return lstat(linkPath.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && stat(linkPath.c_str(), &info) != 0;
}

std::string ReadLink(const std::string &linkPath)
{
    char buffer[512];
    const ssize_t n = readlink(linkPath.c_str(), buffer, sizeof buffer - 1);
    return n < 0 ? std::string() : std::string(buffer, static_cast<size_t>(n));
}

} // namespace

std::string PortLinkPath(int portNumber)
{
    return PortFolder() + "/com" + std::to_string(portNumber);
}

bool RetargetLink(const std::string &linkPath, const std::string &target)
{
    const std::string temporary = linkPath + ".new" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(target.c_str(), temporary.c_str()) != 0)
        return false;
    if (rename(temporary.c_str(), linkPath.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

int LinkPort(const std::string &target, int portNumber, std::string &error)
{
    if (!MakeFolder(error))
        return 0;
    if (portNumber > 0) {
        const std::string path = PortLinkPath(portNumber);
        if (symlink(target.c_str(), path.c_str()) == 0)
            return portNumber;
        const int failure = errno;
        if (failure == EEXIST && IsDangling(path) && RetargetLink(path, target))
            return portNumber;
        error = failure == EEXIST ? "COM" + std::to_string(portNumber) + " is taken: " + path + " exists"
                                  : path + ": " + std::strerror(failure);
        return 0;
    }
    // symlink() fails on an existing name, so two simulators never share one.
    for (int n = 1; n <= HighestPort; ++n) {
        if (symlink(target.c_str(), PortLinkPath(n).c_str()) == 0)
            return n;
        if (errno != EEXIST) {
            error = PortLinkPath(n) + ": " + std::strerror(errno);
            return 0;
        }
    }
    error = "no free COM number up to " + std::to_string(HighestPort) + " in " + PortFolder();
    return 0;
}

void RemoveLinkTo(const std::string &linkPath, const std::string &target)
{
    if (ReadLink(linkPath) == target)
        unlink(linkPath.c_str());
}
