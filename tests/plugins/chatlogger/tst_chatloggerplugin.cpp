// The installed chat-log plug-in as the chat module loads it: the real file
// under the application folder, both interfaces, one history per user.

#include <QDir>
#include <QFile>
#include <QPluginLoader>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "zdir.h"
#include "zloggerinterfaces.h"

using zubrel::ZDir;

class tst_ChatLoggerPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsInstalledPlugin();
    void appendsBeforeLoginAreKeptAndWritten();
    void historyLivesInTheUserFolder();
    void usersNeverSeeEachOther();
    void nonNumericUserStaysInsideProfile();
    void cleanupTestCase();

private:
    MessageStruct record(const QString &contact, const QString &text) const;

    QTemporaryDir m_profile;
    QPluginLoader m_loader;
    ZLoggerInterface *m_logger = nullptr;
    ZChatLoggerInterface *m_chatLogger = nullptr;
};

MessageStruct tst_ChatLoggerPlugin::record(const QString &contact, const QString &text) const
{
    MessageStruct m;
    m.contact = contact;
    m.time = QDateTime::fromMSecsSinceEpoch(1712345678901, Qt::UTC);
    m.message = text;
    m.alias = QStringLiteral("Nick \U0001F680");
    m.chatKind = 1;
    m.direction = Zr::Received;
    return m;
}

void tst_ChatLoggerPlugin::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_profile.isValid());
    qputenv("ZUBREL_PROFILE", m_profile.path().toLocal8Bit());
    QVERIFY(qEnvironmentVariableIsSet("ZUBREL_APP_DIR"));
}

void tst_ChatLoggerPlugin::loadsInstalledPlugin()
{
    const QString path = qEnvironmentVariable("ZUBREL_APP_DIR") + QStringLiteral("/plugins/log/chatlogger.so");
    QVERIFY2(QFile::exists(path), qPrintable(path));
    m_loader.setFileName(path);
    QVERIFY2(m_loader.load(), qPrintable(m_loader.errorString()));
    QCOMPARE(m_loader.metaData().value(QStringLiteral("IID")).toString(),
             QStringLiteral(ZChatLoggerInterface_iid));
    QObject *root = m_loader.instance();
    QVERIFY(root);
    m_logger = qobject_cast<ZLoggerInterface *>(root);
    m_chatLogger = qobject_cast<ZChatLoggerInterface *>(root);
    QVERIFY(m_logger);
    QVERIFY(m_chatLogger);
    QVERIFY(root->inherits(ZLoggerInterface_iid));
    QVERIFY(root->inherits(ZChatLoggerInterface_iid));
    // Later interfaces come in addition; the ids older modules ask for stay.
    QVERIFY(qobject_cast<ZChatLogPagingInterface *>(root));
    QVERIFY(qobject_cast<ZChatLogSearchInterface *>(root));
    const QStringList ids{ZLoggerInterface_iid, ZChatLoggerInterface_iid, ZChatLogPagingInterface_iid,
                          ZChatLogSearchInterface_iid};
    QCOMPARE(ids, QStringList({"com.zubrelnetworks.Zubrel.ZLoggerInterface/1.1",
                               "com.zubrelnetworks.Zubrel.ZChatLoggerInterface/1.1",
                               "com.zubrelnetworks.Zubrel.ZChatLogPagingInterface/1.0",
                               "com.zubrelnetworks.Zubrel.ZChatLogSearchInterface/1.0"}));
}

void tst_ChatLoggerPlugin::appendsBeforeLoginAreKeptAndWritten()
{
    QVERIFY(m_chatLogger);
    m_chatLogger->appendMessage(record(QStringLiteral("55"), QStringLiteral("before login")));
    QCOMPARE(m_chatLogger->lastMessages(10, QStringLiteral("55")).size(), 1);
    m_logger->setUserId(QStringLiteral("1001"));
    QVERIFY(QFile::exists(ZDir::userPath(QStringLiteral("1001")) + QStringLiteral("/chatlog.sqlite")));
    const QList<MessageStruct> found = m_chatLogger->lastMessages(10, QStringLiteral("55"));
    QCOMPARE(found.size(), 1);
    QVERIFY(found.first() == record(QStringLiteral("55"), QStringLiteral("before login")));
}

void tst_ChatLoggerPlugin::historyLivesInTheUserFolder()
{
    QVERIFY(m_chatLogger);
    m_logger->setUserId(QStringLiteral("1001"));
    MessageStruct multi = record(QStringLiteral("56"), QStringLiteral("<i>multi</i> \U0001F600"));
    multi.chatKind = 0;
    multi.uuid = QUuid::createUuid();
    multi.direction = Zr::Sent;
    m_chatLogger->appendMessage(multi);
    const QList<MessageStruct> found = m_chatLogger->lastMessages(20, multi.uuid);
    QCOMPARE(found.size(), 1);
    QVERIFY(found.first() == multi);
    QVERIFY(m_chatLogger->lastMessages(20, QStringLiteral("56")).isEmpty());
    const QString expected = m_profile.path() + QStringLiteral("/users/1001/chatlog.sqlite");
    QVERIFY2(QFile::exists(expected), qPrintable(expected));
}

void tst_ChatLoggerPlugin::usersNeverSeeEachOther()
{
    QVERIFY(m_chatLogger);
    m_logger->setUserId(QStringLiteral("1001"));
    m_chatLogger->appendMessage(record(QStringLiteral("7"), QStringLiteral("to 1001")));
    m_logger->setUserId(QStringLiteral("1002"));
    QVERIFY(m_chatLogger->lastMessages(20, QStringLiteral("7")).isEmpty());
    QVERIFY(m_chatLogger->lastMessages(20, QStringLiteral("55")).isEmpty());
    m_chatLogger->appendMessage(record(QStringLiteral("7"), QStringLiteral("to 1002")));
    m_logger->setUserId(QStringLiteral("1001"));
    const QList<MessageStruct> found = m_chatLogger->lastMessages(20, QStringLiteral("7"));
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first().message, QStringLiteral("to 1001"));
    m_logger->setUserId(QStringLiteral("1002"));
    QCOMPARE(m_chatLogger->lastMessages(20, QStringLiteral("7")).size(), 1);
    QCOMPARE(m_chatLogger->lastMessages(20, QStringLiteral("7")).first().message, QStringLiteral("to 1002"));
}

void tst_ChatLoggerPlugin::nonNumericUserStaysInsideProfile()
{
    QVERIFY(m_chatLogger);
    m_logger->setUserId(QStringLiteral("../../escape"));
    m_chatLogger->appendMessage(record(QStringLiteral("8"), QStringLiteral("odd user")));
    QVERIFY(QFile::exists(m_profile.path() + QStringLiteral("/users/default/chatlog.sqlite")));
    QVERIFY(!QFile::exists(m_profile.path() + QStringLiteral("/../escape")));
    QVERIFY(!QDir(m_profile.path() + QStringLiteral("/..")).exists(QStringLiteral("escape")));
}

void tst_ChatLoggerPlugin::cleanupTestCase()
{
    // The root object closes its database when the library is unloaded.
    if (m_loader.isLoaded())
        QVERIFY(m_loader.unload());
}

QTEST_GUILESS_MAIN(tst_ChatLoggerPlugin)
#include "tst_chatloggerplugin.moc"
