#include "zdir.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

class tst_ZDir : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_profile.isValid());
    }

    void init()
    {
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
        ZDir::setCurrentUser(QString());
    }

    void applicationPathPrecedence()
    {
        const QByteArray saved = qgetenv("ZUBREL_APP_DIR");
        qunsetenv("ZUBREL_APP_DIR");
        ZDir::setApplicationPath(QString());
        QCOMPARE(ZDir::applicationPath(), QCoreApplication::applicationDirPath());
        ZDir::setApplicationPath(QStringLiteral("/opt/zubrel/"));
        QCOMPARE(ZDir::applicationPath(), QStringLiteral("/opt/zubrel"));
        qputenv("ZUBREL_APP_DIR", "/from/env");
        QCOMPARE(ZDir::applicationPath(), QStringLiteral("/from/env"));
        ZDir::setApplicationPath(QString());
        if (saved.isEmpty())
            qunsetenv("ZUBREL_APP_DIR");
        else
            qputenv("ZUBREL_APP_DIR", saved);
    }

    void profilePathPrecedence()
    {
        qunsetenv("ZUBREL_PROFILE");
        QCOMPARE(ZDir::profilePath(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        ZDir::setProfilePath(m_profile.filePath("set"));
        QCOMPARE(ZDir::profilePath(), m_profile.filePath("set"));
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
        QCOMPARE(ZDir::profilePath(), m_profile.path());
        ZDir::setProfilePath(QString());
    }

    void userFolder_data()
    {
        QTest::addColumn<QString>("userId");
        QTest::addColumn<QString>("folder");
        QTest::newRow("number") << "123456" << "123456";
        QTest::newRow("zero") << "0" << "0";
        QTest::newRow("empty") << "" << "default";
        QTest::newRow("parent") << "../x" << "default";
        QTest::newRow("dot dot") << ".." << "default";
        QTest::newRow("slash") << "a/b" << "default";
        QTest::newRow("absolute") << "/etc" << "default";
        QTest::newRow("backslash") << "12\\34" << "default";
        QTest::newRow("signed") << "-5" << "default";
        QTest::newRow("space") << " 12" << "default";
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662") << "default";
        QTest::newRow("word default") << "default" << "default";
    }
    void userFolder()
    {
        QFETCH(QString, userId);
        QFETCH(QString, folder);
        QCOMPARE(ZDir::userFolderName(userId), folder);
        const QString path = ZDir::userPath(userId);
        QCOMPARE(path, m_profile.path() + "/users/" + folder);
        // Whatever the id, the folder stays inside the profile.
        QVERIFY(QFileInfo(path).canonicalFilePath().startsWith(QFileInfo(m_profile.path()).canonicalFilePath() + "/users/"));
    }

    void userPathIsCreated()
    {
        const QString expected = m_profile.path() + "/users/777";
        QVERIFY(!QFileInfo::exists(expected));
        QCOMPARE(ZDir::userPath("777"), expected);
        QVERIFY(QFileInfo(expected).isDir());
    }

    void perUserFolders()
    {
        ZDir::setCurrentUser("42");
        QCOMPARE(ZDir::currentUser(), QStringLiteral("42"));
        const QString user = m_profile.path() + "/users/42";
        QCOMPARE(ZDir::currentUserPath(), user);

        QCOMPARE(ZDir::smileysPath(false), user + "/smileys");
        QVERIFY(!QFileInfo::exists(user + "/smileys"));
        QCOMPARE(ZDir::pushMessagesPath(false), user + "/pushmessages");
        QCOMPARE(ZDir::pushMessagesTempPath(false), user + "/pushmessages_tmp");
        QCOMPARE(ZDir::tempPath(false), user + "/temp");
        QVERIFY(!QFileInfo::exists(user + "/pushmessages"));

        QVERIFY(QFileInfo(ZDir::smileysPath(true)).isDir());
        QVERIFY(QFileInfo(ZDir::pushMessagesPath(true)).isDir());
        QVERIFY(QFileInfo(ZDir::pushMessagesTempPath(true)).isDir());
        QVERIFY(QFileInfo(ZDir::tempPath(true)).isDir());

        // A bad current user falls back to the default folder as well.
        ZDir::setCurrentUser("../../etc");
        QCOMPARE(ZDir::smileysPath(false), m_profile.path() + "/users/default/smileys");
    }

private:
    QTemporaryDir m_profile;
};

QTEST_GUILESS_MAIN(tst_ZDir)
#include "tst_zdir.moc"
