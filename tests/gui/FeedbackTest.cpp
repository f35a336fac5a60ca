#include <QLabel>
#include <QLineEdit>
#include <QNetworkProxy>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSvgWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <cctype>
#include <cmath>
#include <functional>
#include <memory>

#include "ScriptedPrompts.h"
#include "common/Forms.h"
#include "feedback/CommentRequest.h"
#include "feedback/FrmAbout.h"
#include "feedback/FrmBugReport.h"
#include "feedback/FrmWishList.h"
#include "feedback/PageFetcher.h"

using namespace torrenta::gui;
using torrenta::test::ScriptedPrompts;

Q_DECLARE_METATYPE(CommentFields)

namespace {

// The maker's page, played on 127.0.0.1: keeps every request line and answers
// with the status and body the test chose, or not at all.
class PageServer : public QObject {
  public:
    QByteArray status = "200 OK";
    QByteArray body;
    bool answers = true;
    // Answers in plain text the moment a connection opens, as a server that
    // speaks no TLS answers an encrypted request.
    bool greets = false;
    QList<QByteArray> requestLines;
    std::function<void()> onRequest;

    bool Listen(quint16 port = 0) {
        connect(&server_, &QTcpServer::newConnection, this, &PageServer::Accept,
                Qt::UniqueConnection);
        return server_.listen(QHostAddress::LocalHost, port);
    }
    void Close() { server_.close(); }
    quint16 Port() const { return server_.serverPort(); }

  private:
    void Accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            if (greets) {
                socket->write("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n<br>");
                socket->disconnectFromHost();
                continue;
            }
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        }
    }

    void Read(QTcpSocket* socket) {
        QByteArray& received = pending_[socket];
        received += socket->readAll();
        if (!received.contains("\r\n\r\n")) {
            return;
        }
        requestLines.append(received.left(received.indexOf("\r\n")));
        pending_.remove(socket);
        if (onRequest) {
            onRequest();
        }
        if (!answers) {
            return;
        }
        socket->write("HTTP/1.1 " + status +
                      "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

// Scripted answers, plus a hook that runs when a box is shown, before it is
// answered (to bring a server back before the user picks Retry).
class HookedPrompts : public ScriptedPrompts {
  public:
    std::function<void(const QString& title)> onMessage;

    QMessageBox::StandardButton Message(QWidget* parent, const QString& text, const QString& title,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons) override {
        if (onMessage) {
            onMessage(title);
        }
        return ScriptedPrompts::Message(parent, text, title, icon, buttons);
    }
};

const QString kThanks = QStringLiteral("Thank you for your submission");
const QString kUnsuccessful = QStringLiteral("Unsuccessful Attempt.\r\nPlease try again later");
const QByteArray kPage = "/Qmoor/wxsvc/bugreport.asp";

template <class W>
W* Control(QWidget* form, const char* name) {
    W* control = form->findChild<W*>(QString::fromLatin1(name));
    if (control == nullptr) {
        qFatal("control %s missing", name);
    }
    return control;
}

// Types like a user: Return for a line break, each other character as the
// text of a key press (QTest::keyClicks only knows Latin-1).
void Type(QWidget* box, const QString& text) {
    for (const QChar ch : text) {
        if (ch == u'\n') {
            QTest::keyClick(box, Qt::Key_Return);
        } else {
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }
}

// The query of a request line "GET <target> HTTP/1.1" as key / raw value pairs.
QList<QPair<QByteArray, QByteArray>> QueryPairs(const QByteArray& requestLine) {
    const QList<QByteArray> parts = requestLine.split(' ');
    const QByteArray target = parts.value(1);
    QList<QPair<QByteArray, QByteArray>> pairs;
    for (const QByteArray& item : target.mid(target.indexOf('?') + 1).split('&')) {
        const qsizetype equals = item.indexOf('=');
        pairs.append({item.left(equals), item.mid(equals + 1)});
    }
    return pairs;
}

}  // namespace

class FeedbackTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void requestUrl_data();
    void requestUrl();
    void commentServerSetting_data();
    void commentServerSetting();

    void emptySubmissionSendsEveryKey();
    void fieldsReachThePageIntact_data();
    void fieldsReachThePageIntact();
    void replyDecidesTheMessage_data();
    void replyDecidesTheMessage();
    void failureAsksRetryOrCancel_data();
    void failureAsksRetryOrCancel();
    void retryRepeatsTheRequest_data();
    void retryRepeatsTheRequest();
    void closingWhileBusyAbandonsTheRequest_data();
    void closingWhileBusyAbandonsTheRequest();
    void cancelSendsNothing();
    void transferTimeoutIsAFailure();

    void controlsStandInReadingOrderWithCaptionsWhole_data();
    void controlsStandInReadingOrderWithCaptionsWhole();
    void aboutAndWishList();

  private:
    FrmBugReport* OpenForm() { return Forms::Show<FrmBugReport>(); }
    static void Submit(FrmBugReport* form) {
        QTest::mouseClick(Control<QPushButton>(form, "CmdSubmit"), Qt::LeftButton);
    }
    static void FlushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void SetServer(const QString& server) {
        QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Squallbox"))
            .setValue(QStringLiteral("CommentServer"), server);
    }
    QString LocalServer() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

    QTemporaryDir settingsDir_;
    quint16 port_ = 0;
    std::unique_ptr<PageServer> server_;
    std::unique_ptr<HookedPrompts> prompts_;
};

void FeedbackTest::initTestCase() {
    QVERIFY(settingsDir_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       settingsDir_.filePath(QStringLiteral("user")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       settingsDir_.filePath(QStringLiteral("system")));
    // A proxy from the environment must not stand between the form and 127.0.0.1.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    PageServer probe;
    QVERIFY(probe.Listen());
    port_ = probe.Port();
}

void FeedbackTest::init() {
    server_ = std::make_unique<PageServer>();
    QVERIFY(server_->Listen(port_));
    SetServer(LocalServer());
    prompts_ = std::make_unique<HookedPrompts>();
}

void FeedbackTest::cleanup() {
    Forms::CloseAll();
    FlushDeletes();
    prompts_.reset();
    server_.reset();
}

void FeedbackTest::requestUrl_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<CommentFields>("fields");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray host = "http://host.example";
    QTest::newRow("all empty") << QString::fromLatin1(host) << CommentFields{}
                               << host + kPage + "?os=&bn=&dsc=&con=&com=";
    QTest::newRow("server with closing slash")
        << QStringLiteral("http://host.example/") << CommentFields{}
        << host + kPage + "?os=&bn=&dsc=&con=&com=";
    QTest::newRow("server with port")
        << QStringLiteral("http://127.0.0.1:8080") << CommentFields{}
        << "http://127.0.0.1:8080" + kPage + "?os=&bn=&dsc=&con=&com=";
    QTest::newRow("order of the keys")
        << QString::fromLatin1(host)
        << CommentFields{QStringLiteral("os"), QStringLiteral("bn"), QStringLiteral("dsc"),
                         QStringLiteral("con"), QStringLiteral("com")}
        << host + kPage + "?os=os&bn=bn&dsc=dsc&con=con&com=com";
    QTest::newRow("delimiters and blanks")
        << QString::fromLatin1(host)
        << CommentFields{QStringLiteral("Win 10"), QStringLiteral("a&b=c"), QStringLiteral("#1?/"),
                         QStringLiteral("1+1 100%"), QStringLiteral("l1\r\nl2\n")}
        << host + kPage +
               "?os=Win%2010&bn=a%26b%3Dc&dsc=%231%3F%2F&con=1%2B1%20100%25&com=l1%0D%0Al2%0A";
    QTest::newRow("letters beyond ASCII")
        << QString::fromLatin1(host)
        << CommentFields{QStringLiteral("caf\u00e9"), QStringLiteral("\u65e5\u672c"), {}, {}, {}}
        << host + kPage + "?os=caf%C3%A9&bn=%E6%97%A5%E6%9C%AC&dsc=&con=&com=";
    QTest::newRow("unreserved stay, sub-delimiters go")
        << QString::fromLatin1(host)
        << CommentFields{QStringLiteral("Az09-._~"), QStringLiteral("!$'()*,;:@[]"), {}, {}, {}}
        << host + kPage + "?os=Az09-._~&bn=%21%24%27%28%29%2A%2C%3B%3A%40%5B%5D&dsc=&con=&com=";
}

void FeedbackTest::requestUrl() {
    QFETCH(QString, server);
    QFETCH(CommentFields, fields);
    QFETCH(QByteArray, expected);
    const QUrl url = CommentRequestUrl(server, fields);
    QVERIFY(url.isValid());
    QCOMPARE(url.toEncoded(), expected);
}

void FeedbackTest::commentServerSetting_data() {
    QTest::addColumn<QVariant>("user");
    QTest::addColumn<QVariant>("system");
    QTest::addColumn<QString>("expected");

    QTest::newRow("neither: the maker's host, encrypted")
        << QVariant() << QVariant() << QStringLiteral("https://www.quillmoor.example");
    QTest::newRow("system only") << QVariant() << QVariant(QStringLiteral("http://sys.example"))
                                 << QStringLiteral("http://sys.example");
    QTest::newRow("user over system")
        << QVariant(QStringLiteral("http://me.example"))
        << QVariant(QStringLiteral("http://sys.example")) << QStringLiteral("http://me.example");
}

void FeedbackTest::commentServerSetting() {
    QFETCH(QVariant, user);
    QFETCH(QVariant, system);
    QFETCH(QString, expected);
    const auto put = [](QSettings::Scope scope, const QVariant& value) {
        QSettings settings(scope, QStringLiteral("Quillmoor"), QStringLiteral("Squallbox"));
        if (value.isValid()) {
            settings.setValue(QStringLiteral("CommentServer"), value);
        } else {
            settings.remove(QStringLiteral("CommentServer"));
        }
    };
    put(QSettings::UserScope, user);
    put(QSettings::SystemScope, system);
    QCOMPARE(CommentServer(), expected);
    put(QSettings::SystemScope, QVariant());
}

void FeedbackTest::emptySubmissionSendsEveryKey() {
    server_->body = "<br>";
    Submit(OpenForm());
    QCOMPARE(server_->requestLines,
             QList<QByteArray>{"GET " + kPage + "?os=&bn=&dsc=&con=&com= HTTP/1.1"});
    QCOMPARE(prompts_->LastText(), kThanks);
}

void FeedbackTest::fieldsReachThePageIntact_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("keyIndex");
    QTest::addColumn<QString>("typed");

    QTest::newRow("TxtOs blanks and plus")
        << QStringLiteral("TxtOs") << 0 << QStringLiteral("Windows 11 Pro + WSL");
    QTest::newRow("txtBugName delimiters")
        << QStringLiteral("txtBugName") << 1 << QStringLiteral("a&b=c #2 ?x/y; 100% 'q'");
    QTest::newRow("txtDesc line breaks")
        << QStringLiteral("txtDesc") << 2 << QStringLiteral("first line\nsecond line\n\nlast");
    QTest::newRow("txtContact accents and CJK")
        << QStringLiteral("txtContact") << 3
        << QStringLiteral("Ren\u00e9e M\u00fcller \u65e5\u672c\n\u00e9@x.example");
    QTest::newRow("txtComments everything")
        << QStringLiteral("txtComments") << 4
        << QStringLiteral("\u00e9 & # \u65e5\u672c\n~ \"quoted\" <br>");
}

void FeedbackTest::fieldsReachThePageIntact() {
    QFETCH(QString, box);
    QFETCH(int, keyIndex);
    QFETCH(QString, typed);
    server_->body = "<br>";
    FrmBugReport* form = OpenForm();
    QWidget* field = form->findChild<QWidget*>(box);
    QVERIFY(field != nullptr);
    Type(field, typed);
    Submit(form);

    QCOMPARE(server_->requestLines.size(), 1);
    const QByteArray line = server_->requestLines.first();
    QVERIFY2(line.startsWith("GET " + kPage + "?os="), line);
    QVERIFY2(line.endsWith(" HTTP/1.1"), line);
    // Only unreserved characters, escapes and the query's own delimiters travel.
    const QByteArray target = line.mid(4, line.size() - 4 - 9);
    for (const char ch : target) {
        QVERIFY2(
            std::isalnum(static_cast<unsigned char>(ch)) || QByteArray("-._~%&=/?").contains(ch),
            target);
    }
    // What travels is exactly what was built: nothing re-encoded or decoded on the way.
    CommentFields fields;
    QString* const values[] = {&fields.os, &fields.bugName, &fields.description, &fields.contact,
                               &fields.comments};
    *values[keyIndex] = typed;
    QCOMPARE(target, CommentRequestUrl(LocalServer(), fields)
                         .toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority));
    const auto pairs = QueryPairs(line);
    const QList<QByteArray> keys{"os", "bn", "dsc", "con", "com"};
    QCOMPARE(pairs.size(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        QCOMPARE(pairs[i].first, keys[i]);
        const QString value = QString::fromUtf8(QByteArray::fromPercentEncoding(pairs[i].second));
        QCOMPARE(value, i == keyIndex ? typed : QString());
    }
    QCOMPARE(prompts_->LastText(), kThanks);
}

void FeedbackTest::replyDecidesTheMessage_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("expected");

    QTest::newRow("just <br>") << QByteArray("<br>") << kThanks;
    QTest::newRow("<br> inside a page") << QByteArray("<html>Saved.<br>Bye</html>") << kThanks;
    QTest::newRow("<br> in an error page")
        << QByteArray("<html>ASP error 0115<br>in bugreport.asp</html>") << kThanks;
    QTest::newRow("empty body") << QByteArray() << kUnsuccessful;
    QTest::newRow("upper-case <BR>") << QByteArray("<BR>") << kUnsuccessful;
    QTest::newRow("<br/> is not <br>") << QByteArray("line<br/>line") << kUnsuccessful;
    QTest::newRow("plain text") << QByteArray("OK") << kUnsuccessful;
}

void FeedbackTest::replyDecidesTheMessage() {
    QFETCH(QByteArray, body);
    QFETCH(QString, expected);
    server_->body = body;
    QPointer<FrmBugReport> form = OpenForm();
    Control<QPlainTextEdit>(form, "txtComments")->setPlainText(QStringLiteral("Typed once"));
    Submit(form);
    QCOMPARE(prompts_->messages.size(), 1);
    QCOMPARE(prompts_->messages[0].text, expected);
    QCOMPARE(prompts_->messages[0].title, QStringLiteral("Information"));
    QCOMPARE(prompts_->messages[0].icon, QMessageBox::Information);
    QCOMPARE(prompts_->messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // A comment that did not go stays in the window for a later try.
    const bool sent = expected != kUnsuccessful;
    QCOMPARE(form->isVisible(), !sent);
    FlushDeletes();
    QCOMPARE(form.isNull(), sent);
    if (!sent) {
        QCOMPARE(Control<QPlainTextEdit>(form, "txtComments")->toPlainText(),
                 QStringLiteral("Typed once"));
    }
}

void FeedbackTest::failureAsksRetryOrCancel_data() {
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QString>("errorPattern");
    QTest::addColumn<bool>("tls");

    QTest::newRow("connection refused")
        << true << QByteArray() << QStringLiteral("^\\[ 1 - Connection refused \\]$") << false;
    QTest::newRow("HTTP 500 with <br> in its page")
        << false << QByteArray("500 Internal Server Error")
        << QStringLiteral("^\\[ 401 - .*Internal Server Error \\]$") << false;
    QTest::newRow("HTTP 404") << false << QByteArray("404 Not Found")
                              << QStringLiteral("^\\[ 203 - .*Not Found \\]$") << false;
    QTest::newRow("TLS handshake with a plain server")
        << false << QByteArray() << QStringLiteral("^\\[ 6 - .+ \\]$") << true;
}

void FeedbackTest::failureAsksRetryOrCancel() {
    QFETCH(bool, refuse);
    QFETCH(QByteArray, status);
    QFETCH(QString, errorPattern);
    QFETCH(bool, tls);
    if (tls) {
        SetServer(QStringLiteral("https://127.0.0.1:%1").arg(port_));
        server_->greets = true;
    }
    server_->status = status;
    server_->body = "<br>";
    if (refuse) {
        server_->Close();
    }
    prompts_->answers = {QMessageBox::Cancel};
    QPointer<FrmBugReport> form = OpenForm();
    Submit(form);

    QCOMPARE(prompts_->messages.size(), 2);
    const ScriptedPrompts::Shown error = prompts_->messages[0];
    QCOMPARE(error.title, QStringLiteral("Error!"));
    QCOMPARE(error.icon, QMessageBox::Critical);
    QCOMPARE(error.buttons, QMessageBox::Retry | QMessageBox::Cancel);
    const QString head = QStringLiteral("Unable to Connect!\r\n");
    QVERIFY2(error.text.startsWith(head), qPrintable(error.text));
    QVERIFY2(QRegularExpression(errorPattern).match(error.text.mid(head.size())).hasMatch(),
             qPrintable(error.text));
    QCOMPARE(prompts_->messages[1].text, kUnsuccessful);
    QCOMPARE(prompts_->messages[1].title, QStringLiteral("Information"));
    FlushDeletes();
    QVERIFY(!form.isNull());
    QVERIFY(form->isVisible());
}

void FeedbackTest::retryRepeatsTheRequest_data() {
    QTest::addColumn<bool>("refuse");
    QTest::newRow("server down, then back") << true;
    QTest::newRow("HTTP 500, then the page") << false;
}

void FeedbackTest::retryRepeatsTheRequest() {
    QFETCH(bool, refuse);
    server_->body = "<br>";
    if (refuse) {
        server_->Close();
    } else {
        server_->status = "500 Internal Server Error";
    }
    // The user fixes the cause while the box is up, then picks Retry.
    prompts_->onMessage = [this, refuse](const QString& title) {
        if (title != QStringLiteral("Error!")) {
            return;
        }
        if (refuse) {
            QVERIFY(server_->Listen(port_));
        } else {
            server_->status = "200 OK";
        }
    };
    prompts_->answers = {QMessageBox::Retry};
    FrmBugReport* form = OpenForm();
    Control<QLineEdit>(form, "TxtOs")->setText(QStringLiteral("Linux"));
    Submit(form);

    QCOMPARE(prompts_->messages.size(), 2);
    QCOMPARE(prompts_->messages[0].title, QStringLiteral("Error!"));
    QCOMPARE(prompts_->messages[1].text, kThanks);
    const QByteArray expected = "GET " + kPage + "?os=Linux&bn=&dsc=&con=&com= HTTP/1.1";
    // Only the failed fetch is repeated, with the same request.
    const QList<QByteArray> sent =
        refuse ? QList<QByteArray>{expected} : QList<QByteArray>{expected, expected};
    QCOMPARE(server_->requestLines, sent);
}

void FeedbackTest::closingWhileBusyAbandonsTheRequest_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("window closed") << false;
    QTest::newRow("Escape pressed") << true;
}

void FeedbackTest::closingWhileBusyAbandonsTheRequest() {
    QFETCH(bool, escape);
    server_->answers = false;
    QPointer<FrmBugReport> form = OpenForm();
    bool busyLooked = false;
    bool stayedOpen = false;
    server_->onRequest = [&] {
        busyLooked = !Control<QPushButton>(form, "CmdSubmit")->isEnabled() &&
                     form->cursor().shape() == Qt::WaitCursor;
        if (escape) {
            QTest::keyClick(form, Qt::Key_Escape);
        } else {
            form->close();
        }
        stayedOpen = form != nullptr && form->isVisible();
    };
    Submit(form);

    QVERIFY(busyLooked);
    QVERIFY(stayedOpen);
    QCOMPARE(prompts_->messages.size(), 1);
    QCOMPARE(prompts_->messages[0].text, kUnsuccessful);
    QVERIFY(!form.isNull());
    QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!form->isVisible());
    FlushDeletes();
    QVERIFY(form.isNull());
}

void FeedbackTest::cancelSendsNothing() {
    server_->body = "<br>";
    QPointer<FrmBugReport> form = OpenForm();
    const QPointer<PageFetcher> fetcher = Control<PageFetcher>(form, "Inet1");
    Control<QLineEdit>(form, "TxtOs")->setText(QStringLiteral("Linux"));
    QTest::mouseClick(Control<QPushButton>(form, "CmdCancel"), Qt::LeftButton);
    FlushDeletes();
    QVERIFY(form.isNull());
    // Only the form's fetcher sends. Once it is gone, and the server has read
    // a request of the test's own (so all that came before it), nothing was
    // sent and nothing can be.
    QTRY_VERIFY(fetcher.isNull());
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port_);
    QVERIFY(probe.waitForConnected(5000));
    probe.write("GET /probe HTTP/1.1\r\n\r\n");
    QTRY_VERIFY(!server_->requestLines.isEmpty());
    QCOMPARE(server_->requestLines, QList<QByteArray>{"GET /probe HTTP/1.1"});
    QVERIFY(prompts_->messages.isEmpty());
    // The next opening starts with empty boxes.
    QVERIFY(Control<QLineEdit>(OpenForm(), "TxtOs")->text().isEmpty());
}

void FeedbackTest::transferTimeoutIsAFailure() {
    server_->answers = false;
    prompts_->answers = {QMessageBox::Cancel};
    PageFetcher fetcher(nullptr, 300);
    const QString body =
        fetcher.GetPage(CommentRequestUrl(LocalServer(), CommentFields{}), nullptr);
    QVERIFY(body.isEmpty());
    QCOMPARE(server_->requestLines.size(), 1);
    QCOMPARE(prompts_->messages.size(), 1);
    QCOMPARE(prompts_->messages[0].title, QStringLiteral("Error!"));
    QVERIFY(prompts_->messages[0].text.startsWith(QStringLiteral("Unable to Connect!\r\n[ ")));
    QVERIFY(!fetcher.IsBusy());
}

void FeedbackTest::controlsStandInReadingOrderWithCaptionsWhole_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");  // the control this one follows
    QTest::addColumn<bool>("beside");    // on the same line, to its right; else below it

    const auto row = [](const char* name, const QString& text, const char* after, bool beside) {
        QTest::newRow(name) << QString::fromLatin1(name) << text << QString::fromLatin1(after)
                            << beside;
    };
    row("Label7",
        QStringLiteral("Please submit your comments, ideas of improvements, and what you'd like to "
                       "see in our next version. Simply, please tell us how we can help you do "
                       "your work easier and better."),
        "", false);
    row("Label3", QStringLiteral("How can we contact you?"), "Label7", false);
    row("txtContact", {}, "Label3", false);
    row("Label1", QStringLiteral("Operating System"), "txtContact", false);
    row("TxtOs", {}, "Label1", true);
    row("Label2", QStringLiteral("Nature of Comment"), "Label1", false);
    row("txtBugName", {}, "Label2", true);
    row("Label4", QStringLiteral("Description"), "Label2", false);
    row("txtDesc", {}, "Label4", true);
    row("Label5", QStringLiteral("Comments"), "txtDesc", false);
    row("txtComments", {}, "Label5", true);
    row("Label6",
        QStringLiteral("Thank you for your submission. All fields are optional. We do not collect "
                       "any information that is not provided by this form."),
        "txtComments", false);
    row("CmdCancel", QStringLiteral("Cancel"), "Label6", false);
    row("CmdSubmit", QStringLiteral("Submit"), "CmdCancel", true);
}

// Whatever the screen's resolution and the dialog font, the controls keep
// their order, none covers another, and every caption shows whole.
void FeedbackTest::controlsStandInReadingOrderWithCaptionsWhole() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, after);
    QFETCH(bool, beside);
    FrmBugReport* form = OpenForm();
    QCOMPARE(form->windowTitle(), QStringLiteral("Comments"));
    QWidget* control = form->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    // A label's box may run under the next control; its top-aligned caption
    // takes only the lines it wraps to.
    const auto shown = [](const QWidget* widget) {
        const QRect box = widget->geometry();
        const auto* label = qobject_cast<const QLabel*>(widget);
        return label == nullptr
                   ? box
                   : QRect(box.topLeft(), QSize(box.width(), label->heightForWidth(box.width())));
    };
    const QRect box = shown(control);

    QVERIFY(form->rect().adjusted(1, 1, -1, -1).contains(control->geometry()));
    if (!after.isEmpty()) {
        QWidget* previous = form->findChild<QWidget*>(after);
        QVERIFY(previous != nullptr);
        const QRect before = shown(previous);
        if (beside) {
            QVERIFY(box.left() > before.right());
            QVERIFY(box.top() < before.bottom() && before.top() < box.bottom());
        } else {
            QVERIFY(box.top() > before.bottom());
        }
    }
    for (const QWidget* other : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != control && !other->objectName().isEmpty() && other->isVisible()) {
            QVERIFY2(!box.intersects(shown(other)), qPrintable(other->objectName()));
        }
    }

    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), text);
        QVERIFY(label->wordWrap());
        for (const QString& word : text.split(u' ')) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(word) <= label->width(),
                     qPrintable(word));
        }
        // The whole caption shows; none is cut off at the bottom of its box.
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                 qPrintable(QString::number(label->heightForWidth(label->width()))));
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), text);
        QVERIFY(button->fontMetrics().horizontalAdvance(text) < button->width());
        QVERIFY(button->fontMetrics().height() < button->height());
    } else if (auto* multiLine = qobject_cast<QPlainTextEdit*>(control)) {
        QCOMPARE(multiLine->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    } else {
        QVERIFY(qobject_cast<QLineEdit*>(control) != nullptr);
    }
}

void FeedbackTest::aboutAndWishList() {
    QPointer<FrmAbout> about = Forms::Show<FrmAbout>();
    QCOMPARE(about->objectName(), QStringLiteral("FrmAbout"));
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    QVERIFY(about->findChild<QSvgWidget*>(QStringLiteral("Image1")) != nullptr);
    QStringList texts;
    for (const QLabel* label : about->findChildren<QLabel*>()) {
        texts << label->text();
    }
    QVERIFY2(texts.contains(QStringLiteral("Version 1.0")), qPrintable(texts.join(u'|')));
    QVERIFY(texts.join(u'|').contains(QStringLiteral("Quillmoor Foundry")));
    auto* command1 = Control<QPushButton>(about, "Command1");
    QCOMPARE(command1->text(), QStringLiteral("OK"));
    QTest::mouseClick(command1, Qt::LeftButton);
    FlushDeletes();
    QVERIFY(about.isNull());

    FrmWishList wishList(nullptr);
    QCOMPARE(wishList.objectName(), QStringLiteral("FrmWishList"));
    QCOMPARE(wishList.windowTitle(), QStringLiteral("Wish List"));
    QVERIFY(wishList.findChildren<QWidget*>().isEmpty());
}

QTEST_MAIN(FeedbackTest)
#include "FeedbackTest.moc"
