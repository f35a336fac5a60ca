#include "app/FrmOpen.h"

#include <QHash>
#include <QLabel>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTimer>
#include <QVBoxLayout>
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
// only to choose a compact shape the maximized window never uses; this one
// lays out each width once.
class NoticeLabel : public QLabel {
    static constexpr int kUnwrapped = 2000;  // wide enough for any notice on one line

  public:
    NoticeLabel(const QString& name, const QString& text, QWidget* parent) : QLabel(text, parent) {
        setObjectName(name);
        setAlignment(Qt::AlignCenter);
        setWordWrap(true);
    }

    // One line as wide as the text.
    QSize sizeHint() const override {
        return Measured(hint_, [this] { return QSize(TextSize(kUnwrapped).width(), 0); });
    }

    // As narrow as the longest word, one line high.
    QSize minimumSizeHint() const override {
        return Measured(minimum_, [this] { return QSize(TextSize(0).width(), 0); });
    }

    int heightForWidth(int width) const override {
        Forget();
        const auto known = heights_.constFind(width);
        if (known != heights_.constEnd()) {
            return *known;
        }
        const QMargins margins = contentsMargins();
        const int height = TextSize(width - margins.left() - margins.right()).height() +
                           margins.top() + margins.bottom();
        heights_.insert(width, height);
        return height;
    }

  private:
    // The text's box when wrapped to `width`, measured in a box as tall as
    // QLabel's own so that the centred text rounds to the same pixels.
    QSize TextSize(int width) const {
        constexpr int kMeasuringHeight = 2000;
        return fontMetrics()
            .boundingRect(QRect(0, 0, std::max(width, 0), kMeasuringHeight),
                          static_cast<int>(alignment()) | Qt::TextWordWrap, text())
            .size();
    }

    // A hint's width from `measure`, one line high, plus the margins.
    template <typename Measure>
    QSize Measured(QSize& cached, Measure measure) const {
        Forget();
        if (!cached.isValid()) {
            const QMargins margins = contentsMargins();
            cached = QSize(measure().width() + margins.left() + margins.right(),
                           fontMetrics().height() + margins.top() + margins.bottom());
        }
        return cached;
    }

    // What was measured holds for one text in one font.
    void Forget() const {
        if (measuredText_ != text() || measuredFont_ != font()) {
            measuredText_ = text();
            measuredFont_ = font();
            hint_ = minimum_ = QSize();
            heights_.clear();
        }
    }

    mutable QString measuredText_;
    mutable QFont measuredFont_;
    mutable QSize hint_;
    mutable QSize minimum_;
    mutable QHash<int, int> heights_;
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
