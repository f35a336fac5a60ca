#include "PdfExport.h"

#include <dlfcn.h>

#include <array>
#include <filesystem>
#include <vector>

#include "Errors.h"
#include "PdfPluginApi.h"
#include "store/OutputFile.h"

namespace torrenta {
namespace {

// Beside the program in a build tree; in the library folder once installed.
std::vector<std::filesystem::path> PluginCandidates(const std::string& executableFolder) {
    const std::filesystem::path folder(executableFolder.empty() ? "." : executableFolder);
    return {folder / kPdfPluginFile, folder / TORRENTA_PDF_PLUGIN_RELDIR / kPdfPluginFile};
}

RenderReportPdfFunction LoadPlugin(const std::string& executableFolder) {
    std::string reasons;
    for (const std::filesystem::path& candidate : PluginCandidates(executableFolder)) {
        std::error_code ignored;
        if (!std::filesystem::exists(candidate, ignored)) {
            continue;
        }
        // Never closed: Qt does not support being unloaded from a process.
        void* plugin = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (plugin == nullptr) {
            const char* why = dlerror();
            reasons += std::string(" ") + (why != nullptr ? why : candidate.string()) + ".";
            continue;
        }
        if (void* entry = dlsym(plugin, kPdfPluginEntry)) {
            return reinterpret_cast<RenderReportPdfFunction>(entry);
        }
        reasons += " " + candidate.string() + " is not the PDF plugin.";
    }
    if (reasons.empty()) {
        reasons = std::string(" ") + kPdfPluginFile + " is not installed beside torrenta-cli.";
    }
    throw TorrentaError("PDF output is not available:" + reasons);
}

}  // namespace

void WriteReportPdf(const RichDocument& document, const std::string& path,
                    const std::string& executableFolder) {
    const RenderReportPdfFunction render = LoadPlugin(executableFolder);
    std::string pdf;
    std::array<char, 1024> reason{};
    if (render(kPdfPluginVersion, &document, &pdf, reason.data(), reason.size()) != 0) {
        throw InputError("Cannot write \"" + path + "\": " + std::string(reason.data()));
    }
    WriteOutputFile(path, pdf);
}

}  // namespace torrenta
