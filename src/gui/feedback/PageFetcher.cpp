#include "feedback/PageFetcher.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <memory>

#include "common/Prompts.h"

namespace torrenta::gui {

PageFetcher::PageFetcher(QObject* parent, int transferTimeoutMs)
    : QObject(parent), manager_(this), transferTimeoutMs_(transferTimeoutMs) {}

QString PageFetcher::GetPage(const QUrl& url, QWidget* promptParent) {
    QNetworkRequest request(url);
    request.setTransferTimeout(transferTimeoutMs_);
    busy_ = true;
    abandoned_ = false;
    QString body;
    for (;;) {
        const std::unique_ptr<QNetworkReply> reply(manager_.get(request));
        if (!Wait(reply.get())) {
            break;
        }
        if (reply->error() == QNetworkReply::NoError) {
            body = QString::fromUtf8(reply->readAll());
            break;
        }
        if (!AskRetry(promptParent, *reply)) {
            break;
        }
    }
    busy_ = false;
    return body;
}

void PageFetcher::Abandon() {
    abandoned_ = true;
    if (reply_ != nullptr && reply_->isRunning()) {
        reply_->abort();
    }
}

bool PageFetcher::Wait(QNetworkReply* reply) {
    reply_ = reply;
    if (reply->isRunning()) {
        QEventLoop loop;
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // The application quitting ends every event loop, this one included.
    if (reply->isRunning()) {
        Abandon();
    }
    reply_ = nullptr;
    return !abandoned_;
}

bool PageFetcher::AskRetry(QWidget* promptParent, const QNetworkReply& reply) {
    const QString text =
        QStringLiteral("Unable to Connect!\r\n[ %1 - %2 ]")
            .arg(QString::number(static_cast<int>(reply.error())), reply.errorString());
    const QMessageBox::StandardButton answer =
        CurrentPrompts().Message(promptParent, text, QStringLiteral("Error!"),
                                 QMessageBox::Critical, QMessageBox::Retry | QMessageBox::Cancel);
    return answer == QMessageBox::Retry && !abandoned_;
}

}  // namespace torrenta::gui
