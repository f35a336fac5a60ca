#include "feedback/FrmBugReport.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>

#include "common/FormWidgets.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "feedback/PageFetcher.h"

namespace torrenta::gui {

namespace {

// The window keeps the controls' own margin of 120 twips right and below.
constexpr int kFormWidth = 6615;
constexpr int kFormHeight = 6015;

// The layout's steps when the dialog font needs more room than the twips
// were drawn for: the whole window grows, as dialog units do.
constexpr double kScaleStep = 0.05;
constexpr double kLargestScale = 3.0;

QLabel* WrappedLabel(QWidget* parent, const QString& name, const QString& caption) {
    QLabel* label = NamedLabel(parent, name, caption);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPlainTextEdit* MultiLineBox(QWidget* parent, const QString& name) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next box, as in the single-line ones.
    box->setTabChangesFocus(true);
    return box;
}

}  // namespace

FrmBugReport::FrmBugReport(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmBugReport"));
    setWindowTitle(QStringLiteral("Comments"));

    Place(
        WrappedLabel(this, QStringLiteral("Label7"),
                     QStringLiteral("Please submit your comments, ideas of improvements, and what "
                                    "you'd like to see in our next version. Simply, please tell "
                                    "us how we can help you do your work easier and better.")),
        120, 120, 6375, 495);
    Place(WrappedLabel(this, QStringLiteral("Label3"), QStringLiteral("How can we contact you?")),
          240, 600, 2055, 255);
    txtContact_ = MultiLineBox(this, QStringLiteral("txtContact"));
    Place(txtContact_, 240, 840, 6255, 765);
    Place(WrappedLabel(this, QStringLiteral("Label1"), QStringLiteral("Operating System")), 240,
          1680, 1335, 255);
    txtOs_ = NamedBox(this, QStringLiteral("TxtOs"));
    Place(txtOs_, 1920, 1680, 4575, 285);
    Place(WrappedLabel(this, QStringLiteral("Label2"), QStringLiteral("Nature of Comment")), 240,
          2160, 1575, 255);
    txtBugName_ = NamedBox(this, QStringLiteral("txtBugName"));
    Place(txtBugName_, 1920, 2160, 4575, 285);
    Place(WrappedLabel(this, QStringLiteral("Label4"), QStringLiteral("Description")), 240, 2640,
          1455, 255);
    txtDesc_ = MultiLineBox(this, QStringLiteral("txtDesc"));
    Place(txtDesc_, 1920, 2640, 4575, 975);
    Place(WrappedLabel(this, QStringLiteral("Label5"), QStringLiteral("Comments")), 240, 3720, 1455,
          255);
    txtComments_ = MultiLineBox(this, QStringLiteral("txtComments"));
    Place(txtComments_, 1920, 3720, 4575, 975);
    Place(WrappedLabel(this, QStringLiteral("Label6"),
                       QStringLiteral("Thank you for your submission. All fields are optional. We "
                                      "do not collect any information that is not provided by "
                                      "this form.")),
          1920, 4920, 4575, 495);
    QPushButton* cmdCancel =
        NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));
    Place(cmdCancel, 1920, 5520, 1215, 375);
    cmdSubmit_ = NamedButton(this, QStringLiteral("CmdSubmit"), QStringLiteral("Submit"));
    Place(cmdSubmit_, 5280, 5520, 1215, 375);

    FitLayout();

    inet1_ = new PageFetcher(this);
    inet1_->setObjectName(QStringLiteral("Inet1"));

    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSubmit_, &QPushButton::clicked, this, &FrmBugReport::CmdSubmit_Click);
}

void FrmBugReport::Place(QWidget* control, int left, int top, int width, int height) {
    placed_.push_back({control, QRect(left, top, width, height)});
}

bool FrmBugReport::CaptionsFit() const {
    for (const Placed& placed : placed_) {
        const auto* label = qobject_cast<const QLabel*>(placed.control);
        if (label != nullptr && label->heightForWidth(label->width()) > label->height()) {
            return false;
        }
    }
    return true;
}

// The window keeps the dialog font of every other window; the twips layout
// grows until each caption shows whole.
void FrmBugReport::FitLayout() {
    for (scale_ = 1.0; scale_ < kLargestScale; scale_ += kScaleStep) {
        ApplyLayout();
        if (CaptionsFit()) {
            return;
        }
    }
    ApplyLayout();
}

void FrmBugReport::ApplyLayout() {
    const auto scaled = [this](int twips) { return static_cast<int>(std::lround(twips * scale_)); };
    for (const Placed& placed : placed_) {
        const QRect& twips = placed.twips;
        placed.control->setGeometry(TwipsRect(placed.control, scaled(twips.x()), scaled(twips.y()),
                                              scaled(twips.width()), scaled(twips.height())));
    }
    setFixedSize(TwipsRect(this, 0, 0, scaled(kFormWidth), scaled(kFormHeight)).size());
}

void FrmBugReport::reject() {
    if (inet1_->IsBusy()) {
        closeAsked_ = true;
        inet1_->Abandon();
        return;
    }
    QDialog::reject();
}

void FrmBugReport::CmdSubmit_Click() {
    const QUrl url = CommentRequestUrl(CommentServer(), Fields());
    cmdSubmit_->setEnabled(false);
    setCursor(Qt::WaitCursor);
    const QString body = inet1_->GetPage(url, this);
    unsetCursor();
    cmdSubmit_->setEnabled(true);
    const bool sent = body.contains(QStringLiteral("<br>"));
    ShowMessage(this,
                sent ? QStringLiteral("Thank you for your submission")
                     : QStringLiteral("Unsuccessful Attempt.\r\nPlease try again later"),
                QStringLiteral("Information"), QMessageBox::Information);
    // A comment that did not go stays in the window, so trying again later
    // is one click, not the comment typed again.
    if (sent || closeAsked_) {
        close();
    }
    closeAsked_ = false;
}

CommentFields FrmBugReport::Fields() const {
    return {txtOs_->text(), txtBugName_->text(), txtDesc_->toPlainText(),
            txtContact_->toPlainText(), txtComments_->toPlainText()};
}

}  // namespace torrenta::gui
