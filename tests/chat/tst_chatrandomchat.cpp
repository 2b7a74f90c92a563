// Random chats through the controller where a replay cannot reach: the
// login's exact arguments with the user's profile values, and the quit and
// send paths of a tab with and without a session.

#include "chattestsupport.h"
#include "zchatlogger.h"
#include "zmessageview.h"

using namespace zubrel;
using namespace ChatTest;

using Args = QList<ProtocolArg>;

namespace {

// Opens the quit entry point that the chat-action dispatcher uses.
class RandomChatController : public Chat
{
public:
    using Chat::Chat;
    using Chat::quitRandomChat;
};

} // namespace

class tst_ChatRandomChat : public QObject
{
    Q_OBJECT

private:
    Fixture f;
    RandomChatController *controller = nullptr;

    // Search accepted, logged in under id: the session's tab.
    ZChatTab *loggedIn(const QString &id)
    {
        ZModalScript::instance()->queue("dialog", QVariantMap{{"result", 1}});
        f.network()->inject(1, 0xF0A7, {});
        f.network()->succeed(f.network()->lastSent(4, 0x0030).id, {ProtocolArg(6, 0, QStringLiteral("77"))});
        f.network()->succeed(f.network()->lastSent(4, 0x0031).id, {ProtocolArg(6, 0, id)}, 77);
        const QVariantMap rooms = controller->registry().value("randomChats").toMap();
        auto *window = qobject_cast<ZChat *>(rooms.value(id).value<QObject *>());
        return window ? window->tabs().value(0) : nullptr;
    }

private slots:
    void initTestCase() { f.setUpProcess(); }
    void init()
    {
        f.start();
        // The same controller, with the user's age and gender in the profile.
        QJsonObject dir = directory();
        QJsonObject self = dir.value("self").toObject();
        self.insert("profile", QJsonObject{{"DF_AGE", 33}, {"DF_GENDER", 2}});
        dir.insert("self", self);
        CZuBuddy_Administrator::Instance()->clear();
        QVERIFY(CZuBuddy_Administrator::Instance()->loadJson(dir));
        delete f.controller.data();
        f.helper->reset();
        controller = new RandomChatController(f.helper);
        f.controller = controller;
        f.finishMandator();
    }
    void cleanup() { f.stop(); }

    void loginCarriesTheUserWithoutCriterion()
    {
        ZModalScript::instance()->queue("dialog", QVariantMap{{"result", 1}});
        f.network()->inject(1, 0xF0A7, {});
        const SentRequest server = f.network()->lastSent(4, 0x0030);
        QCOMPARE(server.args, (Args{ProtocolArg(6, 688, 0)}));
        f.network()->succeed(server.id, {ProtocolArg(6, 0, QStringLiteral("77"))});
        QCOMPARE(f.network()->lastSent(1, 0xF0F2).args.value(0).type(), quint16(5));
        const SentRequest login = f.network()->lastSent(4, 0x0031);
        QCOMPARE(login.command.applicationServerId(), ushort(77));
        QCOMPARE(login.args, (Args{ProtocolArg(4, 162, 0), ProtocolArg(6, 688, 0), ProtocolArg(0x20, 703, QStringLiteral("Me")),
                                   ProtocolArg(2, 58, 33), ProtocolArg(2, 57, 2)}));
    }

    void quitAndSendNeedASession()
    {
        // Ids are unsigned 32-bit: this one does not fit an int.
        ZChatTab *tab = loggedIn(QStringLiteral("3000000000"));
        QVERIFY(tab);
        QCOMPARE(tab->randomChatId, 3000000000u);
        f.network()->clear();
        controller->quitRandomChat(tab);
        const SentRequest quit = f.network()->lastSent(4, 0x0032);
        QCOMPARE(quit.command.applicationServerId(), ushort(77));
        QCOMPARE(quit.args, (Args{ProtocolArg(6, 706, int(3000000000u))}));

        // Without its session entry neither quitting nor writing sends anything.
        f.network()->clear();
        controller->randomChatInfo.clear();
        controller->quitRandomChat(tab);
        emit tab->sendHtml(QStringLiteral("lost"));
        emit tab->typing();
        controller->quitRandomChat(f.open(anna)); // not a random chat
        QVERIFY(f.network()->sent().isEmpty());
    }

    void scrollingBackShowsNoEarlierStranger()
    {
        // Every random chat is logged under "0": what came before belongs to
        // other people and must not scroll into this one.
        {
            QObject owner;
            ZChatLogger *earlier = ZChatLogger::create(QStringLiteral("0"), &owner, Chat::RandomChatLog);
            QVERIFY(earlier);
            for (int i = 0; i < 60; ++i)
                earlier->appendMessage(QStringLiteral("earlier stranger %1").arg(i), Zr::Received, QStringLiteral("0"));
        }
        ZChatTab *tab = loggedIn(QStringLiteral("41"));
        QVERIFY(tab);
        tab->view->resize(300, 120);
        tab->view->show();
        emit tab->view->olderEntriesWanted();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QVERIFY(!tab->view->toPlainText().contains(QStringLiteral("earlier stranger")));
    }
};

QTEST_MAIN(tst_ChatRandomChat)
#include "tst_chatrandomchat.moc"
