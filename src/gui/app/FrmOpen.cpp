#include "app/FrmOpen.h"

#include <QLabel>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTimer>
#include <QVBoxLayout>

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

QLabel* NoticeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

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
    layout->addWidget(NoticeLabel(QStringLiteral("Label1"), QStringLiteral("Version 1.0"), this));
    layout->addWidget(
        NoticeLabel(QStringLiteral("Label2"),
                    QStringLiteral("Quillmoor Foundry  \u00B7  www.quillmoor.example  \u00B7  "
                                   "support@quillmoor.example"),
                    this));
    layout->addWidget(NoticeLabel(
        QStringLiteral("Label3"),
        QStringLiteral("Copyright \u00A9 2026 Quillmoor Foundry. All rights reserved. Results "
                       "are for review and sealing by a qualified engineer; the program is "
                       "provided without warranty of any kind."),
        this));
    layout->addStretch(1);
}

}  // namespace torrenta::gui
