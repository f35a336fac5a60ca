#include "canvas/IconCaption.h"

namespace torrenta::gui {

namespace {

QString KindName(IconKind kind) {
    switch (kind) {
        case IconKind::Overland:
            return QStringLiteral("Overland flow");
        case IconKind::Shallow:
            return QStringLiteral("Shallow concentrated flow");
        case IconKind::Channel:
            return QStringLiteral("Channel flow");
        case IconKind::Node:
            break;
    }
    return QStringLiteral("Outlet node");
}

}  // namespace

QString IconCaption(const QString& name) {
    if (name.size() <= kCaptionLength) {
        return name;
    }
    return name.left(kCaptionLength - 1) + QChar(0x2026);
}

QString IconToolTip(IconKind kind, const QString& name, const QString& tag, const QString& tc) {
    // Rich text, so that a name holding "<" or "&" shows as typed.
    QString tip = QStringLiteral("<b>%1</b><br>%2").arg(name.toHtmlEscaped(), KindName(kind));
    if (kind != IconKind::Node) {
        tip += QStringLiteral("<br>Tag: %1<br>Tc: %2")
                   .arg(tag.toHtmlEscaped(), tc.isEmpty()
                                                 ? QStringLiteral("not calculated")
                                                 : tc.toHtmlEscaped() + QStringLiteral(" min"));
    }
    return tip;
}

}  // namespace torrenta::gui
