#pragma once

#include <QDialog>

#include "feedback/CommentRequest.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace torrenta::gui {

class PageFetcher;

// Comments: five optional boxes sent to the maker's page in one request.
class FrmBugReport : public QDialog {
    Q_OBJECT
  public:
    explicit FrmBugReport(QWidget* parent);

    // Escape and closing the window end up here; while the request runs they
    // abandon it instead, and the submission finishes as unsuccessful.
    void reject() override;

  private:
    void CmdSubmit_Click();
    CommentFields Fields() const;

    QPlainTextEdit* txtContact_;
    QLineEdit* txtOs_;
    QLineEdit* txtBugName_;
    QPlainTextEdit* txtDesc_;
    QPlainTextEdit* txtComments_;
    QPushButton* cmdSubmit_;
    PageFetcher* inet1_;
};

}  // namespace torrenta::gui
