#pragma once
// The demo's main window, like a messenger's contact list: groups with
// their contacts (picture, nickname, presence). A double-click asks the
// chat module to open a chat, as the client does with command (1, 0xF0A0).

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include "czubuddy.h"

class QAction;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace zubrel {

class DemoNetwork;
class HostRequestLog;
class HostRequestWindow;

class ContactListWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit ContactListWindow(DemoNetwork *network, QWidget *parent = nullptr);

    // Rebuilds the list from the contact directory.
    void reload();
    // The contact shown in an item; 0 for group rows.
    static uint contactOf(const QTreeWidgetItem *item);
    QTreeWidget *tree() const { return m_tree; }

    // What a double-click on a contact does: the open-chat command.
    static void openChat(uint contactId);
    // What "Random chat..." does: the start-random-chat command.
    static void startRandomChat();
    // Requests to the host show in the status line and in "Host requests".
    void setHostRequestLog(HostRequestLog *log);
    // The user's own presence, as the messenger would change it.
    static void setOwnStatus(int status);

private:
    void updateItem(QTreeWidgetItem *item, const CZuBuddy &buddy);
    void onBuddyChanged(const CZuBuddy &buddy);
    void onActivated(QTreeWidgetItem *item);
    void buildMenus();
    void buildNetworkMenu();
    static QIcon avatarIcon(const CZuBuddy &buddy);

    QPointer<DemoNetwork> m_network;
    QTreeWidget *m_tree = nullptr;
    QLabel *m_self = nullptr;
    QAction *m_failNext = nullptr;
    QAction *m_offline = nullptr;
    QPointer<HostRequestLog> m_hostRequests;
    QPointer<HostRequestWindow> m_hostRequestWindow;
    QHash<uint, QList<QTreeWidgetItem *>> m_items; // one contact may be in several groups
};

} // namespace zubrel
