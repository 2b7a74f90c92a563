// The XMPP backend against the run's private Prosody: the module's side is driven
// through the messaging helper (requests sent, commands delivered), the
// other person is a second connection on the same server.
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gloox/client.h>
#include <gloox/dataform.h>
#include <sys/stat.h>
#include <gloox/message.h>
#include <gloox/mucroom.h>
#include <gloox/rostermanager.h>
#include <gloox/tag.h>
#include <gloox/vcard.h>
#include <gloox/vcardhandler.h>
#include <gloox/vcardmanager.h>

#include "czubuddy_administrator.h"
#include "request.h"
#include "wrappluginhelper.h"
#include "xmppfixture.h"
#include "xmppbackend.h"
#include "xmppidmap.h"
#include "xmppmatchmaker.h"
#include "xmppmultichats.h"
#include "xmppoutbox.h"
#include "xmpppasswordfile.h"
#include "zdatetime.h"

using namespace zubrel;

namespace {

// Only reached when something is wrong; two busy cores can be slow.
constexpr int waitMs = 30000;

struct Delivered
{
    ProtocolCommand command;
    QList<ProtocolArg> args;
};

// The other person's side of a room: what it hears.
struct PeerRoom : gloox::MUCRoomHandler
{
    QStringList bodies;
    bool kicked = false;
    bool joined = false;
    void handleMUCParticipantPresence(gloox::MUCRoom *, const gloox::MUCRoomParticipant participant,
                                      const gloox::Presence &presence) override
    {
        if (participant.flags & gloox::UserSelf) {
            joined = presence.subtype() != gloox::Presence::Unavailable;
            kicked = kicked || (participant.flags & gloox::UserKicked);
        }
    }
    void handleMUCMessage(gloox::MUCRoom *, const gloox::Message &message, bool) override
    {
        if (!message.body().empty())
            bodies.append(QString::fromStdString(message.body()));
    }
    bool publicJids = false; // a new room shows real JIDs to everyone
    bool handleMUCRoomCreation(gloox::MUCRoom *room) override
    {
        if (!publicJids)
            return true;
        auto *form = new gloox::DataForm(gloox::TypeSubmit);
        form->addField(gloox::DataFormField::TypeHidden, "FORM_TYPE", "http://jabber.org/protocol/muc#roomconfig");
        form->addField(gloox::DataFormField::TypeListSingle, "muc#roomconfig_whois", "anyone");
        room->setRoomConfig(form);
        return false;
    }
    void handleMUCSubject(gloox::MUCRoom *, const std::string &, const std::string &) override {}
    void handleMUCInviteDecline(gloox::MUCRoom *, const gloox::JID &, const std::string &) override {}
    void handleMUCError(gloox::MUCRoom *, gloox::StanzaError) override {}
    void handleMUCInfo(gloox::MUCRoom *, int, const std::string &, const gloox::DataForm *) override {}
    void handleMUCItems(gloox::MUCRoom *, const gloox::Disco::ItemList &) override {}
};

} // namespace

class TestXmppNetwork : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void idsArePersistentAndNeverCollide();
    void passwordFileReadableByItsOwnerOnly_data();
    void passwordFileReadableByItsOwnerOnly();
    void signInAnswersWithOwnNumberAndFillsDirectory();
    void picturesComeFromVCards();
    void messagesAndTypingBothWays();
    void storedMessagesArriveWithTheirSendTime();
    void bouncesFailAndUnavailableCommandsSaySo();
    void privateSessionsAndBlocking();
    void multiChatCycle();
    void randomChatThroughTheMatchmaker();
    void strangersAndMalformedPayloadsAreIgnored();
    void dropQueuesInOrderAndTimesOut();
    void rosterChangesReachTheDirectory();
    void roomGoneWhileAwayIsShownClosed();

private:
    uint send(ushort a, ushort b, const QList<ProtocolArg> &args, int module = -1);
    QList<Delivered> deliveredOf(ushort a, ushort b) const;
    uint bobId() const { return m_backend->ids()->idOf(m_server.jid(QStringLiteral("bob"))); }

    XmppFixture m_server;
    QTemporaryDir m_profile;
    std::unique_ptr<XmppBackend> m_backend;
    std::unique_ptr<XmppConnection> m_bob;
    QList<XmppIncoming> m_bobReceived;
    QList<Delivered> m_delivered;
    QHash<uint, bool> m_completed; // request id -> success
};

void TestXmppNetwork::initTestCase()
{
    QVERIFY2(m_server.isUp(), "no server: run through ctest (fixture xmpp_server)");
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    connect(helper, &WrapPluginHelper::incomingDelivered, this, [this](Request *request) {
        m_delivered.append({request->protocol()->command(), request->protocol()->args()});
        WrapPluginHelper::Instance()->requestSucceeded(request, nullptr);
    });
    connect(helper, &WrapPluginHelper::requestCompleted, this,
            [this](Request *request, bool success) { m_completed.insert(request->id(), success); });
    m_backend = std::make_unique<XmppBackend>(m_server.settings(QStringLiteral("alice")), m_profile.filePath("ids.json"));
    m_bob = std::make_unique<XmppConnection>(m_server.settings(QStringLiteral("bob")));
    connect(m_bob.get(), &XmppConnection::messageReceived, this,
            [this](const XmppIncoming &message) { m_bobReceived.append(message); });
    m_backend->start();
    m_bob->open();
    QTRY_VERIFY_WITH_TIMEOUT(m_backend->connection()->isConnected() && m_bob->isConnected(), waitMs);
    QTRY_VERIFY_WITH_TIMEOUT(CZuBuddy_Administrator::Instance()->isReady(), waitMs);
}

void TestXmppNetwork::cleanupTestCase()
{
    m_server.setRunning(true); // whatever a failed case left behind
    m_bob.reset();
    m_backend.reset();
}

uint TestXmppNetwork::send(ushort a, ushort b, const QList<ProtocolArg> &args, int module)
{
    Protocol protocol{ProtocolCommand(a, b)};
    protocol.setArgs(args);
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    QPointer<Request> request = helper->createRequest(protocol, nullptr);
    if (module < 0)
        helper->sendRequest(request);
    else
        helper->sendRequestToModule(request, ushort(module));
    return request->id();
}

QList<Delivered> TestXmppNetwork::deliveredOf(ushort a, ushort b) const
{
    QList<Delivered> found;
    for (const Delivered &delivered : m_delivered) {
        if (delivered.command.isCommand(a, b))
            found.append(delivered);
    }
    return found;
}

void TestXmppNetwork::idsArePersistentAndNeverCollide()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sub/ids.json"));
    uint carol = 0;
    {
        XmppIdMap ids(file);
        carol = ids.idOf(QStringLiteral("Carol@Example.org/phone"));
        QCOMPARE(carol, XmppIdMap::firstId);
        QCOMPARE(ids.idOf(QStringLiteral("carol@example.org")), carol);
        QCOMPARE(ids.idOf(QStringLiteral("dave@example.org")), carol + 1);
        QCOMPARE(ids.idOf(QStringLiteral("not a jid")), 0u);
        QCOMPARE(ids.idOf(QStringLiteral("@example.org")), 0u);
    }
    XmppIdMap again(file);
    QCOMPARE(again.jidOf(carol), QStringLiteral("carol@example.org"));
    QCOMPARE(again.idOf(QStringLiteral("erin@example.org")), carol + 2);
}

void TestXmppNetwork::passwordFileReadableByItsOwnerOnly_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("permissions");
    QTest::addColumn<QString>("password"); // empty: refused
    QTest::newRow("owner only") << QByteArray("s3cret\r\nsecond line") << 0600 << QStringLiteral("s3cret");
    QTest::newRow("owner read only") << QByteArray("s3cret") << 0400 << QStringLiteral("s3cret");
    QTest::newRow("group can read") << QByteArray("s3cret") << 0640 << QString();
    QTest::newRow("others can read") << QByteArray("s3cret") << 0604 << QString();
    QTest::newRow("others can write") << QByteArray("s3cret") << 0602 << QString();
    QTest::newRow("empty") << QByteArray("\n") << 0600 << QString();
    QTest::newRow("missing") << QByteArray() << -1 << QString();
}

void TestXmppNetwork::passwordFileReadableByItsOwnerOnly()
{
    QFETCH(QByteArray, content);
    QFETCH(int, permissions);
    QFETCH(QString, password);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("password"));
    if (permissions >= 0) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(permissions)) == 0);
    }
    QString read;
    QString error;
    QCOMPARE(XmppPasswordFile::read(path, &read, &error), !password.isEmpty());
    QCOMPARE(read, password);
    QVERIFY(!error.contains(QLatin1String("s3cret")));
}

void TestXmppNetwork::signInAnswersWithOwnNumberAndFillsDirectory()
{
    const uint request = send(1, 2, {});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.contains(request), waitMs);
    QVERIFY(m_completed.value(request));
    const uint self = WrapPluginHelper::Instance()->request(request)->response()->arg(0).variant().toUInt();
    QCOMPARE(self, m_backend->selfId());
    CZuBuddy_Administrator *directory = CZuBuddy_Administrator::Instance();
    QCOMPARE(directory->currentUserId(), self);
    const BuddyData *bob = directory->data(bobId());
    QVERIFY(bob);
    QCOMPARE(bob->nickname, QStringLiteral("bob"));
    QTRY_COMPARE_WITH_TIMEOUT(directory->data(bobId())->userState, 1, waitMs);
}

void TestXmppNetwork::picturesComeFromVCards()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
    struct Stored : gloox::VCardHandler
    {
        bool done = false;
        void handleVCard(const gloox::JID &, const gloox::VCard *) override {}
        void handleVCardResult(VCardContext, const gloox::JID &, gloox::StanzaError) override { done = true; }
    } stored;
    {
        gloox::VCardManager manager(m_bob->client()); // gone before bob's client is
        auto *vcard = new gloox::VCard;
        vcard->setPhoto("image/png", png.toStdString());
        manager.storeVCard(vcard, &stored);
        QTRY_VERIFY_WITH_TIMEOUT(stored.done, waitMs);
    }
    // Bob comes online again: his picture is fetched and kept under his number.
    m_bob->close();
    QTRY_COMPARE_WITH_TIMEOUT(CZuBuddy_Administrator::Instance()->data(bobId())->userState, 0, waitMs);
    m_bob->open();
    QTRY_VERIFY_WITH_TIMEOUT(!CZuBuddy_Administrator::Instance()->data(bobId())->picturePath.isEmpty(), waitMs);
    const QString path = CZuBuddy_Administrator::Instance()->data(bobId())->picturePath;
    QVERIFY(path.endsWith(QStringLiteral("/pictures/%1.picture").arg(bobId())));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), png);
}

void TestXmppNetwork::messagesAndTypingBothWays()
{
    const QString bobText = QString::number(bobId());
    m_bobReceived.clear();
    // Out: the plain body for other clients, HTML and picture in the payload.
    const uint message = send(4, 0x0001,
                              {ProtocolArg(6, 9, bobText), ProtocolArg(32, 10, QByteArray("<b>Hi</b> <img src=\"%1\">")),
                               ProtocolArg(4, 637, 1), ProtocolArg(32, 0, QByteArray("PNG\0bytes", 9))});
    send(4, 0x0003, {ProtocolArg(6, 9, bobText)});
    QTRY_COMPARE_WITH_TIMEOUT(m_bobReceived.size(), 2, waitMs);
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.value(message), waitMs);
    QVERIFY(m_bobReceived.at(0).composing || m_bobReceived.at(1).composing);
    const XmppIncoming text = m_bobReceived.at(0).composing ? m_bobReceived.at(1) : m_bobReceived.at(0);
    QCOMPARE(text.body, QStringLiteral("Hi [picture]"));
    QCOMPARE(text.html, QStringLiteral("<b>Hi</b> <img src=\"%1\">"));
    QCOMPARE(text.pictures, QList<QByteArray>{QByteArray("PNG\0bytes", 9)});

    // In: typing, a plain body from another client (escaped), our payload,
    // and the same stanza twice (a resend after a drop) shown once.
    m_delivered.clear();
    const QString alice = m_server.jid(QStringLiteral("alice"));
    m_bob->sendChatState(alice, true);
    m_bob->sendMessage(alice, QStringLiteral("p1"), QStringLiteral("a < b\nc"), nullptr);
    XmppPayload payload;
    payload.html = QStringLiteral("<i>x</i><img src=\"%1\">");
    payload.pictures = {QByteArray("GIF")};
    m_bob->sendMessage(alice, QStringLiteral("p2"), QStringLiteral("x"), &payload);
    m_bob->sendMessage(alice, QStringLiteral("p2"), QStringLiteral("x"), &payload);
    m_bob->sendAttention(alice);
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x8015).size(), 1, waitMs);
    QCOMPARE(deliveredOf(4, 0x8003).size(), 1);
    QCOMPARE(deliveredOf(4, 0x8003).first().args.first().variant().toString(), bobText);
    const QList<Delivered> messages = deliveredOf(4, 0xF0A1);
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.at(0).args, (QList<ProtocolArg>{ProtocolArg(6, 9, bobText), ProtocolArg(32, 10, QByteArray("a &lt; b<br>c"))}));
    QCOMPARE(messages.at(1).args,
             (QList<ProtocolArg>{ProtocolArg(6, 9, bobText), ProtocolArg(32, 10, QByteArray("<i>x</i><img src=\"%1\">")),
                                 ProtocolArg(4, 637, 1), ProtocolArg(32, 0, QByteArray("GIF"))}));
    QCOMPARE(deliveredOf(4, 0x8015).first().args.at(1), ProtocolArg(6, 673, 1));
}

void TestXmppNetwork::storedMessagesArriveWithTheirSendTime()
{
    m_backend->connection()->close();
    QTRY_VERIFY_WITH_TIMEOUT(!m_backend->connection()->isConnected(), waitMs);
    m_delivered.clear();
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-2);
    m_bob->sendMessage(m_server.jid(QStringLiteral("alice")), QStringLiteral("off1"), QStringLiteral("while away"), nullptr);
    QTest::qWait(300); // nothing to wait for: the server stores it silently
    m_backend->connection()->open();
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0xF0A1).size(), 1, waitMs);
    const QList<ProtocolArg> args = deliveredOf(4, 0xF0A1).first().args;
    QCOMPARE(args.size(), 3);
    QCOMPARE(args.at(1), ProtocolArg(32, 10, QByteArray("while away")));
    const QDateTime sent = ZDateTime::fromWinTime(args.at(2).variant().toDouble());
    QVERIFY2(sent >= before && sent <= QDateTime::currentDateTimeUtc(), qPrintable(sent.toString(Qt::ISODate)));
}

void TestXmppNetwork::bouncesFailAndUnavailableCommandsSaySo()
{
    const uint nobody = m_backend->ids()->idOf(QStringLiteral("nobody@localhost"));
    const uint bounced = send(4, 0x0001, {ProtocolArg(6, 9, QString::number(nobody)), ProtocolArg(32, 10, QByteArray("hello?"))});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.contains(bounced), waitMs);
    QCOMPARE(m_completed.value(bounced), false);

    QSignalSpy unavailable(m_backend.get(), &XmppBackend::notAvailable);
    const uint slideshow = send(40, 0xF164, {ProtocolArg(6, 9, QString::number(bobId()))}, 40);
    const uint files = send(1, 0x0015, {ProtocolArg(6, 1, QString::number(bobId())), ProtocolArg(6, 126, 0)});
    const uint unknownPartner = send(4, 0x0001, {ProtocolArg(6, 9, QStringLiteral("99")), ProtocolArg(32, 10, QByteArray("x"))});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.contains(slideshow) && m_completed.contains(files) && m_completed.contains(unknownPartner), waitMs);
    QVERIFY(!m_completed.value(slideshow) && !m_completed.value(files) && !m_completed.value(unknownPartner));
    QCOMPARE(unavailable.size(), 2);
    QCOMPARE(unavailable.at(1).first().toString(), QStringLiteral("file transfer"));
}

void TestXmppNetwork::privateSessionsAndBlocking()
{
    const QString bobText = QString::number(bobId());
    const QString alice = m_server.jid(QStringLiteral("alice"));
    m_bobReceived.clear();
    m_delivered.clear();
    const uint proposal = send(4, 0x0004, {ProtocolArg(6, 9, bobText)});
    QTRY_COMPARE_WITH_TIMEOUT(m_bobReceived.size(), 1, waitMs);
    QCOMPARE(m_bobReceived.first().noLogState, XmppPayload::noLogRequest);
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.value(proposal), waitMs);
    XmppPayload accepted;
    accepted.noLogState = 1;
    m_bob->sendMessage(alice, QStringLiteral("n1"), QString(), &accepted);
    XmppPayload proposed;
    proposed.noLogState = XmppPayload::noLogRequest;
    m_bob->sendMessage(alice, QStringLiteral("n2"), QString(), &proposed);
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x8004).size(), 1, waitMs);
    QCOMPARE(deliveredOf(4, 0x8005).first().args, (QList<ProtocolArg>{ProtocolArg(6, 9, bobText), ProtocolArg(2, 631, true)}));
    QCOMPARE(deliveredOf(4, 0x8004).first().args, QList<ProtocolArg>{ProtocolArg(6, 9, bobText)});
    QVERIFY(deliveredOf(4, 0xF0A1).isEmpty());

    // Blocking goes to the server's list and comes back as the block list.
    const uint block = send(1, 0x0021, {ProtocolArg(6, 1, bobText)});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.value(block), waitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!deliveredOf(1, 0xF102).isEmpty(), waitMs);
    QCOMPARE(deliveredOf(1, 0xF102).last().args, (QList<ProtocolArg>{ProtocolArg(4, 0, 1), ProtocolArg(6, 1, bobText)}));
    QSignalSpy refused(m_bob.get(), &XmppConnection::messageBounced);
    m_bob->sendMessage(alice, QStringLiteral("b1"), QStringLiteral("blocked"), nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(refused.size(), 1, waitMs);
    const uint unblock = send(1, 0x0020, {ProtocolArg(6, 1, bobText)});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.value(unblock), waitMs);
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(1, 0xF102).last().args, QList<ProtocolArg>{ProtocolArg(4, 0, 0)}, waitMs);
    QVERIFY(deliveredOf(4, 0xF0A1).isEmpty());
}

void TestXmppNetwork::multiChatCycle()
{
    const QString bobText = QString::number(bobId());
    const std::string bobNick = m_server.jid(QStringLiteral("bob")).toStdString();
    m_delivered.clear();
    // The user's own multi chat: created, bob joins, both talk, bob is kicked.
    const uint create = send(4, 0x0006, {ProtocolArg(32, 632, QStringLiteral("Plans")), ProtocolArg(2, 633, 1)});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.contains(create), waitMs);
    QVERIFY(m_completed.value(create));
    const Request *created = WrapPluginHelper::Instance()->request(create);
    const int id = created->response()->arg(0).variant().toInt();
    const QString room = created->response()->arg(1).variant().toString();
    QVERIFY(room.endsWith(QLatin1String("@conference.localhost")));
    QCOMPARE(created->response()->command().applicationServerId(), ushort(1));
    const uint invite = send(4, 0x000B, {ProtocolArg(6, 9, bobText), ProtocolArg(6, 634, QString::number(id))});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.value(invite), waitMs);

    PeerRoom peer;
    auto bobRoom = std::make_unique<gloox::MUCRoom>(m_bob->client(), gloox::JID(room.toStdString() + "/" + bobNick), &peer);
    bobRoom->join();
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x800E).size(), 1, waitMs);
    QCOMPARE(deliveredOf(4, 0x800E).first().args, (QList<ProtocolArg>{ProtocolArg(6, 0, QString::number(id)), ProtocolArg(6, 1, bobText)}));
    bobRoom->send("hello all");
    send(4, 0x000C, {ProtocolArg(6, 634, id), ProtocolArg(32, 10, QByteArray("<b>hi</b> bob"))});
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x8013).size(), 1, waitMs);
    QCOMPARE(deliveredOf(4, 0x8013).first().args,
             (QList<ProtocolArg>{ProtocolArg(6, 0, QString::number(id)), ProtocolArg(6, 1, QString()), ProtocolArg(6, 2, bobText),
                                 ProtocolArg(32, 3, QByteArray("hello all"))}));
    QTRY_VERIFY_WITH_TIMEOUT(peer.bodies.contains(QStringLiteral("hi bob")), waitMs);
    send(4, 0x000A, {ProtocolArg(6, 634, id), ProtocolArg(6, 1, bobText)});
    QTRY_VERIFY_WITH_TIMEOUT(peer.kicked, waitMs);
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x800F).size(), 1, waitMs);

    // Bob's rooms. From one that shows real JIDs his invitation names him;
    // one that hides them (the service's default) names him by nickname
    // only, which proves nothing: that invitation is not shown, and in
    // there everyone is a nickname. His closing it reaches the module.
    const gloox::JID alice(m_server.jid(QStringLiteral("alice")).toStdString());
    PeerRoom open;
    open.publicJids = true;
    const std::string openJid = "bobsopen@conference.localhost";
    auto openRoom = std::make_unique<gloox::MUCRoom>(m_bob->client(), gloox::JID(openJid + "/" + bobNick), &open);
    openRoom->join();
    PeerRoom own;
    const std::string other = "bobsroom@conference.localhost";
    auto ownRoom = std::make_unique<gloox::MUCRoom>(m_bob->client(), gloox::JID(other + "/" + bobNick), &own);
    ownRoom->join();
    QTRY_VERIFY_WITH_TIMEOUT(own.joined && open.joined, waitMs);
    ownRoom->invite(alice, "hidden");
    openRoom->invite(alice, "come");
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x8012).size(), 1, waitMs);
    const Delivered invitation = deliveredOf(4, 0x8012).first();
    QCOMPARE(invitation.command.applicationServerId(), ushort(1));
    QCOMPARE(invitation.args.at(0), ProtocolArg(6, 0, bobText));
    QCOMPARE(invitation.args.at(1), ProtocolArg(6, 1, QString::number(m_backend->ids()->idOf(QString::fromStdString(openJid)))));
    QCOMPARE(invitation.args.at(2), ProtocolArg(32, 2, QString::fromStdString(openJid)));
    const QString hidden = QString::fromStdString(other);
    const uint join = send(4, 0x0007, {ProtocolArg(6, 634, QString::number(m_backend->ids()->idOf(hidden))),
                                       ProtocolArg(32, 635, hidden), ProtocolArg(6, 636, 0)});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.value(join), waitMs);
    const QList<ProtocolArg> members = WrapPluginHelper::Instance()->request(join)->response()->args();
    QCOMPARE(members.size(), 3);
    QCOMPARE(members.at(1), ProtocolArg(4, 1, 1));
    const uint owner = members.at(2).variant().toString().toUInt();
    CZuBuddy_Administrator *directory = CZuBuddy_Administrator::Instance();
    QVERIFY(owner >= XmppMultichats::firstAnonymousId);
    QCOMPARE(directory->data(owner)->nickname, QString::fromStdString(bobNick));
    QVERIFY(!directory->data(owner)->isContact);

    // Mallory enters as "carol@localhost" and speaks: someone under that
    // name, never Carol.
    XmppConnection mallory(m_server.settings(QStringLiteral("mallory")));
    mallory.open();
    QTRY_VERIFY_WITH_TIMEOUT(mallory.isConnected(), waitMs);
    PeerRoom impostorSide;
    gloox::MUCRoom impostorRoom(mallory.client(), gloox::JID(other + "/carol@localhost"), &impostorSide);
    impostorRoom.join();
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x800E).size(), 2, waitMs);
    const uint impostor = deliveredOf(4, 0x800E).last().args.at(1).variant().toString().toUInt();
    QVERIFY(impostor >= XmppMultichats::firstAnonymousId && impostor != owner);
    QVERIFY(impostor != m_backend->ids()->idOf(QStringLiteral("carol@localhost")));
    impostorRoom.send("I am Carol");
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x8013).size(), 2, waitMs);
    QCOMPARE(deliveredOf(4, 0x8013).last().args.at(2), ProtocolArg(6, 2, QString::number(impostor)));
    ownRoom->destroy();
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x8011).size(), 1, waitMs);
    QCOMPARE(deliveredOf(4, 0x8011).first().args.first().variant().toString(), QString::number(m_backend->ids()->idOf(hidden)));
}

void TestXmppNetwork::randomChatThroughTheMatchmaker()
{
    XmppConnection connection(m_server.settings(QStringLiteral("matchmaker")));
    XmppMatchmaker matchmaker(&connection);
    connection.open();
    QTRY_VERIFY_WITH_TIMEOUT(connection.isConnected(), waitMs);
    m_delivered.clear();
    m_bobReceived.clear();
    // Bob asks first through his own client; the two are matched under aliases.
    const QString mm = m_server.jid(QStringLiteral("matchmaker"));
    XmppPayload search;
    search.randomAction = QStringLiteral("search");
    search.randomAlias = QStringLiteral("B.");
    m_bob->sendMessage(mm, QStringLiteral("s1"), QString(), &search);
    QTRY_COMPARE_WITH_TIMEOUT(matchmaker.waiting(), 1, waitMs);
    const uint server = send(4, 0x0030, {ProtocolArg(6, 688, 0)});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.value(server), waitMs);
    const uint login = send(4, 0x0031, {ProtocolArg(4, 162, 0), ProtocolArg(6, 688, 0), ProtocolArg(32, 703, QStringLiteral("Al"))});
    // The match follows the login's answer at once: the module must have the answer first.
    bool answeredBeforeMatch = false;
    const auto order = connect(WrapPluginHelper::Instance(), &WrapPluginHelper::incomingDelivered, this,
                               [&](Request *request) { answeredBeforeMatch = m_completed.value(login); Q_UNUSED(request) });
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x8040).size(), 1, waitMs);
    disconnect(order);
    QVERIFY(answeredBeforeMatch);
    const Request *loggedIn = WrapPluginHelper::Instance()->request(login);
    const QString chat = loggedIn->response()->arg(0).variant().toString();
    QCOMPARE(loggedIn->response()->command().applicationServerId(), ushort(2));
    const QList<ProtocolArg> matched = deliveredOf(4, 0x8040).first().args;
    QCOMPARE(matched.at(0).variant().toString(), chat);
    QCOMPARE(matched.at(2), ProtocolArg(32, 2, QStringLiteral("B.")));
    QVERIFY(matched.at(1).variant().toString() != QString::number(bobId()));
    QTRY_COMPARE_WITH_TIMEOUT(m_bobReceived.size(), 2, waitMs);
    const QString bobChat = m_bobReceived.at(1).randomChat;
    QCOMPARE(m_bobReceived.at(1).randomAlias, QStringLiteral("Al"));

    send(4, 0x0033, {ProtocolArg(6, 706, chat.toInt()), ProtocolArg(32, 10, QByteArray("<i>hi stranger</i>"))});
    QTRY_COMPARE_WITH_TIMEOUT(m_bobReceived.size(), 3, waitMs);
    QCOMPARE(m_bobReceived.at(2).html, QStringLiteral("<i>hi stranger</i>"));
    const auto say = [&](const QString &action, const QString &number, const QString &html = {}) {
        XmppPayload payload;
        payload.randomAction = action;
        payload.randomChat = number;
        payload.html = html;
        m_bob->sendMessage(mm, action + number, QString(), &payload);
    };
    say(QStringLiteral("message"), chat, QStringLiteral("not my number")); // someone else's: ignored
    say(QStringLiteral("typing"), bobChat);
    say(QStringLiteral("message"), bobChat, QStringLiteral("hello"));
    say(QStringLiteral("quit"), bobChat);
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x8043).size(), 1, waitMs);
    QCOMPARE(deliveredOf(4, 0x8042).size(), 1);
    QCOMPARE(deliveredOf(4, 0x8041).size(), 1);
    QCOMPARE(deliveredOf(4, 0x8041).first().args, (QList<ProtocolArg>{ProtocolArg(6, 0, chat), ProtocolArg(32, 1, QByteArray("hello"))}));
    QCOMPARE(matchmaker.seats(), 0);

    // Alice's client vanishes without quitting: Bob is told, not left waiting.
    send(4, 0x0031, {ProtocolArg(4, 162, 0), ProtocolArg(6, 688, 0), ProtocolArg(32, 703, QStringLiteral("Al"))});
    QTRY_COMPARE_WITH_TIMEOUT(matchmaker.waiting(), 1, waitMs);
    m_bobReceived.clear();
    m_bob->sendMessage(mm, QStringLiteral("s2"), QString(), &search);
    QTRY_COMPARE_WITH_TIMEOUT(m_bobReceived.size(), 2, waitMs);
    QCOMPARE(m_bobReceived.at(1).randomAction, QStringLiteral("matched"));
    m_backend->connection()->close();
    QTRY_COMPARE_WITH_TIMEOUT(m_bobReceived.size(), 3, waitMs);
    QCOMPARE(m_bobReceived.at(2).randomAction, QStringLiteral("quit"));
    QCOMPARE(matchmaker.seats(), 0);
    m_backend->connection()->open();
    QTRY_VERIFY_WITH_TIMEOUT(m_backend->connection()->isConnected(), waitMs);
}

void TestXmppNetwork::strangersAndMalformedPayloadsAreIgnored()
{
    XmppConnection mallory(m_server.settings(QStringLiteral("mallory")));
    mallory.open();
    QTRY_VERIFY_WITH_TIMEOUT(mallory.isConnected(), waitMs);
    m_delivered.clear();
    const std::string alice = m_server.jid(QStringLiteral("alice")).toStdString();
    mallory.sendMessage(QString::fromStdString(alice), QStringLiteral("m1"), QStringLiteral("spam"), nullptr);
    // From a contact: payloads too large, with too many pictures or a
    // broken private-session state are dropped; the body still arrives.
    const auto raw = [&](const std::string &id, auto fill) {
        auto *message = new gloox::Tag("message", "to", alice);
        message->addAttribute("type", "chat");
        message->addAttribute("id", id);
        new gloox::Tag(message, "body", "plain " + id);
        auto *payload = new gloox::Tag(message, "zubrel", "xmlns", XmppPayload::xmlns());
        fill(payload);
        m_bob->client()->send(message);
    };
    raw("big", [](gloox::Tag *p) { new gloox::Tag(p, "html", std::string(XmppPayload::maxBytes + 1, 'a')); });
    raw("many", [](gloox::Tag *p) {
        for (int i = 0; i <= XmppPayload::maxPictures; ++i)
            new gloox::Tag(p, "picture", "AAAA");
    });
    raw("state", [](gloox::Tag *p) { new gloox::Tag(p, "nolog", "state", "yes"); });
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0xF0A1).size(), 3, waitMs);
    for (const Delivered &delivered : deliveredOf(4, 0xF0A1)) {
        QCOMPARE(delivered.args.first().variant().toString(), QString::number(bobId()));
        QVERIFY(delivered.args.at(1).variant().toByteArray().startsWith("plain "));
        QCOMPARE(delivered.args.size(), 2);
    }

    // Mallory poses as Bob: a forged sender (the server stamps the real
    // one), a roster push that would put her in Alice's roster, a body of
    // 200 KiB, pictures that are no base64 and no picture.
    m_delivered.clear();
    auto *forged = new gloox::Tag("message", "to", alice);
    forged->addAttribute("type", "chat");
    forged->addAttribute("from", m_server.jid(QStringLiteral("bob")).toStdString() + "/zubrel");
    new gloox::Tag(forged, "body", "I am Bob");
    mallory.client()->send(forged);
    auto *push = new gloox::Tag("iq", "to", alice + "/zubrel");
    push->addAttribute("type", "set");
    push->addAttribute("id", "push1");
    auto *query = new gloox::Tag(push, "query", "xmlns", "jabber:iq:roster");
    new gloox::Tag(query, "item", "jid", m_server.jid(QStringLiteral("mallory")).toStdString());
    mallory.client()->send(push);
    mallory.sendMessage(QString::fromStdString(alice), QStringLiteral("m2"), QStringLiteral("after the push"), nullptr);
    QSignalSpy seen(&mallory, &XmppConnection::confirmed); // the server has passed all of it on
    mallory.confirm();
    QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 1, waitMs);
    QVERIFY(!m_backend->connection()->client()->rosterManager()->getRosterItem(gloox::JID(m_server.jid(QStringLiteral("mallory")).toStdString())));
    m_bob->sendMessage(QString::fromStdString(alice), QStringLiteral("huge"), QString(200 * 1024, QLatin1Char('x')), nullptr);
    raw("pictures", [](gloox::Tag *p) {
        new gloox::Tag(p, "html", "<img src=\"%1\"><img src=\"%2\">");
        new gloox::Tag(p, "picture", "%%% not base64 %%%");
        new gloox::Tag(p, "picture", "bm90IGEgcGljdHVyZQ==");
    });
    m_bob->sendMessage(QString::fromStdString(alice), QStringLiteral("last"), QStringLiteral("plain ordering"), nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0xF0A1).size(), 3, waitMs);
    const QList<Delivered> arrived = deliveredOf(4, 0xF0A1);
    QCOMPARE(arrived.at(0).args.at(1).variant().toByteArray().size(), XmppBackend::maxIncomingBodyChars);
    QCOMPARE(arrived.at(1).args.at(1).variant().toByteArray(), QByteArray("plain pictures"));
    QCOMPARE(arrived.at(2).args.at(1).variant().toByteArray(), QByteArray("plain ordering"));
    for (const Delivered &delivered : arrived)
        QCOMPARE(delivered.args.first().variant().toString(), QString::number(bobId()));
}

void TestXmppNetwork::dropQueuesInOrderAndTimesOut()
{
    const QString bobText = QString::number(bobId());
    const std::string bobNick = m_server.jid(QStringLiteral("bob")).toStdString();
    // A multi chat Bob is in when the server goes down.
    const uint create = send(4, 0x0006, {ProtocolArg(32, 632, QStringLiteral("Before")), ProtocolArg(2, 633, 1)});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.value(create), waitMs);
    const int multichat = WrapPluginHelper::Instance()->request(create)->response()->arg(0).variant().toInt();
    const std::string room = WrapPluginHelper::Instance()->request(create)->response()->arg(1).variant().toString().toStdString();
    PeerRoom peer;
    std::unique_ptr<gloox::MUCRoom> bobRoom;
    const auto enter = [&] {
        bobRoom = std::make_unique<gloox::MUCRoom>(m_bob->client(), gloox::JID(room + "/" + bobNick), &peer);
        bobRoom->join();
    };
    const auto gone = connect(m_bob.get(), &XmppConnection::clientAboutToChange, this, [&] { bobRoom.reset(); });
    enter();
    QTRY_VERIFY_WITH_TIMEOUT(peer.joined, waitMs);
    m_delivered.clear();

    m_bobReceived.clear();
    m_server.setRunning(false);
    QTRY_VERIFY_WITH_TIMEOUT(!m_backend->connection()->isConnected(), waitMs);
    QList<uint> ids;
    for (int i = 0; i < 5; ++i)
        ids.append(send(4, 0x0001, {ProtocolArg(6, 9, bobText), ProtocolArg(32, 10, QByteArray::number(i))}));
    for (int i = 0; i < 3; ++i)
        ids.append(send(4, 0x000C, {ProtocolArg(6, 634, multichat), ProtocolArg(32, 10, "r" + QByteArray::number(i))}));
    QTest::qWait(200);
    QCOMPARE(m_backend->outbox()->queued(), 8);
    m_server.setRunning(true);
    QTRY_VERIFY_WITH_TIMEOUT(m_backend->connection()->isConnected() && m_bob->isConnected(), waitMs);
    enter();
    QTRY_COMPARE_WITH_TIMEOUT(m_bobReceived.size(), 5, waitMs);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(m_bobReceived.at(i).html, QString::number(i));
    // The room was entered again before its messages left: each once, in order.
    QTRY_COMPARE_WITH_TIMEOUT(peer.bodies.size(), 3, waitMs);
    QCOMPARE(peer.bodies, (QStringList{QStringLiteral("r0"), QStringLiteral("r1"), QStringLiteral("r2")}));
    for (uint id : std::as_const(ids))
        QTRY_VERIFY_WITH_TIMEOUT(m_completed.value(id), waitMs);
    QVERIFY(deliveredOf(4, 0x8011).isEmpty());
    QCOMPARE(m_backend->outbox()->queued(), 0);
    send(4, 0x0009, {ProtocolArg(6, 634, multichat)});
    QTRY_VERIFY_WITH_TIMEOUT(!peer.joined, waitMs);
    disconnect(gone);
    bobRoom.reset();

    // A message that cannot leave before its timeout fails, it is not dropped.
    m_server.setRunning(false);
    QTRY_VERIFY_WITH_TIMEOUT(!m_backend->connection()->isConnected(), waitMs);
    m_backend->outbox()->setTimeout(300);
    const uint late = send(4, 0x0001, {ProtocolArg(6, 9, bobText), ProtocolArg(32, 10, QByteArray("late"))});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.contains(late), waitMs);
    QCOMPARE(m_completed.value(late), false);
    m_server.setRunning(true);
    QTRY_VERIFY_WITH_TIMEOUT(m_backend->connection()->isConnected(), waitMs);
}

void TestXmppNetwork::rosterChangesReachTheDirectory()
{
    // Added during the session: a contact under the roster's name, whose
    // messages now reach the module.
    const QString mallory = m_server.jid(QStringLiteral("mallory"));
    const QString alice = m_server.jid(QStringLiteral("alice"));
    gloox::RosterManager *roster = m_backend->connection()->client()->rosterManager();
    roster->add(gloox::JID(mallory.toStdString()), "Mallory <M>", {"Work"});
    const uint id = m_backend->ids()->idOf(mallory);
    CZuBuddy_Administrator *directory = CZuBuddy_Administrator::Instance();
    QTRY_VERIFY_WITH_TIMEOUT(directory->data(id) && directory->data(id)->isContact, waitMs);
    QCOMPARE(directory->data(id)->nickname, QStringLiteral("Mallory <M>"));
    XmppConnection other(m_server.settings(QStringLiteral("mallory")));
    other.open();
    QTRY_VERIFY_WITH_TIMEOUT(other.isConnected(), waitMs);
    m_delivered.clear();
    other.sendMessage(alice, QStringLiteral("r1"), QStringLiteral("now a contact"), nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0xF0A1).size(), 1, waitMs);
    QCOMPARE(deliveredOf(4, 0xF0A1).first().args.first().variant().toString(), QString::number(id));

    // Removed: nobody's contact, and what she writes is dropped. Bob writes
    // once her message has passed the server, so his comes after it.
    roster->remove(gloox::JID(mallory.toStdString()));
    QTRY_VERIFY_WITH_TIMEOUT(!directory->data(id)->isContact, waitMs);
    m_bobReceived.clear();
    other.sendMessage(alice, QStringLiteral("r2"), QStringLiteral("gone"), nullptr);
    other.sendMessage(m_server.jid(QStringLiteral("bob")), QStringLiteral("r3"), QStringLiteral("passed"), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!m_bobReceived.isEmpty() && m_bobReceived.last().body == QLatin1String("passed"), waitMs);
    m_bob->sendMessage(alice, QStringLiteral("r4"), QStringLiteral("last"), nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0xF0A1).size(), 2, waitMs);
    QCOMPARE(deliveredOf(4, 0xF0A1).last().args.at(1).variant().toByteArray(), QByteArray("last"));
}

void TestXmppNetwork::roomGoneWhileAwayIsShownClosed()
{
    // A room of another client, not kept once empty; Alice joins it.
    const std::string bobNick = m_server.jid(QStringLiteral("bob")).toStdString();
    const std::string roomJid = "bobsfleeting@conference.localhost";
    PeerRoom peer;
    peer.publicJids = true;
    auto bobRoom = std::make_unique<gloox::MUCRoom>(m_bob->client(), gloox::JID(roomJid + "/" + bobNick), &peer);
    bobRoom->join();
    QTRY_VERIFY_WITH_TIMEOUT(peer.joined, waitMs);
    const QString room = QString::fromStdString(roomJid);
    const QString id = QString::number(m_backend->ids()->idOf(room));
    const uint join = send(4, 0x0007, {ProtocolArg(6, 634, id), ProtocolArg(32, 635, room), ProtocolArg(6, 636, 0)});
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.value(join), waitMs);

    // Alice is away while Bob, the last one in, leaves: the room is gone.
    // Back, she finds it gone (or would make a new one): closed, not a
    // window nobody will ever write to again.
    m_delivered.clear();
    m_backend->connection()->close();
    bobRoom->leave();
    QSignalSpy passed(m_bob.get(), &XmppConnection::confirmed);
    m_bob->confirm();
    QTRY_COMPARE_WITH_TIMEOUT(passed.size(), 1, waitMs);
    bobRoom.reset();
    m_backend->connection()->open();
    QTRY_COMPARE_WITH_TIMEOUT(deliveredOf(4, 0x8011).size(), 1, waitMs);
    QCOMPARE(deliveredOf(4, 0x8011).first().args, QList<ProtocolArg>{ProtocolArg(6, 0, id)});
    QVERIFY(deliveredOf(4, 0x800E).isEmpty());
}

QTEST_MAIN(TestXmppNetwork)
#include "tst_xmppnetwork.moc"
