#pragma once
// The demo's bots for the side channels of a one-to-one chat: Privy proposes
// a private session (and accepts the user's), Judy answers the user's
// proposals with yes and no in turn, Shaky shakes the user's window and
// Chameleon keeps changing nickname, picture and presence.

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

struct SentRequest;

namespace zubrel {

class DemoNetwork;

class DemoBots : public QObject
{
    Q_OBJECT
public:
    static constexpr uint privy = 2008;
    static constexpr uint judy = 2009;
    static constexpr uint shaky = 2010;
    static constexpr uint chameleon = 2011;

    explicit DemoBots(DemoNetwork *network, QObject *parent = nullptr);

    void onSent(const SentRequest &request);
    // Chameleon's next look; the timer calls it, tests call it directly.
    void changeChameleon();
    void setChanges(bool on);
    // Whether the bot holds a private session with the user.
    bool inPrivateSession(uint bot) const { return m_private.value(bot); }

private:
    void greet(uint bot);
    void say(uint bot, const QString &text, int delayMs);
    void answerProposal(uint bot);
    void proposePrivateSession(uint bot);
    void shake(uint bot);

    QPointer<DemoNetwork> m_network;
    QList<uint> m_greeted;
    QHash<uint, bool> m_private;
    bool m_judyAccepts = true;
    int m_chameleonStep = 0;
    QTimer m_chameleonTimer;
};

} // namespace zubrel
