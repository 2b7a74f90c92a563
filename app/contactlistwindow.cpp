#include "contactlistwindow.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "czubuddy_administrator.h"
#include "demonetwork.h"
#include "hostrequestlog.h"
#include "hostrequestwindow.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"
#include "zskin.h"

namespace zubrel {

namespace {

constexpr int avatarSize = 36;
constexpr int contactRole = Qt::UserRole + 1;

QPixmap defaultAvatar()
{
    QPixmap pixmap(avatarSize, avatarSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xb0, 0xbe, 0xc5));
    painter.drawRoundedRect(pixmap.rect(), 6, 6);
    return pixmap;
}

} // namespace

ContactListWindow::ContactListWindow(DemoNetwork *network, QWidget *parent)
    : QMainWindow(parent), m_network(network)
{
    setWindowTitle(tr("Zubrel"));
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    m_self = new QLabel(central);
    m_self->setTextFormat(Qt::RichText);
    layout->addWidget(m_self);
    m_tree = new QTreeWidget(central);
    m_tree->setHeaderHidden(true);
    m_tree->setIconSize(QSize(avatarSize, avatarSize));
    m_tree->setRootIsDecorated(true);
    m_tree->setIndentation(14);
    m_tree->setUniformRowHeights(false);
    layout->addWidget(m_tree);
    setCentralWidget(central);
    statusBar()->showMessage(tr("Double-click a contact to chat."));
    buildMenus();

    connect(m_tree, &QTreeWidget::itemActivated, this, &ContactListWindow::onActivated);
    connect(CZuBuddy_Administrator::Instance(), &CZuBuddy_Administrator::OnBuddyChanged, this,
            &ContactListWindow::onBuddyChanged);
    if (m_network) {
        connect(m_network, &DemoNetwork::completed, this, [this](uint, bool success) {
            if (!success)
                statusBar()->showMessage(tr("A send failed, as asked."), 4000);
            if (m_failNext && m_network)
                m_failNext->setChecked(m_network->failsNextSend());
        });
    }
    resize(320, 560);
}

void ContactListWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&Zubrel"));
    // As the client's menu does: the host asks the module to start a random
    // chat; the demo network's stranger is matched a little later.
    QAction *random = file->addAction(tr("&Random chat..."));
    connect(random, &QAction::triggered, this, &ContactListWindow::startRandomChat);
    file->addSeparator();
    QAction *quit = file->addAction(tr("&Quit"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, qApp, &QApplication::quit);

    // The switches of the simulated network; a real server has none of
    // them (going offline there would have to be a presence, not a
    // directory change), so an XMPP session shows no such menu.
    if (m_network)
        buildNetworkMenu();

    QMenu *view = menuBar()->addMenu(tr("&View"));
    QAction *requests = view->addAction(tr("&Host Requests"));
    requests->setShortcut(Qt::CTRL | Qt::Key_H);
    connect(requests, &QAction::triggered, this, [this] {
        if (!m_hostRequestWindow)
            m_hostRequestWindow = new HostRequestWindow(m_hostRequests, this);
        m_hostRequestWindow->show();
        m_hostRequestWindow->raise();
        m_hostRequestWindow->activateWindow();
    });
}

void ContactListWindow::buildNetworkMenu()
{
    QMenu *network = menuBar()->addMenu(tr("&Network"));
    m_failNext = network->addAction(tr("&Fail next send"));
    m_failNext->setCheckable(true);
    connect(m_failNext, &QAction::triggered, this, [this](bool checked) {
        if (m_network && checked)
            m_network->failNextSend();
        else if (m_network)
            m_failNext->setChecked(m_network->failsNextSend());
    });
    QAction *wake = network->addAction(tr("Bring &Sleepy online"));
    connect(wake, &QAction::triggered, this, [this] {
        if (m_network)
            m_network->setOfflineBotOnline(true);
    });
    network->addSeparator();
    m_offline = network->addAction(tr("Go &Offline"));
    m_offline->setCheckable(true);
    connect(m_offline, &QAction::triggered, this, [](bool offline) { setOwnStatus(offline ? 0 : 1); });
}

void ContactListWindow::setHostRequestLog(HostRequestLog *log)
{
    m_hostRequests = log;
    if (log)
        connect(log, &HostRequestLog::logged, this, [this](const HostRequestLog::Entry &entry) {
            statusBar()->showMessage(tr("Host request: %1").arg(entry.summary()), 6000);
        });
}

void ContactListWindow::setOwnStatus(int status)
{
    CZuBuddy_Administrator *directory = CZuBuddy_Administrator::Instance();
    if (const BuddyData *self = directory->data(directory->currentUserId())) {
        BuddyData changed = *self;
        changed.userState = status;
        directory->updateBuddy(changed);
    }
}

uint ContactListWindow::contactOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, contactRole).toUInt() : 0;
}

void ContactListWindow::openChat(uint contactId)
{
    if (contactId == 0)
        return;
    WrapPluginHelper::Instance()->simulatedNetwork()->inject(
        1, 0xF0A0, {ProtocolArg(DataTypes::Identifier, 1, QString::number(contactId))});
}

void ContactListWindow::startRandomChat()
{
    WrapPluginHelper::Instance()->simulatedNetwork()->inject(1, 0xF0A7, {});
}

void ContactListWindow::onActivated(QTreeWidgetItem *item)
{
    openChat(contactOf(item));
}

QIcon ContactListWindow::avatarIcon(const CZuBuddy &buddy)
{
    QPixmap avatar = buddy.IsPictureValid() ? buddy.Picture(false) : QPixmap();
    avatar = avatar.isNull() ? defaultAvatar()
                             : avatar.scaled(avatarSize, avatarSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // The presence dot sits on the picture's corner, as in the client's list.
    QPixmap icon(avatarSize, avatarSize);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap((avatarSize - avatar.width()) / 2, (avatarSize - avatar.height()) / 2, avatar);
    const int state = buddy.IsUserStateValid() ? buddy.UserState() : 0;
    painter.drawPixmap(avatarSize - 14, avatarSize - 14, ZSkin::statusIcon(state, 14));
    return QIcon(icon);
}

void ContactListWindow::updateItem(QTreeWidgetItem *item, const CZuBuddy &buddy)
{
    const int state = buddy.IsUserStateValid() ? buddy.UserState() : 0;
    // The bots say what they do; other contacts show where they are.
    QString extra = buddy.ProfileValue(QStringLiteral("about")).toString();
    if (extra.isEmpty() && (buddy.Messenger() == 2 || buddy.Messenger() == 4))
        extra = tr("other network");
    else if (extra.isEmpty() && (buddy.ClientType() == 0x21 || buddy.ClientType() == 0x22))
        extra = tr("mobile");
    if (!extra.isEmpty())
        extra.prepend(QStringLiteral(" · "));
    const QString nick = buddy.IsNicknameValid() ? buddy.Nickname() : buddy.zubrelId();
    item->setText(0, nick + QLatin1Char('\n') + ZSkin::statusName(state) + extra);
    item->setIcon(0, avatarIcon(buddy));
    item->setForeground(0, state == 0 ? palette().color(QPalette::Disabled, QPalette::Text)
                                      : palette().color(QPalette::Text));
    item->setToolTip(0, tr("%1 (%2)").arg(nick, buddy.zubrelId()));
}

void ContactListWindow::reload()
{
    m_tree->clear();
    m_items.clear();
    CZuBuddy_Administrator *directory = CZuBuddy_Administrator::Instance();
    const CZuBuddy self = CZuBuddy::CurrentUser();
    m_self->setText(tr("<b>%1</b><br><small>%2 · %3</small>")
                        .arg(self.Nickname().toHtmlEscaped(), self.zubrelId(), ZSkin::statusName(self.UserState())));
    QFont groupFont = m_tree->font();
    groupFont.setBold(true);
    for (const CZuBuddy_Group &group : directory->Groups()) {
        auto *groupItem = new QTreeWidgetItem(m_tree, {group.Name()});
        groupItem->setFont(0, groupFont);
        groupItem->setFlags(Qt::ItemIsEnabled);
        for (const CZuBuddy &buddy : group.Buddies()) {
            auto *item = new QTreeWidgetItem(groupItem);
            item->setData(0, contactRole, buddy.Id());
            updateItem(item, buddy);
            m_items[buddy.Id()].append(item);
        }
        groupItem->setExpanded(true);
    }
}

void ContactListWindow::onBuddyChanged(const CZuBuddy &buddy)
{
    if (buddy.Id() == CZuBuddy_Administrator::Instance()->currentUserId()) {
        const CZuBuddy self = CZuBuddy::CurrentUser();
        m_self->setText(tr("<b>%1</b><br><small>%2 · %3</small>")
                            .arg(self.Nickname().toHtmlEscaped(), self.zubrelId(), ZSkin::statusName(self.UserState())));
        if (m_offline)
            m_offline->setChecked(self.UserState() == 0);
        statusBar()->showMessage(tr("You are now %1").arg(ZSkin::statusName(self.UserState())), 5000);
        return;
    }
    const auto items = m_items.value(buddy.Id());
    for (QTreeWidgetItem *item : items)
        updateItem(item, buddy);
    if (!items.isEmpty() && m_network)
        statusBar()->showMessage(tr("%1 is now %2").arg(buddy.Nickname(), ZSkin::statusName(buddy.UserState())), 5000);
}

} // namespace zubrel
