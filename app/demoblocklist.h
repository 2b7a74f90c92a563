#pragma once
// The demo's block list, kept as the messenger would: the module's block and
// unblock requests change it, and every change is sent back to the module as
// the whole new list, so cards and chats show the contact blocked.

#include <QList>
#include <QObject>
#include <QPointer>

struct SentRequest;

namespace zubrel {

class DemoNetwork;

class DemoBlockList : public QObject
{
    Q_OBJECT
public:
    explicit DemoBlockList(DemoNetwork *network, QObject *parent = nullptr);

    QList<uint> ids() const { return m_ids; }
    void onSent(const SentRequest &request);

private:
    QPointer<DemoNetwork> m_network;
    QList<uint> m_ids;
};

} // namespace zubrel
