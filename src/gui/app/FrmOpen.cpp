#include "app/FrmOpen.h"

#include <QLabel>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace torrenta::gui {

namespace {

// Keeps the start picture's proportions whatever the window's size.
class PictureBox : public QSvgWidget {
  public:
    using QSvgWidget::QSvgWidget;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        const QSize size = renderer()->defaultSize();
        return size.isEmpty() ? width : width * size.height() / size.width();
    }
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

    // The picture is drawn once the window is up: painting it costs as much as
    // the rest of the start, and the window should not wait for it.
    auto* picture = new PictureBox(this);
    QTimer::singleShot(0, picture,
                       [picture] { picture->load(QStringLiteral(":/images/start.svg")); });
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
