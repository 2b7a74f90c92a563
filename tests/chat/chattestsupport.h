#pragma once
// Shared set-up for the controller tests: a scratch profile, a small contact
// directory, a fresh controller per test driven through the simulated
// network, and look-ups of the windows and tabs it opened.

#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "chat.h"
#include "czubuddy_administrator.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"
#include "zchat.h"
#include "zchatlogger.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zhostevents.h"
#include "zmodalscript.h"

Q_DECLARE_METATYPE(ProtocolArg)

namespace ChatTest {

using namespace zubrel;

// Contacts of the test directory.
inline const QString self = QStringLiteral("1000");
inline const QString anna = QStringLiteral("2001");     // online
inline const QString bert = QStringLiteral("2002");     // offline
inline const QString phone = QStringLiteral("2003");    // mobile client 0x21
inline const QString bridged = QStringLiteral("2004");  // other network 2
inline const QString cleo = QStringLiteral("2005");     // online
inline const QString phone2 = QStringLiteral("2006");   // mobile client 0x22
inline const QString bridged4 = QStringLiteral("2007"); // other network 4

inline QJsonObject contact(const QString &id, const QString &nick, int status, int messenger = 1,
                           int client = 1)
{
    return QJsonObject{{"id", id.toInt()}, {"nick", nick}, {"status", status},
                       {"messenger", messenger}, {"client", client}};
}

inline QJsonObject directory(int ownStatus = 1)
{
    return QJsonObject{
        {"self", QJsonObject{{"id", self.toInt()}, {"nick", "Me"}, {"status", ownStatus}}},
        {"contacts", QJsonArray{contact(anna, "Anna", 1), contact(bert, "Bert", 0),
                                contact(phone, "Phil", 1, 1, 0x21), contact(bridged, "Ivo", 1, 2),
                                contact(cleo, "Cleo", 1), contact(phone2, "Pia", 1, 1, 0x22),
                                contact(bridged4, "Yan", 1, 4)}},
    };
}

// The fields of every host event of one kind ("box", "platform", "flash"…).
inline QList<QVariantMap> hostEvents(const QSignalSpy &spy, const QString &kind)
{
    QList<QVariantMap> found;
    for (const QList<QVariant> &event : spy) {
        if (event.value(0).toString() == kind)
            found.append(event.value(1).toMap());
    }
    return found;
}

class Fixture
{
public:
    QTemporaryDir profile;
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    QPointer<Chat> controller;
    QString historyUser; // the chat-log store this test writes to

    SimulatedNetwork *network() const { return helper->simulatedNetwork(); }

    // Once per test program.
    void setUpProcess()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("ZUBREL_PROFILE", profile.path().toUtf8());
        ZModalScript::instance()->setScripted(true);
    }

    // A controller of its own and an empty history for every test: each
    // test logs into a user folder nobody used before.
    void start(int ownStatus = 1)
    {
        stop();
        helper->reset();
        ZModalScript::instance()->clear();
        Chat::blockList.clear();
        Chat::hideList.clear();
        Chat::invisibleList.clear();
        CZuBuddy_Administrator::Instance()->clear();
        QVERIFY(CZuBuddy_Administrator::Instance()->loadJson(directory(ownStatus)));
        static int lastHistoryUser = 50000;
        historyUser = QString::number(++lastHistoryUser);
        ZChatLogger::initUser(historyUser);
        controller = new Chat(helper);
        finishMandator();
    }

    // The mandator question goes out first; answered without a name it
    // changes nothing and is freed.
    void finishMandator()
    {
        const SentRequest mandator = network()->lastSent(1, 0x0029);
        if (mandator.id)
            network()->succeed(mandator.id);
        network()->clear();
    }

    void stop()
    {
        closeAll();
        qDeleteAll(helper->findChildren<Chat *>());
    }

    void closeAll()
    {
        // Guarded: a window takes its own top-level pop-ups with it.
        QList<QPointer<ZChat>> windows;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *chat = qobject_cast<ZChat *>(widget))
                windows.append(chat);
        }
        for (const QPointer<ZChat> &chat : std::as_const(windows))
            delete chat.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ZChat *window(const QString &id) const
    {
        const QVariantMap chats = controller->registry().value("chats").toMap();
        return qobject_cast<ZChat *>(chats.value(id).value<QObject *>());
    }

    ZChatTab *tab(const QString &id) const
    {
        ZChat *chat = window(id);
        return chat && !chat->tabs().isEmpty() ? chat->tabs().first() : nullptr;
    }

    // Opens a chat as the host does (1, 0xF0A0) and returns its tab.
    ZChatTab *open(const QString &id)
    {
        network()->inject(1, 0xF0A0, {ProtocolArg(6, 0, id)});
        network()->clear();
        return tab(id);
    }

    int cardCount(const QString &id) const
    {
        return controller->registry().value("cards").toMap().value(id).toInt();
    }

    // The contract with the helper: every incoming request answered, every
    // created request that completed freed.
    bool booksBalanced() const
    {
        return helper->unansweredRequests().isEmpty() && helper->unfreedRequests().isEmpty();
    }

    // Completes every request still in flight with success.
    void succeedAll()
    {
        const auto ids = helper->unfreedRequests();
        for (uint id : ids)
            network()->succeed(id);
    }
};

inline QStringList eventsOf(const QList<QList<QVariant>> &spied, const QString &kind)
{
    QStringList found;
    for (const QList<QVariant> &event : spied) {
        if (event.value(0).toString() == kind)
            found.append(event.value(1).toMap().value("text").toString());
    }
    return found;
}

} // namespace ChatTest
