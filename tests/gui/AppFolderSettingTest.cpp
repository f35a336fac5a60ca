#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/AppFolderSetting.h"
#include "common/QtText.h"

using namespace torrenta::gui;

// The application folder comes from the system-wide InstallPath setting when
// there is one, else from where the program runs.
class AppFolderSettingTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsFolder_;

    void WriteInstallPath(const QVariant& value) {
        QSettings settings(QSettings::SystemScope, QStringLiteral("Quillmoor"),
                           QStringLiteral("Squallbox"));
        if (value.isValid()) {
            settings.setValue(QStringLiteral("InstallPath"), value);
        } else {
            settings.remove(QStringLiteral("InstallPath"));
        }
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsFolder_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, settingsFolder_.path());
    }

    void installPathDecides_data() {
        QTest::addColumn<QVariant>("installPath");
        QTest::addColumn<QString>("expected");
        const QString buildFolder = QCoreApplication::applicationDirPath();
        QTest::newRow("no setting: the executable's folder holds the template")
            << QVariant() << buildFolder;
        QTest::newRow("empty setting") << QVariant(QString()) << buildFolder;
        QTest::newRow("a folder") << QVariant(QStringLiteral("/opt/squallbox"))
                                  << QStringLiteral("/opt/squallbox");
        QTest::newRow("terminating NUL dropped")
            << QVariant(QStringLiteral("/opt/squallbox") + QChar(u'\0'))
            << QStringLiteral("/opt/squallbox");
    }

    void installPathDecides() {
        QFETCH(QVariant, installPath);
        QFETCH(QString, expected);
        WriteInstallPath(installPath);
        QCOMPARE(ToQ(DetermineAppFolder()), expected);
    }
};

QTEST_MAIN(AppFolderSettingTest)
#include "AppFolderSettingTest.moc"
