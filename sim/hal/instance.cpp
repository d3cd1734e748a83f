#include "sim/hal/instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

namespace {

std::mutex lock;
std::string directory;
std::map<std::string, int> held; // name -> open descriptor holding the lock

std::string lockDirectory()
{
    if (!directory.empty()) return directory;
    if (const char* runtime = getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return std::string(runtime) + "/panelsim";
    return "/tmp/panelsim-" + std::to_string(getuid());
}

} // namespace

void SIM_SetLockDirectory(const char* dir)
{
    std::lock_guard guard(lock);
    directory = dir ? dir : "";
}

bool SIM_AcquireInstanceLock(const char* name)
{
    std::lock_guard guard(lock);
    const std::string dir = lockDirectory();
    mkdir(dir.c_str(), 0700);
    const std::string path = dir + "/" + name + ".lock";
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true; // no place for a lock: do not stop the panel for that
    // A lock is per open file: a second open in this process conflicts like another process.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    held[name] = fd;
    return true;
}

void SIM_ReleaseInstanceLock(const char* name)
{
    std::lock_guard guard(lock);
    if (auto it = held.find(name); it != held.end()) {
        close(it->second); // closing the descriptor releases the lock
        held.erase(it);
    }
}
