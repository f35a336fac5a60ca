#include "common/AppStyle.h"

#include <QGuiApplication>
#include <QWidget>

#include "common/SvgIcon.h"

namespace torrenta::gui {

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

}  // namespace torrenta::gui
