#include "store/AppFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace torrenta {

namespace {

constexpr const char* kDatabases[] = {"empty.mdb", "intensity.mdb"};

}  // namespace

bool SeedUserAppFolder(const std::string& sharedFolder, const std::string& userFolder) {
    const fs::path shared(sharedFolder);
    const fs::path user(userFolder);
    std::error_code ec;
    fs::create_directories(user, ec);
    if (ec || !IsWritableAppFolder(user.string())) {
        return false;
    }
    for (const char* name : kDatabases) {
        if (fs::exists(user / name, ec) || !fs::is_regular_file(shared / name, ec)) {
            continue;
        }
        // Through a temporary name, so a copy cut short never passes for a database.
        const fs::path partial = user / (std::string(name) + ".partial");
        fs::copy_file(shared / name, partial, fs::copy_options::overwrite_existing, ec);
        if (!ec) {
            fs::permissions(partial, fs::perms::owner_read | fs::perms::owner_write,
                            fs::perm_options::add, ec);
            fs::rename(partial, user / name, ec);
        }
        if (ec) {
            fs::remove(partial, ec);
            return false;
        }
    }
    return true;
}

std::string ResolveAppFolder(const std::string& installPath, const std::string& executableFolder) {
    if (!installPath.empty()) {
        return installPath;
    }
    std::error_code ec;
    const fs::path folder(executableFolder);
    if (fs::is_regular_file(folder / "empty.mdb", ec)) {
        return folder.string();
    }
    return (folder / ".." / "share" / "torrenta").lexically_normal().string();
}

std::string ChooseAppFolder(const std::string& installPath, const std::string& executableFolder,
                            const std::string& userFolder) {
    const std::string shared = ResolveAppFolder(installPath, executableFolder);
    std::error_code ec;
    // A missing shared folder is a broken installation: its messages should
    // name the place the files were expected.
    if (!installPath.empty() || userFolder.empty() || !fs::is_directory(shared, ec) ||
        IsWritableAppFolder(shared)) {
        return shared;
    }
    return SeedUserAppFolder(shared, userFolder) ? userFolder : shared;
}

std::string UserAppFolder() {
    fs::path base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0') {
        base = data;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = fs::path(home) / ".local" / "share";
    } else {
        return {};
    }
    return (base / "Quillmoor" / "Torrenta").string();
}

bool IsWritableAppFolder(const std::string& folder) {
    // SQLite writes its journal beside the database, so the folder itself must
    // take new files as well.
    // Asked for the effective user, the one the program writes as.
    const auto allowed = [](const std::string& path, int mode) {
        return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
    };
    if (!allowed(folder, W_OK | X_OK)) {
        return false;
    }
    const std::string intensity = (fs::path(folder) / "intensity.mdb").string();
    return !allowed(intensity, F_OK) || allowed(intensity, W_OK);
}

std::string ExecutableFolder(const char* argv0) {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec && argv0 != nullptr) {
        self = fs::absolute(argv0, ec);
    }
    return self.parent_path().string();
}

}  // namespace torrenta
