#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "app/FrmOpen.h"
#include "app/MDIFrmMain.h"
#include "app/Startup.h"
#include "common/AppStyle.h"

using namespace torrenta::gui;

// The start window as the program shows it: what it loads, and how its
// notices wrap.
class StartWindowTest : public QObject {
    Q_OBJECT

    static QByteArray LoadedLibraries() {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
    }

    static bool HasInk(const QImage& image) {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y).alpha() > 0) {
                    return true;
                }
            }
        }
        return false;
    }

  private slots:
    // Runs first, before anything else in this process could load a picture.
    void startLoadsNoImagePlugin() {
        IdentifyApplication();
        MDIFrmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        const QByteArray libraries = LoadedLibraries();
        QVERIFY(!libraries.isEmpty());
        QVERIFY2(!libraries.contains("imageformats/"),
                 "an image-format plugin was loaded while the main window started");

        // The bars' overflow arrows are the program's own, and they draw.
        for (const QStyle::StandardPixmap arrow : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                                   QStyle::SP_ToolBarVerticalExtensionButton}) {
            const QImage image = window.style()->standardIcon(arrow).pixmap(16, 16).toImage();
            QVERIFY(HasInk(image));
        }
    }

    // The program's style fills a top toolbar's edges itself; the pixels must
    // be Fusion's, for one line of bars and for two.
    void toolbarsLookAsFusionDrawsThem() {
        auto fusion = std::unique_ptr<QStyle>(QStyleFactory::create(QStringLiteral("Fusion")));
        AppStyle program;
        for (const int bars : {1, 2}) {
            QList<QImage> looks[2];
            for (QStyle* style : {static_cast<QStyle*>(&program), fusion.get()}) {
                QMainWindow window;
                window.setCentralWidget(new QLabel(QStringLiteral("centre")));
                QList<QToolBar*> toolbars;
                for (int i = 0; i < bars; ++i) {
                    if (i > 0) {
                        window.addToolBarBreak();  // a second line of bars
                    }
                    QToolBar* toolbar = window.addToolBar(QStringLiteral("Bar %1").arg(i));
                    toolbar->setStyle(style);
                    toolbar->addAction(QStringLiteral("Open"));
                    toolbars.append(toolbar);
                }
                window.resize(640, 200);
                window.show();
                QVERIFY(QTest::qWaitForWindowExposed(&window));
                for (QToolBar* toolbar : toolbars) {
                    looks[style == fusion.get() ? 1 : 0].append(toolbar->grab().toImage());
                }
            }
            QCOMPARE(looks[0].size(), bars);
            for (int i = 0; i < bars; ++i) {
                QVERIFY(!looks[0][i].isNull());
                QCOMPARE(looks[0][i], looks[1][i]);
            }
        }
    }

    // Each notice asks for the height and the least width a word-wrapped
    // QLabel with its text would: anything less cuts off its last line or
    // word.
    void noticesWrapAsLabelsDo() {
        FrmOpen start;
        for (const char* name : {"Label1", "Label2", "Label3"}) {
            const QLabel* notice = start.findChild<QLabel*>(QString::fromLatin1(name));
            QVERIFY(notice != nullptr);
            QLabel reference(notice->text());
            reference.setFont(notice->font());
            reference.setAlignment(notice->alignment());
            reference.setWordWrap(true);
            QVERIFY(notice->hasHeightForWidth());
            QCOMPARE(notice->minimumSizeHint().width(), reference.minimumSizeHint().width());
            for (const int width : {0, 40, 82, 169, 300, 778, 960, 1920}) {
                // Asked twice: the second answer comes from what was measured.
                for (int round = 0; round < 2; ++round) {
                    QCOMPARE(notice->heightForWidth(width), reference.heightForWidth(width));
                }
            }
        }
    }
};

QTEST_MAIN(StartWindowTest)
#include "StartWindowTest.moc"
