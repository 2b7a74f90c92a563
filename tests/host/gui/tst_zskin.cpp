// Skin registration: a missing file must be reported as a failure and must
// not take away a skin already in use; the shipped file must carry every
// picture the widgets ask for.

#include "zhostevents.h"
#include "zskin.h"

#include <QFile>
#include <QImage>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

class tst_ZSkin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_appDir = qgetenv("ZUBREL_APP_DIR");
        QVERIFY2(!m_appDir.isEmpty(), "tests run with ZUBREL_APP_DIR pointing at the build's application folder");
        QVERIFY(m_empty.isValid());
    }

    void missingFile()
    {
        useAppDir(m_empty.path());
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        QVERIFY(!ZSkin::init(true));
        QVERIFY(!ZSkin::isLoaded());
        QCOMPARE(events.count(), 1);
        QCOMPARE(events.at(0).at(0).toString(), QStringLiteral("skin"));
        const QVariantMap fields = events.at(0).at(1).toMap();
        QCOMPARE(fields.value("op").toString(), QStringLiteral("init"));
        QCOMPARE(fields.value("path").toString(), m_empty.path() + "/skins/zubrel.res");
        QCOMPARE(fields.value("ok").toBool(), false);

        // Without a skin the widgets still get a visible status dot.
        const QPixmap dot = ZSkin::statusIcon(1, 16);
        QCOMPARE(dot.size(), QSize(16, 16));
        const QImage image = dot.toImage();
        QVERIFY(qAlpha(image.pixel(8, 8)) > 0);
        QVERIFY(ZSkin::picture(":/avatar/default", QSize(48, 48)).isNull());
    }

    void shippedFile()
    {
        useAppDir(QString::fromLocal8Bit(m_appDir));
        QVERIFY(QFile::exists(ZSkin::path()));
        QVERIFY(ZSkin::init(false));
        QVERIFY(ZSkin::isLoaded());
        // Registering again must not fail on the already registered file.
        QVERIFY(ZSkin::init(true));
        QVERIFY(ZSkin::init(false));

        for (const char *name : {":/avatar/default", ":/marks/mobile", ":/marks/typing", ":/marks/blocked"}) {
            QVERIFY2(QFile::exists(QString::fromLatin1(name)), name);
            QVERIFY2(!ZSkin::picture(QString::fromLatin1(name), QSize(32, 32)).isNull(), name);
        }
        QSet<QString> resources;
        for (int status = 0; status <= 5; ++status) {
            resources.insert(ZSkin::statusResource(status));
            QVERIFY(QFile::exists(ZSkin::statusResource(status)));
            QVERIFY(!ZSkin::picture(ZSkin::statusResource(status), QSize(16, 16)).isNull());
        }
        QCOMPARE(resources.size(), 6);
        // Values outside the known states show as offline.
        QCOMPARE(ZSkin::statusResource(7), ZSkin::statusResource(0));
        QCOMPARE(ZSkin::statusResource(-1), ZSkin::statusResource(0));
        // Online and offline must be told apart at a glance.
        QVERIFY(ZSkin::statusIcon(1, 16).toImage() != ZSkin::statusIcon(0, 16).toImage());
    }

    void missingFileKeepsLoadedSkin()
    {
        useAppDir(QString::fromLocal8Bit(m_appDir));
        QVERIFY(ZSkin::init(true));
        useAppDir(m_empty.path());
        QVERIFY(!ZSkin::init(true));
        QVERIFY(ZSkin::isLoaded());
        QVERIFY(QFile::exists(":/status/online"));
        useAppDir(QString::fromLocal8Bit(m_appDir));
    }

private:
    void useAppDir(const QString &dir);
    QByteArray m_appDir;
    QTemporaryDir m_empty;
};

void tst_ZSkin::useAppDir(const QString &dir)
{
    qputenv("ZUBREL_APP_DIR", dir.toLocal8Bit());
}

QTEST_MAIN(tst_ZSkin)
#include "tst_zskin.moc"
