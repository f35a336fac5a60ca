#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "report/ReportComposer.h"
#include "report/RichText.h"

class QAction;
class QCloseEvent;
class QFileSystemWatcher;
class QLabel;
class QMenu;
class QPrintPreviewDialog;
class QPrinter;
class QTextEdit;
class QToolBar;

namespace torrenta::gui {

// The report window: the composed report in an editable rich-text box, with
// commands to save it as RTF, print it, copy it and close the window. Whatever
// the user typed into the box is part of what is saved, printed and copied;
// nothing goes back to the project.
class FrmViewReport : public QMainWindow {
    Q_OBJECT
  public:
    explicit FrmViewReport(QWidget* parent);
    ~FrmViewReport() override;

    // Solve's last step: composes the report of the bound project afresh and
    // shows it, in the open report window (brought to the front, what was
    // typed into it replaced once the user agrees; else left as it is) or in
    // a new one. A composition failure
    // propagates (the caller's command boundary shows it) and leaves any open
    // window as it was.
    static void ShowReport(const NetworkFlags& flags);

    // Shows `document` with the insertion point at the top, unedited.
    void LoadReport(const RichDocument& document);

  protected:
    // Edits typed into the report go only with the user's word.
    void closeEvent(QCloseEvent* event) override;

  private:
    // True when nothing was typed since the report was shown or saved, or
    // the user agrees to drop it.
    bool MayDropEdits();
    void ShowTitle();
    // What the project file and the rainfall database are now (time written
    // and size): the report matches the project while this stays as it was
    // when it was solved.
    static QString FilesStamp();
    // Marks the report out of date, in the title and above the text, once
    // the project changed after the solve; true when it is.
    bool CheckStale();
    // Before saving, printing or copying an out-of-date report: asks, and
    // true to go on (always, for a report that matches its project).
    bool MayUseStaleReport(const QString& action);
    // After a solve: the report matches the project; watches its files.
    void WatchForChanges();

    void CreateToolbar();
    void CreatePopupMenu();

    void SaveReportAs();
    void TbSaveAsPdf_Click();
    // Shows why a report may not go to `fileName` (the open project, a
    // database); true when refused.
    bool RefusedTarget(const QString& fileName, const QString& title);
    void ShowSaveFailure(const QString& fileName, const QString& reason);
    void TbPrintPreview_Click();
    void TbPrint_Click();
    // Lays the report out on `printer`; a refusal is told under `title`,
    // `failure` followed by the printer's reason.
    void PrintPages(QPrinter& printer, const QString& failure, const QString& title);
    void TbCopyToClipboard_Click();
    void TbCloseReport_Click();
    void MnuPopSelectAll_Click();
    void MnuPopCopy_Click();
    void RtbReport_ContextMenu(const QPoint& position);

    QToolBar* toolbar1_ = nullptr;
    QTextEdit* rtbReport_ = nullptr;
    QLabel* lblStale_ = nullptr;
    QFileSystemWatcher* watcher_ = nullptr;
    QString solvedStamp_;
    bool stale_ = false;
    QMenu* mnuPopReportRClick_ = nullptr;
    QAction* mnuPopSelectAll_ = nullptr;
    QAction* mnuPopCopy_ = nullptr;
    // The preview's printer lives as long as the window: the dialog draws on
    // it whenever the user changes a setting in it.
    std::unique_ptr<QPrinter> previewPrinter_;
    QPointer<QPrintPreviewDialog> printPreview_;
};

}  // namespace torrenta::gui
