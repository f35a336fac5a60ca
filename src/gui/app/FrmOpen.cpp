#include "app/FrmOpen.h"

#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <QtMath>
#include <algorithm>

namespace torrenta::gui {

namespace {

// Keeps the start picture's proportions whatever the window's size. The
// picture is loaded after the window's first paint: drawing it costs as much as
// the rest of the start, and the window should not wait for it.
class PictureBox : public QSvgWidget {
  public:
    explicit PictureBox(const QString& resource, QWidget* parent)
        : QSvgWidget(parent), resource_(resource) {}

    // The picture's size and proportions are known before it is drawn.
    QSize sizeHint() const override { return {960, 600}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width * 600 / 960; }

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (!loaded_) {
            loaded_ = true;
            QTimer::singleShot(0, this, [this] { load(resource_); });
            return;
        }
        QSvgWidget::paintEvent(event);
    }

  private:
    QString resource_;
    bool loaded_ = false;
};

// A centred notice that wraps between words. A word-wrapped QLabel lays its
// text out afresh for every size question the window's layout asks, seven
// times per notice before the start window is first painted, three of them
// only to choose a compact shape the maximized window never uses. This one
// takes its one-line and longest-word widths from a single layout and lays
// out each width it is asked about once.
class NoticeLabel : public QLabel {
  public:
    NoticeLabel(const QString& name, const QString& text, QWidget* parent) : QLabel(text, parent) {
        setObjectName(name);
        setAlignment(Qt::AlignCenter);
        setWordWrap(true);
    }

    // One line as wide as the text.
    QSize sizeHint() const override { return WithMargins(Widths().natural); }

    // As narrow as the longest word, one line high.
    QSize minimumSizeHint() const override { return WithMargins(Widths().longestWord); }

    int heightForWidth(int width) const override {
        const auto known = heights_.constFind(width);
        if (known != heights_.constEnd()) {
            return *known;
        }
        // Measured as QLabel does, in a box 2000 pixels tall, so that the
        // centred text rounds to the same pixels.
        const QMargins margins = contentsMargins();
        const QRect box(0, 0, std::max(width - margins.left() - margins.right(), 0), 2000);
        const int flags = static_cast<int>(alignment()) | Qt::TextWordWrap;
        const int height = fontMetrics().boundingRect(box, flags, text()).height() + margins.top() +
                           margins.bottom();
        heights_.insert(width, height);
        return height;
    }

  protected:
    // The text is set once, by the constructor; what was measured holds
    // until the font changes.
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange) {
            widths_ = {};
            heights_.clear();
        }
        QLabel::changeEvent(event);
    }

  private:
    struct TextWidths {
        int natural = -1;  // on one line
        int longestWord = -1;
    };

    // Both widths from one layout of the text on a single line.
    TextWidths Widths() const {
        if (widths_.natural < 0) {
            QTextLayout layout(text(), font());
            QTextOption option(alignment());
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            layout.createLine().setLineWidth(QWIDGETSIZE_MAX);
            layout.endLayout();
            widths_ = {qCeil(layout.maximumWidth()), qCeil(layout.minimumWidth())};
        }
        return widths_;
    }

    QSize WithMargins(int width) const {
        const QMargins margins = contentsMargins();
        return {width + margins.left() + margins.right(),
                fontMetrics().height() + margins.top() + margins.bottom()};
    }

    mutable TextWidths widths_;
    mutable QHash<int, int> heights_;  // by width
};

}  // namespace

FrmOpen::FrmOpen(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrmOpen"));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);

    auto* picture = new PictureBox(QStringLiteral(":/images/start.svg"), this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setMaximumSize(960, 600);
    picture->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(
        new NoticeLabel(QStringLiteral("Label1"), QStringLiteral("Version 1.0"), this));
    layout->addWidget(
        new NoticeLabel(QStringLiteral("Label2"),
                        QStringLiteral("Quillmoor Foundry  \u00B7  www.quillmoor.example  \u00B7  "
                                       "support@quillmoor.example"),
                        this));
    layout->addWidget(new NoticeLabel(
        QStringLiteral("Label3"),
        QStringLiteral("Copyright \u00A9 2026 Quillmoor Foundry. All rights reserved. Results "
                       "are for review and sealing by a qualified engineer; the program is "
                       "provided without warranty of any kind."),
        this));
    layout->addStretch(1);
}

}  // namespace torrenta::gui
