#include "zdir.h"
#include "zhostevents.h"
#include "zsettings.h"

#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

class tst_ZSettings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_profile.isValid());
        // Before the store is first used: it opens its file on creation.
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
    }

    void defaultUserBeforeLogin()
    {
        ZSettings *settings = ZSettings::instance();
        QCOMPARE(settings->user(), QString());
        QCOMPARE(settings->fileName(), iniOf("default"));
        QCOMPARE(settings->get("missing", 17, "zchat"), QVariant(17));
        QVERIFY(!settings->get("missing").isValid());
    }

    void setReportsAndWrites()
    {
        ZSettings *settings = ZSettings::instance();
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        QSignalSpy written(settings, &ZSettings::valueWritten);

        settings->set("use_tabs", true, "zchat");

        QCOMPARE(events.size(), 1);
        QCOMPARE(events.at(0).at(0).toString(), QStringLiteral("setting"));
        const QVariantMap fields = events.at(0).at(1).toMap();
        QCOMPARE(fields.size(), 3);
        QCOMPARE(fields.value("group"), QVariant("zchat"));
        QCOMPARE(fields.value("key"), QVariant("use_tabs"));
        QCOMPARE(fields.value("value"), QVariant(true));
        QCOMPARE(written.size(), 1);
        QCOMPARE(written.at(0), QVariantList({"zchat", "use_tabs", true}));
        QCOMPARE(settings->get("use_tabs", false, "zchat").toBool(), true);

        settings->sync();
        QSettings file(iniOf("default"), QSettings::IniFormat);
        QCOMPARE(file.value("zchat/use_tabs").toBool(), true);
    }

    void emptyGroupIsGeneral()
    {
        ZSettings *settings = ZSettings::instance();
        settings->set("plainkey", "text");
        settings->sync();
        QSettings file(iniOf("default"), QSettings::IniFormat);
        QCOMPARE(file.value("plainkey").toString(), QStringLiteral("text"));
        QCOMPARE(settings->get("plainkey", QString(), QString()).toString(), QStringLiteral("text"));
        // A key of the same name in a group is a different value.
        QVERIFY(!settings->get("plainkey", QVariant(), "zchat").isValid());
    }

    void typesSurviveReopen()
    {
        ZSettings *settings = ZSettings::instance();
        settings->changeUser("500");
        settings->set("sound", false, "zchat");
        settings->set("chat_x_42", -1, "zchat");
        settings->set("spelling_language", QString::fromUtf8("de_DE ä"), "spelling");
        settings->set("nice push", 4, "pushmessage");
        settings->changeUser("501"); // syncs and closes the file of 500
        QCOMPARE(QSettings(iniOf("500"), QSettings::IniFormat).value("zchat/sound").toBool(), false);
        QVERIFY(!settings->get("sound", QVariant(), "zchat").isValid());
        settings->changeUser("500");
        QCOMPARE(settings->get("sound", true, "zchat").toBool(), false);
        QCOMPARE(settings->get("chat_x_42", 0, "zchat").toInt(), -1);
        QCOMPARE(settings->get("spelling_language", QString(), "spelling").toString(), QString::fromUtf8("de_DE ä"));
        QCOMPARE(settings->get("nice push", 0, "pushmessage").toInt(), 4);
    }

    void changeUserSwitchesFile()
    {
        ZSettings *settings = ZSettings::instance();
        settings->changeUser(QString());
        settings->set("who", "nobody", "zchat");

        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        QSignalSpy changed(settings, &ZSettings::userChanged);
        settings->changeUser("123");

        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("123"));
        QCOMPARE(events.size(), 1);
        QCOMPARE(events.at(0).at(0).toString(), QStringLiteral("user"));
        QCOMPARE(events.at(0).at(1).toMap(), QVariantMap({{"id", "123"}}));
        QCOMPARE(settings->user(), QStringLiteral("123"));
        QCOMPARE(ZDir::currentUser(), QStringLiteral("123"));
        QCOMPARE(settings->fileName(), iniOf("123"));
        // The default user's values are not the logged-in user's.
        QVERIFY(!settings->get("who", QVariant(), "zchat").isValid());
        QCOMPARE(ZDir::smileysPath(false), m_profile.path() + "/users/123/smileys");
    }

    void badUserIdsUseDefault_data()
    {
        QTest::addColumn<QString>("userId");
        QTest::newRow("parent") << "../x";
        QTest::newRow("slash") << "a/b";
        QTest::newRow("letters") << "admin";
        QTest::newRow("empty") << "";
    }
    void badUserIdsUseDefault()
    {
        QFETCH(QString, userId);
        ZSettings *settings = ZSettings::instance();
        settings->changeUser("123");
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        QSignalSpy changed(settings, &ZSettings::userChanged);
        settings->changeUser(userId);
        QCOMPARE(settings->fileName(), iniOf("default"));
        QCOMPARE(settings->user(), QString());
        QCOMPARE(ZDir::currentUser(), QString());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString());
        // The trace shows what was asked for.
        QCOMPARE(events.size(), 1);
        QCOMPARE(events.at(0).at(1).toMap().value("id").toString(), userId);
        QVERIFY(!QFileInfo::exists(m_profile.path() + "/x"));
        QVERIFY(!QFileInfo::exists(m_profile.path() + "/users/a"));
    }

private:
    QString iniOf(const QString &folder) const { return m_profile.path() + "/users/" + folder + "/settings.ini"; }
    QTemporaryDir m_profile;
};

QTEST_GUILESS_MAIN(tst_ZSettings)
#include "tst_zsettings.moc"
