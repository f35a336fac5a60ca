#include "feedback/FrmAbout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <QVBoxLayout>

#include "common/FormWidgets.h"

namespace torrenta::gui {

namespace {

constexpr int kEmblemSize = 128;

QLabel* AboutLabel(QWidget* parent, const QString& name, const QString& caption) {
    QLabel* label = NamedLabel(parent, name, caption);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("About"));

    auto* image1 = new QSvgWidget(QStringLiteral(":/images/about.svg"), this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setFixedSize(kEmblemSize, kEmblemSize);

    QLabel* version = AboutLabel(this, QStringLiteral("Label1"), QStringLiteral("Version 1.0"));
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);

    auto* text = new QVBoxLayout;
    text->addWidget(version);
    text->addWidget(AboutLabel(this, QStringLiteral("Label2"),
                               QStringLiteral("A calculation program for storm-water peak flows by "
                                              "the rational method.")));
    text->addWidget(AboutLabel(this, QStringLiteral("Label3"),
                               QStringLiteral("Copyright \u00A9 2026 Quillmoor Foundry. All rights "
                                              "reserved.")));
    text->addWidget(
        AboutLabel(this, QStringLiteral("Label4"),
                   QStringLiteral("www.quillmoor.example   support@quillmoor.example")));
    text->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addWidget(image1, 0, Qt::AlignTop);
    body->addSpacing(12);
    body->addLayout(text, 1);

    auto* command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(command1, &QPushButton::clicked, this, &FrmAbout::Command1_Click);
}

void FrmAbout::Command1_Click() {
    close();
}

}  // namespace torrenta::gui
