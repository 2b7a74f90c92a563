#pragma once
// What a module benchmark sets up before it measures: a profile of its own,
// the application folder the build made, dialogs answered by script, the
// user "Me" (1000) with the given contacts, and the chat log for that user.
// Header only: each benchmark is one executable of its own.

#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QTemporaryDir>

#include "chat.h"
#include "czubuddy_administrator.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"
#include "zchatlogger.h"
#include "zmodalscript.h"

namespace zubrel {

class BenchSession
{
public:
    explicit BenchSession(const QJsonArray &contacts)
    {
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
        if (qEnvironmentVariableIsEmpty("ZUBREL_APP_DIR"))
            qputenv("ZUBREL_APP_DIR", ZUBREL_APP_DIR);
        ZModalScript::instance()->setScripted(true);
        CZuBuddy_Administrator::Instance()->loadJson(QJsonObject{
            {"self", QJsonObject{{"id", 1000}, {"nick", "Me"}, {"status", 1}}}, {"contacts", contacts}});
        m_logReady = ZChatLogger::initUser(QStringLiteral("1000"));
    }

    // False when the chat-log plug-in did not load.
    bool logReady() const { return m_logReady; }

    // Brings the controller up on the simulated network; call it after any
    // history the benchmark writes beforehand.
    SimulatedNetwork *startModule()
    {
        WrapPluginHelper *helper = WrapPluginHelper::Instance();
        m_chat = new Chat(helper); // owned by the helper
        return helper->simulatedNetwork();
    }

    Chat *chat() const { return m_chat; }

private:
    QTemporaryDir m_profile;
    bool m_logReady = false;
    QPointer<Chat> m_chat;
};

} // namespace zubrel
