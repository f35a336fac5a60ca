#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkReply;
class QWidget;

namespace torrenta::gui {

// Fetches a web page for a caller that waits for it: the call returns only
// with the reply, an error the user gave up on, or an abandoned request.
class PageFetcher : public QObject {
    Q_OBJECT
  public:
    static constexpr int kTransferTimeoutMs = 500'000;

    explicit PageFetcher(QObject* parent = nullptr, int transferTimeoutMs = kTransferTimeoutMs);

    // The page's body (UTF-8). A failure asks "Error!" with Retry and Cancel
    // over `promptParent`; Retry asks again, Cancel returns the empty text, as
    // does a request abandoned meanwhile.
    QString GetPage(const QUrl& url, QWidget* promptParent);

    bool IsBusy() const { return busy_; }
    // Gives up the request in progress; GetPage then returns the empty text.
    void Abandon();

  private:
    bool Wait(QNetworkReply* reply);
    bool AskRetry(QWidget* promptParent, const QNetworkReply& reply);

    QNetworkAccessManager manager_;
    QPointer<QNetworkReply> reply_;
    int transferTimeoutMs_;
    bool busy_ = false;
    bool abandoned_ = false;
};

}  // namespace torrenta::gui
