#pragma once
// The interactive demo: fills the contact directory from demo/contacts.json,
// starts the module against the demo network and shows the contact list.

#include <QObject>
#include <memory>

namespace zubrel {

class ContactListWindow;
class DemoBlockList;
class DemoBots;
class DemoNetwork;
class DemoSlideshow;
class HostRequestLog;
class ModuleHost;
class TraceWriter;

class DemoSession : public QObject
{
    Q_OBJECT
public:
    DemoSession(ModuleHost *module, int latencyMs, QObject *parent = nullptr);
    ~DemoSession() override;

    // writer receives the "plugin" event; may be null.
    bool start(QString *error, TraceWriter *writer = nullptr);
    // Opens chats with these contacts once the module runs, as double-clicks would.
    void openChats(const QList<uint> &contacts);
    // Stops the module and closes every window before the application goes.
    void shutdown();

    DemoNetwork *network() const { return m_network; }
    ContactListWindow *window() const { return m_window.get(); }

private:
    ModuleHost *m_module = nullptr;
    DemoNetwork *m_network = nullptr;
    // The host's side of the conversation: requests to the messenger, its
    // block list, the slideshow module and the side-channel bots.
    HostRequestLog *m_hostRequests = nullptr;
    DemoBlockList *m_blockList = nullptr;
    DemoSlideshow *m_slideshow = nullptr;
    DemoBots *m_bots = nullptr;
    std::unique_ptr<ContactListWindow> m_window;
};

} // namespace zubrel
