#include "rainfall/InputFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "Errors.h"

namespace torrenta {
namespace {

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw InputError("Cannot read " + path + ": " + why + ".");
}

std::string SystemReason(int error) {
    std::string reason = std::generic_category().message(error);
    if (!reason.empty() && reason.front() >= 'A' && reason.front() <= 'Z') {
        reason.front() = static_cast<char>(reason.front() - 'A' + 'a');
    }
    return reason;
}

}  // namespace

std::string ReadInputFile(const std::string& path, std::size_t maxBytes,
                          std::string_view tooLarge) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    switch (status.type()) {
        case fs::file_type::regular:
            break;
        case fs::file_type::not_found:
            Refuse(path, "no such file");
        case fs::file_type::directory:
            Refuse(path, "it is a folder, not a file");
        case fs::file_type::fifo:
            Refuse(path, "it is a named pipe (FIFO), not a file");
        case fs::file_type::block:
        case fs::file_type::character:
            Refuse(path, "it is a device, not a file");
        case fs::file_type::socket:
            Refuse(path, "it is a socket, not a file");
        default:
            Refuse(path, ec ? SystemReason(ec.value()) : std::string("it is not a file"));
    }
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        Refuse(path, SystemReason(errno != 0 ? errno : EIO));
    }
    // Read one byte past the limit rather than trust the size the folder
    // reports: a file may grow, and some report no size at all.
    std::string bytes;
    char buffer[16384];
    while (bytes.size() <= maxBytes) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        if (got < sizeof buffer) {
            break;
        }
    }
    if (std::ferror(file.get())) {
        Refuse(path, SystemReason(errno != 0 ? errno : EIO));
    }
    if (bytes.size() > maxBytes) {
        throw InputError(fs::path(path).filename().string() + " is larger than " +
                         (maxBytes % (1024 * 1024) == 0
                              ? std::to_string(maxBytes / (1024 * 1024)) + " MB"
                              : std::to_string(maxBytes / 1024) + " KB") +
                         "; " + std::string(tooLarge) + ".");
    }
    return bytes;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = text.find_first_of("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

}  // namespace torrenta
