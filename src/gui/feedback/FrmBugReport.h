#pragma once

#include <QDialog>
#include <QRect>
#include <vector>

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

    // How much the twips layout grew to fit the dialog font (1 when not at all).
    double LayoutScale() const { return scale_; }

  private:
    struct Placed {
        QWidget* control;
        QRect twips;
    };
    void Place(QWidget* control, int left, int top, int width, int height);
    bool CaptionsFit() const;
    void FitLayout();
    void ApplyLayout();
    void CmdSubmit_Click();
    CommentFields Fields() const;

    QPlainTextEdit* txtContact_;
    QLineEdit* txtOs_;
    QLineEdit* txtBugName_;
    QPlainTextEdit* txtDesc_;
    QPlainTextEdit* txtComments_;
    QPushButton* cmdSubmit_;
    PageFetcher* inet1_;
    bool closeAsked_ = false;
    std::vector<Placed> placed_;
    double scale_ = 1.0;  // closed while sending: goes once the request ends
};

}  // namespace torrenta::gui
