#include "feedback/FrmBugReport.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/FormWidgets.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "feedback/PageFetcher.h"

namespace torrenta::gui {

namespace {

// The positions were laid out for an 8-point face of Arial's width; the wider
// default faces of many desktops would not fit the captions into them.
constexpr double kFontPoints = 8.0;
constexpr double kSmallestPoints = 6.0;
// The window keeps the controls' own margin of 120 twips right and below.
constexpr int kFormWidth = 6615;
constexpr int kFormHeight = 6015;

void Place(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(TwipsRect(control, left, top, width, height));
}

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

bool CaptionsFit(const QWidget* form, const QFont& face) {
    const QFontMetrics metrics(face);
    for (const QLabel* label : form->findChildren<QLabel*>()) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), label->height()),
                                                  Qt::TextWordWrap, label->text());
        if (needed.height() > label->height() || needed.width() > label->width()) {
            return false;
        }
    }
    return true;
}

// Picks a narrow face of the designed size, smaller only where the desktop
// has none and the captions would be cut off.
void FitFont(QWidget* form) {
    QFont face = form->font();
    face.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("Helvetica"), face.family()});
    face.setPointSizeF(kFontPoints);
    while (face.pointSizeF() > kSmallestPoints && !CaptionsFit(form, face)) {
        face.setPointSizeF(face.pointSizeF() - 0.5);
    }
    form->setFont(face);
}

}  // namespace

FrmBugReport::FrmBugReport(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmBugReport"));
    setWindowTitle(QStringLiteral("Comments"));
    setFixedSize(TwipsRect(this, 0, 0, kFormWidth, kFormHeight).size());

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

    FitFont(this);

    inet1_ = new PageFetcher(this);
    inet1_->setObjectName(QStringLiteral("Inet1"));

    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSubmit_, &QPushButton::clicked, this, &FrmBugReport::CmdSubmit_Click);
}

void FrmBugReport::reject() {
    if (inet1_->IsBusy()) {
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
    ShowMessage(this,
                body.contains(QStringLiteral("<br>"))
                    ? QStringLiteral("Thank you for your submission")
                    : QStringLiteral("Unsuccessful Attempt.\r\nPlease try again later"),
                QStringLiteral("Information"), QMessageBox::Information);
    close();
}

CommentFields FrmBugReport::Fields() const {
    return {txtOs_->text(), txtBugName_->text(), txtDesc_->toPlainText(),
            txtContact_->toPlainText(), txtComments_->toPlainText()};
}

}  // namespace torrenta::gui
