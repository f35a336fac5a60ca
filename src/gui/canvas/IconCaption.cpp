#include "canvas/IconCaption.h"

#include "common/QtText.h"
#include "text/DisplayWidth.h"

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
    // Counted in letters with their accents (and whole emoji), so a cut never
    // leaves an accent behind or half a surrogate pair.
    const std::string utf8 = FromQ(name);
    if (FirstClusters(utf8, kCaptionLength).size() == utf8.size()) {
        return name;
    }
    return ToQ(FirstClusters(utf8, kCaptionLength - 1)) + QChar(0x2026);
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
