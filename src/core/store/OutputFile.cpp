#include "store/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "Errors.h"

namespace torrenta {
namespace {

// The kernel's own limit on links followed in one lookup.
constexpr int kMaxLinkHops = 40;

[[noreturn]] void Fail(const std::string& path, const std::string& reason) {
    throw InputError("Cannot write \"" + path + "\": " + reason + ".");
}

[[noreturn]] void FailWith(const std::string& path, int error) {
    Fail(path, std::strerror(error));
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : file.substr(0, slash);
}

std::string NameOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

// The file a chain of symbolic links ends at: replacing the link itself would
// leave the file it leads to as it was and turn the link into a copy.
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::vector<char> target(static_cast<std::size_t>(PATH_MAX) + 1);
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size() - 1);
        if (length < 0) {
            FailWith(path, errno);
        }
        const std::string next(target.data(), static_cast<std::size_t>(length));
        current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
    }
    FailWith(path, ELOOP);
}

void WriteIntoOpenFile(const std::string& path, int fd, std::string_view bytes) {
    if (!WriteAll(fd, bytes)) {
        FailWith(path, errno);
    }
}

// FIFOs and devices have no folder entry to replace: a report sent to a
// terminal or a pipe is written as a stream.
void WriteIntoNode(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        FailWith(path, errno);
    }
    const bool written = WriteAll(fd, bytes);
    const int reason = errno;
    if (::close(fd) != 0 && written) {
        FailWith(path, errno);
    }
    if (!written) {
        FailWith(path, reason);
    }
}

// The program's own standard output redirected to a file: replacing that file
// would send the rest of the output into a file no folder lists any more.
int StandardStreamHolding(const struct stat& file) {
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat stream {};
        if (::fstat(fd, &stream) == 0 && stream.st_dev == file.st_dev &&
            stream.st_ino == file.st_ino) {
            return fd;
        }
    }
    return -1;
}

// A name of the form ".NAME.xxxxxx" beside the target: hidden, and never one
// that already exists, so no file of the user's is overwritten on the way.
int OpenTemporarySibling(const std::string& target, std::string& temporary) {
    std::random_device random;
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    const std::string stem = FolderOf(target) + "/." + NameOf(target) + ".";
    for (;;) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, "%06x", digits(random));
        temporary = stem + suffix;
        // 0666 less the umask: the mode a new file of the user's would get.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
}

void ReplaceFile(const std::string& path, const std::string& target, const struct stat* existing,
                 std::string_view bytes) {
    std::string temporary;
    const int fd = OpenTemporarySibling(target, temporary);
    if (fd < 0) {
        FailWith(path, errno);
    }
    if (existing != nullptr) {
        // Only root may give the file back to its owner; anyone else saving
        // over another's file becomes its owner, as with any editor. The mode
        // comes second: a change of owner clears the set-id bits.
        if (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, existing->st_uid, existing->st_gid);
        }
        ::fchmod(fd, existing->st_mode & 07777);
    }
    int reason = 0;
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
        reason = errno;
    }
    if (::close(fd) != 0 && reason == 0) {
        reason = errno;
    }
    if (reason == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        reason = errno;
    }
    if (reason != 0) {
        ::unlink(temporary.c_str());
        FailWith(path, reason);
    }
}

}  // namespace

void WriteOutputFile(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        FailWith(path, ENOENT);
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            FailWith(path, errno);
        }
        // No file yet, or a link whose file is yet to be made.
        ReplaceFile(path, FollowLinks(path), nullptr, bytes);
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        FailWith(path, EISDIR);
    }
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
        WriteIntoNode(path, bytes);
        return;
    }
    if (S_ISBLK(info.st_mode)) {
        Fail(path, "it is a disk device");
    }
    if (!S_ISREG(info.st_mode)) {
        Fail(path, "it is neither a file nor a device");
    }
    if (const int stream = StandardStreamHolding(info); stream >= 0) {
        WriteIntoOpenFile(path, stream, bytes);
        return;
    }
    // The rename would replace a write-protected file all the same; the
    // protection is the owner's word that it must not change.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        FailWith(path, errno);
    }
    ReplaceFile(path, FollowLinks(path), &info, bytes);
}

}  // namespace torrenta
