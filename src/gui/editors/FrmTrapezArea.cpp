#include "editors/FrmTrapezArea.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Forms.h"
#include "common/QtText.h"
#include "editors/ChannelFlowDialog.h"
#include "editors/NumericValidator.h"
#include "hydraulics/TrapezoidSection.h"
#include "text/NumberText.h"

namespace torrenta::gui {
namespace {

// The cross-section the three boxes describe: a trapezoidal cut in the ground
// holding water to depth Y over a bottom of width B, its sides rising 1 for
// every Z across.
class SectionPicture : public QWidget {
  public:
    explicit SectionPicture(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("Image1"));
        setFixedSize(kWidth, kHeight);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(QColor(0x9a, 0x9a, 0x9a));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));

        // Ground surface, the two sides and the bottom.
        const double top = 34;
        const double bottom = 116;
        const double run = 1.25 * (bottom - top);
        const QPointF topLeft(36, top);
        const QPointF bottomLeft(topLeft.x() + run, bottom);
        const QPointF bottomRight(bottomLeft.x() + 104, bottom);
        const QPointF topRight(bottomRight.x() + run, top);

        QPainterPath ground;
        ground.moveTo(1, top);
        ground.lineTo(topLeft);
        ground.lineTo(bottomLeft);
        ground.lineTo(bottomRight);
        ground.lineTo(topRight);
        ground.lineTo(kWidth - 1, top);
        ground.lineTo(kWidth - 1, kHeight - 1);
        ground.lineTo(1, kHeight - 1);
        ground.closeSubpath();
        painter.fillPath(ground, QColor(0xec, 0xe2, 0xcc));

        // Water up to depth Y, a little below the ground surface.
        const double surface = top + 14;
        const double inset = (surface - top) * run / (bottom - top);
        const QPointF waterLeft(topLeft.x() + inset, surface);
        const QPointF waterRight(topRight.x() - inset, surface);
        QPainterPath water;
        water.moveTo(waterLeft);
        water.lineTo(bottomLeft);
        water.lineTo(bottomRight);
        water.lineTo(waterRight);
        water.closeSubpath();
        painter.fillPath(water, QColor(0xc6, 0xe0, 0xf5));
        painter.setPen(QPen(QColor(0x2f, 0x6f, 0xb0), 1.2));
        painter.drawLine(waterLeft, waterRight);
        const double markX = (waterLeft.x() + waterRight.x()) / 2 + 30;
        const QPointF mark[] = {
            {markX - 5, surface - 8}, {markX + 5, surface - 8}, {markX, surface}};
        painter.drawPolygon(mark, 3);

        painter.setPen(QPen(QColor(0x40, 0x30, 0x20), 2));
        painter.drawLine(QPointF(1, top), topLeft);
        painter.drawPolyline(QPolygonF({topLeft, bottomLeft, bottomRight, topRight}));
        painter.drawLine(topRight, QPointF(kWidth - 1, top));

        const QPen dimension(QColor(0x20, 0x20, 0x20), 1);
        painter.setPen(dimension);
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);

        // B along the bottom.
        const double bLine = bottom + 18;
        DrawLeader(painter, bottomLeft, QPointF(bottomLeft.x(), bLine + 5));
        DrawLeader(painter, bottomRight, QPointF(bottomRight.x(), bLine + 5));
        DrawArrow(painter, QPointF(bottomLeft.x(), bLine), QPointF(bottomRight.x(), bLine));
        DrawLabel(painter, QPointF((bottomLeft.x() + bottomRight.x()) / 2, bLine + 14),
                  QStringLiteral("B"));

        // Y beside the right side, from the water surface down to the bottom.
        const double yLine = topRight.x() + 22;
        DrawLeader(painter, waterRight, QPointF(yLine + 5, surface));
        DrawLeader(painter, bottomRight, QPointF(yLine + 5, bottom));
        DrawArrow(painter, QPointF(yLine, surface), QPointF(yLine, bottom));
        DrawLabel(painter, QPointF(yLine + 14, (surface + bottom) / 2), QStringLiteral("Y"));

        // Z : 1 on the left side, drawn in the ground under the slope.
        const double rise = 26;
        const QPointF foot(bottomLeft.x() - 12 * run / (bottom - top), bottom - 12);
        const QPointF corner(foot.x() - rise * run / (bottom - top), foot.y());
        const QPointF head(corner.x(), foot.y() - rise);
        painter.drawLine(foot, corner);
        painter.drawLine(corner, head);
        DrawLabel(painter, QPointF((foot.x() + corner.x()) / 2, foot.y() + 12),
                  QStringLiteral("Z"));
        DrawLabel(painter, QPointF(corner.x() - 10, (corner.y() + head.y()) / 2),
                  QStringLiteral("1"));
    }

  private:
    static constexpr int kWidth = 420;
    static constexpr int kHeight = 170;

    static void DrawLeader(QPainter& painter, QPointF from, QPointF to) {
        painter.save();
        painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 1, Qt::DashLine));
        painter.drawLine(from, to);
        painter.restore();
    }

    // A dimension line with an arrowhead at both ends.
    static void DrawArrow(QPainter& painter, QPointF from, QPointF to) {
        painter.drawLine(from, to);
        for (const auto& [tip, toward] : {std::pair{from, to}, std::pair{to, from}}) {
            QLineF back(tip, toward);
            back.setLength(7);
            QLineF side = back.normalVector();
            side.setLength(3);
            const QPointF base = back.p2();
            const QPointF offset = side.p2() - side.p1();
            const QPointF head[] = {tip, base + offset, base - offset};
            painter.save();
            painter.setBrush(painter.pen().color());
            painter.drawPolygon(head, 3);
            painter.restore();
        }
    }

    static void DrawLabel(QPainter& painter, QPointF centre, const QString& text) {
        const QRectF box(centre.x() - 12, centre.y() - 9, 24, 18);
        painter.drawText(box, Qt::AlignCenter, text);
    }
};

}  // namespace

FrmTrapezArea::FrmTrapezArea(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmTrapezArea"));
    setWindowTitle(QStringLiteral("Trapezoidal Channel Section"));

    auto* picture = new SectionPicture(this);
    QLabel* areaFormula =
        NamedLabel(this, QStringLiteral("Label1"), QString::fromLatin1(kTrapezoidAreaFormula));
    QLabel* perimeterFormula =
        NamedLabel(this, QStringLiteral("Label2"), QString::fromLatin1(kTrapezoidPerimeterFormula));
    txtB_ = NamedBox(this, QStringLiteral("TxtB"));
    txtY_ = NamedBox(this, QStringLiteral("TxtY"));
    txtZ_ = NamedBox(this, QStringLiteral("TxtZ"));
    txtArea_ = NamedBox(this, QStringLiteral("TxtArea"));
    txtWp_ = NamedBox(this, QStringLiteral("TxtWp"));
    QPushButton* calculate =
        NamedButton(this, QStringLiteral("CmdCalculate"), QStringLiteral("Calculate"));
    QPushButton* add = NamedButton(this, QStringLiteral("CmdAdd"), QStringLiteral("Add"));
    QPushButton* cancel = NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));
    for (QLineEdit* box : {txtB_, txtY_, txtZ_}) {
        MakeNumericBox(box);
    }
    for (QLineEdit* box : {txtArea_, txtWp_}) {
        MakeDisplayBox(box);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(NamedLabel(this, QStringLiteral("Label3"), QStringLiteral("B"), txtB_), 0, 0);
    grid->addWidget(txtB_, 0, 1);
    grid->addWidget(NamedLabel(this, QStringLiteral("Label4"), QStringLiteral("Y"), txtY_), 1, 0);
    grid->addWidget(txtY_, 1, 1);
    grid->addWidget(NamedLabel(this, QStringLiteral("Label5"), QStringLiteral("Z"), txtZ_), 2, 0);
    grid->addWidget(txtZ_, 2, 1);
    grid->setColumnMinimumWidth(2, 24);
    grid->addWidget(NamedLabel(this, QStringLiteral("Label6"), QStringLiteral("Area ="), txtArea_),
                    0, 3);
    grid->addWidget(txtArea_, 0, 4);
    grid->addWidget(NamedLabel(this, QStringLiteral("Label7"), QStringLiteral("WP ="), txtWp_), 1,
                    3);
    grid->addWidget(txtWp_, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(calculate);
    buttons->addStretch(1);
    buttons->addWidget(add);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addWidget(areaFormula);
    layout->addWidget(perimeterFormula);
    layout->addSpacing(4);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtB_, txtY_);
    setTabOrder(txtY_, txtZ_);
    setTabOrder(txtZ_, calculate);
    setTabOrder(calculate, add);
    setTabOrder(add, cancel);

    SetConfirmButton(this, add);

    connect(calculate, &QPushButton::clicked, this, &FrmTrapezArea::CmdCalculate_Click);
    connect(add, &QPushButton::clicked, this, &FrmTrapezArea::CmdAdd_Click);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

bool FrmTrapezArea::Calculate() {
    TrapezoidResult section;
    const bool computed = RunCommand(this, [&] {
        section = TrapezoidSection(LeadingNumber(FromQ(txtB_->text())),
                                   LeadingNumber(FromQ(txtY_->text())),
                                   LeadingNumber(FromQ(txtZ_->text())));
    });
    if (!computed) {
        return false;
    }
    area_ = section.area;
    wettedPerimeter_ = section.wettedPerimeter;
    txtArea_->setText(ToQ(FormatFixed(area_, 2)));
    txtWp_->setText(ToQ(FormatFixed(wettedPerimeter_, 2)));
    return true;
}

void FrmTrapezArea::CmdCalculate_Click() {
    Calculate();
}

void FrmTrapezArea::CmdAdd_Click() {
    if (!Calculate()) {
        return;
    }
    // The add dialog first: it is the one an engineer sizing a new channel has open.
    ChannelFlowDialog* channel = Forms::Find<FrmChannelAddInfo>();
    if (channel == nullptr) {
        channel = Forms::Find<FrmChannelUpdateInfo>();
    }
    if (channel != nullptr) {
        channel->SetSection(txtArea_->text(), txtWp_->text());
    }
    close();
}

}  // namespace torrenta::gui
