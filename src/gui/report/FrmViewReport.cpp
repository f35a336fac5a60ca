#include "report/FrmViewReport.h"

#include <QAction>
#include <QByteArray>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPalette>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>
#include <memory>
#include <string>

#include "Errors.h"
#include "common/FileLocations.h"
#include "common/Forms.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "common/SvgIcon.h"
#include "report/HtmlWriter.h"
#include "report/PlainTextWriter.h"
#include "report/ReportPdf.h"
#include "report/RichDocumentConversion.h"
#include "report/RichTextPrinter.h"
#include "report/RtfWriter.h"
#include "store/Connection.h"
#include "store/OutputFile.h"
#include "store/ReportTarget.h"

namespace torrenta::gui {

namespace {

const QString kStaleText = QStringLiteral(
    "The project has changed since this report was solved. Solve again to update it.");

constexpr int kToolbarIconSize = 16;

// One copy of the report text in every form a receiving program may ask for;
// the RTF is the same the Save As command writes, so pasting into a word
// processor keeps indents, tab stops and rule lines; the HTML's tables and
// the plain text's columns keep each value under its heading elsewhere.
QMimeData* ReportMimeData(const RichDocument& selection) {
    auto* data = new QMimeData;
    const std::string rtf = WriteRtf(selection);
    const QByteArray rtfBytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
    data->setData(QStringLiteral("text/rtf"), rtfBytes);
    data->setData(QStringLiteral("application/rtf"), rtfBytes);
    data->setHtml(ToQ(WriteHtml(selection)));
    std::string text = WritePlainText(selection);
    // A few words copied from inside a line paste as those words alone.
    if (!text.empty() && text.back() == '\n' && !selection.PlainText().ends_with('\n')) {
        text.pop_back();
    }
    data->setText(ToQ(text));
    return data;
}

// The report box. Every way of copying out of it (the pop-up menu, Copy to
// Clipboard, Ctrl+C, dragging) goes through the same clipboard forms.
class ReportBox : public QTextEdit {
  public:
    using QTextEdit::QTextEdit;

  protected:
    QMimeData* createMimeDataFromSelection() const override {
        const QTextCursor cursor = textCursor();
        return ReportMimeData(
            ToRichDocument(*document(), cursor.selectionStart(), cursor.selectionEnd()));
    }
};

}  // namespace

FrmViewReport::FrmViewReport(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("FrmViewReport"));
    setWindowTitle(QStringLiteral("Report"));
    if (parent != nullptr) {
        setWindowIcon(parent->window()->windowIcon());
    }

    rtbReport_ = new ReportBox(this);
    rtbReport_->setObjectName(QStringLiteral("RtbReport"));
    // The report reads as a printed page whatever the desktop's colours.
    QPalette paper = rtbReport_->palette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    rtbReport_->setPalette(paper);
    // As the central widget the box fills the window below the toolbar, less
    // the frame, at every size: what keeping it (window − 100) twips wide and
    // (window − 940) twips high amounted to, without depending on the title bar
    // and toolbar heights those numbers assumed. Sizes too small to hold it are
    // refused by the layout instead of being skipped.
    // Above the text, shown only once the project has changed since the solve.
    lblStale_ = new QLabel(kStaleText, this);
    lblStale_->setObjectName(QStringLiteral("LblStale"));
    lblStale_->setStyleSheet(
        QStringLiteral("QLabel { background: #fff3c4; color: black; padding: 4px; }"));
    lblStale_->hide();
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(lblStale_);
    layout->addWidget(rtbReport_);
    setCentralWidget(page);
    watcher_ = new QFileSystemWatcher(this);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { CheckStale(); });

    CreateToolbar();
    CreatePopupMenu();
    connect(rtbReport_->document(), &QTextDocument::modificationChanged, this,
            &FrmViewReport::ShowTitle);
    // Without a window manager to maximize it, the window still fills the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(screen->availableGeometry());
    }
    setWindowState(Qt::WindowMaximized);
}

FrmViewReport::~FrmViewReport() {
    // The preview draws on the printer until it goes.
    delete printPreview_.data();
}

void FrmViewReport::CreateToolbar() {
    toolbar1_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar1_->setMovable(false);
    toolbar1_->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    toolbar1_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    struct Button {
        const char* name;
        const char* text;
        const char* icon;
        void (FrmViewReport::*handler)();
    };
    const Button buttons[] = {
        {"TbSaveAs", "Save As...", ":/icons/save.svg", &FrmViewReport::SaveReportAs},
        {"TbSaveAsPdf", "Save as PDF...", ":/icons/pdf.svg", &FrmViewReport::TbSaveAsPdf_Click},
        {"TbPrintPreview", "Print Preview", ":/icons/print-preview.svg",
         &FrmViewReport::TbPrintPreview_Click},
        {"TbPrint", "Print", ":/icons/print.svg", &FrmViewReport::TbPrint_Click},
        {"TbCopyToClipboard", "Copy to Clipboard", ":/icons/copy.svg",
         &FrmViewReport::TbCopyToClipboard_Click},
        {"TbCloseReport", "Close Report", ":/icons/close-report.svg",
         &FrmViewReport::TbCloseReport_Click},
    };
    toolbar1_->addSeparator();
    for (const Button& button : buttons) {
        if (button.handler == &FrmViewReport::TbCloseReport_Click) {
            toolbar1_->addSeparator();
        }
        QAction* action = toolbar1_->addAction(SvgIcon(QString::fromLatin1(button.icon)),
                                               QString::fromLatin1(button.text));
        action->setObjectName(QString::fromLatin1(button.name));
        connect(action, &QAction::triggered, this, button.handler);
    }
}

void FrmViewReport::CreatePopupMenu() {
    // Never part of a menu bar: it only ever opens as the box's pop-up.
    mnuPopReportRClick_ = new QMenu(this);
    mnuPopReportRClick_->setObjectName(QStringLiteral("MnuPopReportRClick"));
    mnuPopSelectAll_ = mnuPopReportRClick_->addAction(QStringLiteral("Select All"));
    mnuPopSelectAll_->setObjectName(QStringLiteral("MnuPopSelectAll"));
    mnuPopCopy_ = mnuPopReportRClick_->addAction(QStringLiteral("Copy"));
    mnuPopCopy_->setObjectName(QStringLiteral("MnuPopCopy"));
    mnuPopCopy_->setEnabled(false);
    connect(mnuPopSelectAll_, &QAction::triggered, this, &FrmViewReport::MnuPopSelectAll_Click);
    connect(mnuPopCopy_, &QAction::triggered, this, &FrmViewReport::MnuPopCopy_Click);

    rtbReport_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(rtbReport_, &QWidget::customContextMenuRequested, this,
            &FrmViewReport::RtbReport_ContextMenu);
}

void FrmViewReport::ShowReport(const NetworkFlags& flags) {
    if (FrmViewReport* open = Forms::Find<FrmViewReport>();
        open != nullptr && !open->MayDropEdits()) {
        Forms::Show<FrmViewReport>(FormScope::Project);
        return;
    }
    const Session& session = CurrentSession();
    ComposedReport report = ComposeReport(
        ReportInputs{session.ProjectPath, session.AppFolder, session.IntensityTableName, flags});
    // Every printed or saved page says when its numbers were solved.
    if (report.document.footer) {
        report.document.footer->solved =
            "Solved " + FromQ(QLocale::c().toString(QDateTime::currentDateTime(),
                                                    QStringLiteral("M/d/yyyy h:mm AP")));
    }
    FrmViewReport* window = Forms::Show<FrmViewReport>(FormScope::Project);
    window->LoadReport(report.document);
    window->WatchForChanges();
}

void FrmViewReport::WatchForChanges() {
    const Session& session = CurrentSession();
    // The stamp is taken after the solve's own write of the results.
    solvedStamp_ = FilesStamp();
    stale_ = false;
    lblStale_->hide();
    if (const QStringList watched = watcher_->files(); !watched.isEmpty()) {
        watcher_->removePaths(watched);
    }
    watcher_->addPaths({ToQ(session.ProjectPath), ToQ(IntensityDatabasePath(session.AppFolder))});
    ShowTitle();
}

QString FrmViewReport::FilesStamp() {
    const Session& session = CurrentSession();
    QString stamp;
    for (const std::string& file :
         {session.ProjectPath, IntensityDatabasePath(session.AppFolder)}) {
        const QFileInfo info(ToQ(file));
        stamp += QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char('/') +
                 QString::number(info.size()) + QLatin1Char(';');
    }
    return stamp;
}

bool FrmViewReport::CheckStale() {
    if (!stale_ && !solvedStamp_.isEmpty() && FilesStamp() != solvedStamp_) {
        stale_ = true;
        lblStale_->show();
        ShowTitle();
    }
    return stale_;
}

bool FrmViewReport::MayUseStaleReport(const QString& action) {
    return !CheckStale() ||
           CurrentPrompts().Message(
               this, kStaleText + QStringLiteral("\n\n%1 this report all the same?").arg(action),
               windowTitle(), QMessageBox::Warning,
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void FrmViewReport::LoadReport(const RichDocument& document) {
    FillDocument(*rtbReport_->document(), document);
    rtbReport_->document()->setModified(false);
    ShowTitle();
    QTextCursor top(rtbReport_->document());
    top.movePosition(QTextCursor::Start);
    rtbReport_->setTextCursor(top);
    rtbReport_->ensureCursorVisible();
}

void FrmViewReport::ShowTitle() {
    const QString file = ProjectFileName();
    QString title =
        file.isEmpty() ? QStringLiteral("Report") : file + QStringLiteral(" \u2014 Report");
    if (rtbReport_->document()->isModified()) {
        title += QStringLiteral(" (edited)");
    }
    if (stale_) {
        title += QStringLiteral(" (project changed since solved)");
    }
    setWindowTitle(title);
}

bool FrmViewReport::MayDropEdits() {
    return !rtbReport_->document()->isModified() ||
           CurrentPrompts().Message(
               this, QStringLiteral("The report has edits that are not saved. Drop them?"),
               windowTitle(), QMessageBox::Question,
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void FrmViewReport::closeEvent(QCloseEvent* event) {
    if (MayDropEdits()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void FrmViewReport::SaveReportAs() {
    if (!MayUseStaleReport(QStringLiteral("Save"))) {
        return;
    }
    const QString fileName = CurrentPrompts().SaveFileName(
        this, QStringLiteral("Rich Text File (*.rtf)"), QStringLiteral("rtf"));
    if (fileName.isEmpty() || RefusedTarget(fileName, QStringLiteral("Save As"))) {
        return;
    }
    const std::string rtf = WriteRtf(ToRichDocument(*rtbReport_->document()));
    try {
        WriteOutputFile(QFile::encodeName(fileName).toStdString(), rtf);
        // Saved as RTF, the edits are kept: closing may drop the window's copy.
        rtbReport_->document()->setModified(false);
    } catch (const TorrentaError& e) {
        ShowSaveFailure(fileName, ToQ(e.what()));
    }
}

void FrmViewReport::TbSaveAsPdf_Click() {
    if (!MayUseStaleReport(QStringLiteral("Save"))) {
        return;
    }
    const QString fileName = CurrentPrompts().SaveFileName(this, QStringLiteral("PDF File (*.pdf)"),
                                                           QStringLiteral("pdf"));
    if (fileName.isEmpty() || RefusedTarget(fileName, QStringLiteral("Save as PDF"))) {
        return;
    }
    const QString failure = WriteReportPdf(*rtbReport_->document(), fileName);
    if (!failure.isEmpty()) {
        ShowSaveFailure(fileName, failure);
    }
}

bool FrmViewReport::RefusedTarget(const QString& fileName, const QString& title) {
    const Session& session = CurrentSession();
    const std::string refusal = ReportTargetRefusal(QFile::encodeName(fileName).toStdString(),
                                                    session.ProjectPath, session.AppFolder);
    if (refusal.empty()) {
        return false;
    }
    ShowMessage(this, ToQ(refusal), title, QMessageBox::Warning);
    return true;
}

void FrmViewReport::ShowSaveFailure(const QString& fileName, const QString& reason) {
    ShowMessage(this,
                QStringLiteral("The report could not be saved as %1.\n%2")
                    .arg(QDir::toNativeSeparators(fileName), reason),
                QStringLiteral("Error"), QMessageBox::Critical);
}

void FrmViewReport::TbPrintPreview_Click() {
    if (printPreview_ != nullptr) {
        printPreview_->raise();
        printPreview_->activateWindow();
        return;
    }
    // The pages of the printer Print would use; without one installed, the
    // Letter pages of Save as PDF.
    previewPrinter_ = CreatePrinter();
    if (previewPrinter_ == nullptr) {
        previewPrinter_ = PdfPrinter(QString());
    }
    auto* dialog = new QPrintPreviewDialog(previewPrinter_.get(), this);
    dialog->setObjectName(QStringLiteral("PrintPreview"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        PrintPages(*printer, QStringLiteral("The report could not be laid out for printing."),
                   QStringLiteral("Print Preview"));
    });
    printPreview_ = dialog;
    // Window-modal and not waited for: the report stays where it is, and the
    // dialog's own Print button prints these pages.
    dialog->open();
}

void FrmViewReport::TbPrint_Click() {
    if (!MayUseStaleReport(QStringLiteral("Print"))) {
        return;
    }
    const std::unique_ptr<QPrinter> printer = CreatePrinter();
    if (printer == nullptr) {
        ShowMessage(this, QStringLiteral("No printer is installed."), QStringLiteral("Print"),
                    QMessageBox::Information);
        return;
    }
    PrintPages(*printer, QStringLiteral("The report could not be printed."),
               QStringLiteral("Print"));
}

void FrmViewReport::PrintPages(QPrinter& printer, const QString& failure, const QString& title) {
    if (!PrintReportPages(*rtbReport_->document(), printer)) {
        ShowMessage(this, QStringLiteral("%1\n%2").arg(failure, PrintFailureReason(printer)), title,
                    QMessageBox::Critical);
    }
}

void FrmViewReport::TbCopyToClipboard_Click() {
    if (!MayUseStaleReport(QStringLiteral("Copy"))) {
        return;
    }
    // Cleared first, so an empty report leaves no older text to paste.
    QGuiApplication::clipboard()->clear();
    rtbReport_->selectAll();
    rtbReport_->copy();
    QTextCursor top(rtbReport_->document());
    top.movePosition(QTextCursor::Start);
    rtbReport_->setTextCursor(top);
}

void FrmViewReport::TbCloseReport_Click() {
    close();
}

void FrmViewReport::MnuPopSelectAll_Click() {
    rtbReport_->setFocus();
    rtbReport_->selectAll();
}

void FrmViewReport::MnuPopCopy_Click() {
    rtbReport_->setFocus();
    rtbReport_->copy();
}

void FrmViewReport::RtbReport_ContextMenu(const QPoint& position) {
    mnuPopCopy_->setEnabled(rtbReport_->textCursor().hasSelection());
    mnuPopReportRClick_->popup(rtbReport_->viewport()->mapToGlobal(position));
}

}  // namespace torrenta::gui
