#include "common/AppStyle.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QMainWindow>
#include <QPainter>
#include <QStyleOptionToolBar>
#include <QWidget>

#include "common/SvgIcon.h"

namespace torrenta::gui {

namespace {

// Fusion's bevel shades, translucent so that they suit any window colour.
const QColor kLightShade(255, 255, 255, 90);
const QColor kDarkShade(0, 0, 0, 60);

// Fusion's top toolbar: a gradient from a shade lighter than the window to
// the window colour, a light row along the top, and along the bottom a dark
// row, doubled by a light one under it on the bar nearest the window's
// centre.
void DrawFusionTopToolBar(const QStyleOptionToolBar& bar, QPainter* painter) {
    const QRect& area = bar.rect;
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    if (!(bar.state & QStyle::State_Horizontal)) {
        gradient = QLinearGradient(area.left(), area.center().y(), area.right(), area.center().y());
    }
    const QColor window = bar.palette.window().color();
    gradient.setColorAt(0, window.lighter(104));
    gradient.setColorAt(1, window);
    painter->fillRect(area, gradient);

    const auto row = [&](int y, const QColor& colour) {
        painter->fillRect(QRect(area.left(), y, area.width(), 1), colour);
    };
    if (bar.positionOfLine == QStyleOptionToolBar::End ||
        bar.positionOfLine == QStyleOptionToolBar::OnlyOne) {
        row(area.bottom(), kLightShade);
        row(area.bottom() - 1, kDarkShade);
    } else {
        row(area.bottom(), kDarkShade);
    }
    row(area.top(), kLightShade);
}

}  // namespace

QIcon AppStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                             const QWidget* widget) const {
    switch (icon) {
        case SP_ToolBarHorizontalExtensionButton: {
            const bool rightToLeft =
                widget != nullptr ? widget->isRightToLeft() : QGuiApplication::isRightToLeft();
            return SvgIcon(rightToLeft ? QStringLiteral(":/icons/more-left.svg")
                                       : QStringLiteral(":/icons/more-right.svg"));
        }
        case SP_ToolBarVerticalExtensionButton:
            return SvgIcon(QStringLiteral(":/icons/more-down.svg"));
        default:
            return QProxyStyle::standardIcon(icon, option, widget);
    }
}

void AppStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionToolBar*>(option);
    if (element == CE_ToolBar && DrawsTopToolBar(bar, widget)) {
        DrawFusionTopToolBar(*bar, painter);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

bool AppStyle::DrawsTopToolBar(const QStyleOptionToolBar* bar, const QWidget* widget) const {
    // Fusion bevels only a main window's own toolbars.
    return bar != nullptr && bar->toolBarArea == Qt::TopToolBarArea &&
           baseStyle()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) == 0 &&
           (widget == nullptr ||
            qobject_cast<const QMainWindow*>(widget->parentWidget()) != nullptr);
}

}  // namespace torrenta::gui
