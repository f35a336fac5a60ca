#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <QTextDocument>
#include <QtGlobal>
#include <algorithm>
#include <clocale>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include "PdfPluginApi.h"
#include "report/ReportPdf.h"
#include "report/RichDocumentConversion.h"

namespace {

int Fail(const std::string& why, char* reason, std::size_t reasonSize) {
    if (reason != nullptr && reasonSize > 0) {
        const std::size_t length = std::min(why.size(), reasonSize - 1);
        std::memcpy(reason, why.data(), length);
        reason[length] = '\0';
    }
    return 1;
}

// Fonts and text layout need a GUI application. The command line has none and
// may run where no display exists (a server, a CI job, an SSH session), so the
// plugin makes one on the offscreen platform for the length of the call; the
// command-line argument wins over QT_QPA_PLATFORM in the environment.
std::unique_ptr<QGuiApplication> OffscreenApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return nullptr;
    }
    static char program[] = "torrenta-cli";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {program, platformOption, platform, nullptr};
    static int argc = 3;
    return std::make_unique<QGuiApplication>(argc, argv);
}

// Qt's own notices (a missing runtime folder, font substitutions) are no
// business of the command line's stderr: the call's result says whether the
// file was written.
void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" __attribute__((visibility("default"))) int TorrentaRenderReportPdf(
    int version, const torrenta::RichDocument* document, std::string* pdf, char* reason,
    std::size_t reasonSize) {
    if (version != torrenta::kPdfPluginVersion) {
        return Fail("The PDF plugin belongs to another version of torrenta-cli.", reason,
                    reasonSize);
    }
    const QtMessageHandler previous = qInstallMessageHandler(Quiet);
    struct Restore {
        QtMessageHandler handler;
        ~Restore() { qInstallMessageHandler(handler); }
    } restore{previous};
    // Qt's application takes the locale of the environment for the whole
    // process; the caller's own locale comes back when the call ends.
    struct RestoreLocale {
        std::string saved = std::setlocale(LC_ALL, nullptr);
        ~RestoreLocale() { std::setlocale(LC_ALL, saved.c_str()); }
    } restoreLocale;
    try {
        const std::unique_ptr<QGuiApplication> application = OffscreenApplication();
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
            return Fail("PDF output needs a graphical application object.", reason, reasonSize);
        }
        QTextDocument laidOut;
        torrenta::gui::FillDocument(laidOut, *document);
        const QString failure = torrenta::gui::RenderReportPdf(laidOut, *pdf);
        if (!failure.isEmpty()) {
            return Fail(failure.toStdString(), reason, reasonSize);
        }
        return 0;
    } catch (const std::exception& e) {
        return Fail(e.what(), reason, reasonSize);
    }
}
