#include "feedback/CommentRequest.h"

#include <QByteArray>
#include <QSettings>

namespace torrenta::gui {

QString CommentServer() {
    const QSettings settings(QStringLiteral("Quillmoor"), QStringLiteral("Squallbox"));
    return settings
        .value(QStringLiteral("CommentServer"), QString::fromLatin1(kDefaultCommentServer))
        .toString();
}

QUrl CommentRequestUrl(const QString& server, const CommentFields& fields) {
    QByteArray host = server.trimmed().toUtf8();
    // A server written with a closing slash must not double the page's first one.
    while (host.endsWith('/')) {
        host.chop(1);
    }
    const QByteArray encoded = host + kCommentPage + "?os=" + QUrl::toPercentEncoding(fields.os) +
                               "&bn=" + QUrl::toPercentEncoding(fields.bugName) +
                               "&dsc=" + QUrl::toPercentEncoding(fields.description) +
                               "&con=" + QUrl::toPercentEncoding(fields.contact) +
                               "&com=" + QUrl::toPercentEncoding(fields.comments);
    // Strict parsing keeps the query exactly as encoded above; QUrl neither
    // decodes nor re-encodes any of it on the way to the request line.
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

}  // namespace torrenta::gui
