#include "store/AppFolder.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace torrenta {

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

std::string ExecutableFolder(const char* argv0) {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec && argv0 != nullptr) {
        self = fs::absolute(argv0, ec);
    }
    return self.parent_path().string();
}

}  // namespace torrenta
