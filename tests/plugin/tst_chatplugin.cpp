// Bringing the module up: the plug-in object, the login question (1, 2), the
// switch of the per-user stores and the controller built on each ready.

#include <QPluginLoader>
#include <QSignalSpy>
#include <QtTest>

#include "chat.h"
#include "chatplugin.h"
#include "czubuddy_administrator.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"
#include "zabstractlogger.h"
#include "zdir.h"
#include "zsettings.h"

using namespace zubrel;

class tst_ChatPlugin : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir profile;
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    SimulatedNetwork *network() { return helper->simulatedNetwork(); }
    QObject *logPlugin()
    {
        QPluginLoader loader(ZAbstractLogger::pluginPath(QStringLiteral("chatlogger")));
        return loader.instance();
    }
    int controllers() const { return int(helper->findChildren<Chat *>().size()); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("ZUBREL_APP_DIR", TEST_APP_DIR);
        qputenv("ZUBREL_PROFILE", profile.path().toUtf8());
    }

    void init()
    {
        helper->reset();
        CZuBuddy_Administrator::Instance()->clear();
        qDeleteAll(helper->findChildren<Chat *>());
    }

    void identity()
    {
        ChatPlugin plugin;
        QCOMPARE(plugin.name(), QStringLiteral("ZubrelChat"));
        QCOMPARE(plugin.version(), QStringLiteral("1.0.0"));
        QCOMPARE(plugin.moduleId(), ushort(4));
    }

    void stopWithoutStartAndTwiceIsHarmless()
    {
        ChatPlugin plugin;
        plugin.stop();
        plugin.stop();
        QVERIFY(!plugin.forwardToHelper(QStringLiteral("anything"), {}).isValid());
        QVERIFY(network()->sent().isEmpty());
    }

    void startAsksWhoIsLoggedIn()
    {
        ChatPlugin plugin;
        plugin.start();
        QCOMPARE(network()->sent().size(), 1);
        const SentRequest sent = network()->lastSent();
        QVERIFY(sent.command.isCommand(1, 2));
        QVERIFY(sent.args.isEmpty());
        QCOMPARE(sent.module, -1);
        plugin.forwardToHelper(QStringLiteral("call"), {1, 2});
        QCOMPARE(helper->hostCalls().size(), 1);
        QCOMPARE(helper->hostCalls().at(0).first, QStringLiteral("call"));
    }

    void answerSwitchesSettingsAndLogToTheUser()
    {
        ChatPlugin plugin;
        plugin.start();
        const uint id = network()->lastSent(1, 2).id;
        QVERIFY(network()->succeed(id, {ProtocolArg(6, 0, 4200017u)}));
        QCOMPARE(ZSettings::instance()->user(), QStringLiteral("4200017"));
        QCOMPARE(logPlugin()->property("userId").toString(), QStringLiteral("4200017"));
        QCOMPARE(ZDir::currentUser(), QStringLiteral("4200017"));
        QVERIFY(helper->unfreedRequests().isEmpty());
    }

    void failedAnswerIsFreedAndChangesNothing()
    {
        ZSettings::instance()->changeUser(QStringLiteral("55"));
        ChatPlugin plugin;
        plugin.start();
        QVERIFY(network()->fail(network()->lastSent(1, 2).id));
        QCOMPARE(ZSettings::instance()->user(), QStringLiteral("55"));
        QVERIFY(helper->unfreedRequests().isEmpty());
    }

    void answerWithoutUserIdKeepsTheStores()
    {
        ZSettings::instance()->changeUser(QStringLiteral("56"));
        ChatPlugin plugin;
        plugin.start();
        QVERIFY(network()->succeed(network()->lastSent(1, 2).id, {}));
        QCOMPARE(ZSettings::instance()->user(), QStringLiteral("56"));
        QVERIFY(helper->unfreedRequests().isEmpty());
    }

    void eachReadyBuildsOneController()
    {
        ChatPlugin plugin;
        plugin.start();
        QCOMPARE(controllers(), 0);
        CZuBuddy_Administrator::Instance()->setReady();
        QCOMPARE(controllers(), 1);
        QCOMPARE(helper->readyModules(), QList<ushort>{4});
        CZuBuddy_Administrator::Instance()->setReady();
        QCOMPARE(controllers(), 2);
    }

    void controllerOutlivesStop()
    {
        ChatPlugin plugin;
        plugin.start();
        plugin.stop();
        // The server is gone: a ready report reaches nobody now.
        CZuBuddy_Administrator::Instance()->setReady();
        QCOMPARE(controllers(), 0);
        plugin.start(); // the directory is ready already: built at once
        QCOMPARE(controllers(), 1);
        plugin.stop();
        QCOMPARE(controllers(), 1);
    }

    void answerAfterStopIsHarmless()
    {
        auto plugin = std::make_unique<ChatPlugin>();
        plugin->start();
        const uint id = network()->lastSent(1, 2).id;
        plugin.reset();
        network()->succeed(id, {ProtocolArg(6, 0, 7u)});
        QCOMPARE(helper->unfreedRequests(), QList<uint>{id}); // nobody left to free it; no crash
    }
};

QTEST_MAIN(tst_ChatPlugin)
#include "tst_chatplugin.moc"
