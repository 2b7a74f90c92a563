#include "demosession.h"

#include <QApplication>
#include <QTimer>

#include "contactlistwindow.h"
#include "czubuddy_administrator.h"
#include "demoblocklist.h"
#include "demobots.h"
#include "demonetwork.h"
#include "demoslideshow.h"
#include "hostrequestlog.h"
#include "modulehost.h"
#include "tracewriter.h"
#include "zdir.h"

namespace zubrel {

DemoSession::DemoSession(ModuleHost *module, int latencyMs, QObject *parent)
    : QObject(parent)
    , m_module(module)
    , m_network(new DemoNetwork(latencyMs, this))
    , m_hostRequests(new HostRequestLog(this))
    , m_blockList(new DemoBlockList(m_network, this))
    , m_slideshow(new DemoSlideshow(m_network, this))
    , m_bots(new DemoBots(m_network, this))
{
    connect(m_network, &DemoNetwork::sent, m_hostRequests, &HostRequestLog::record);
}

DemoSession::~DemoSession() = default;

bool DemoSession::start(QString *error, TraceWriter *writer)
{
    CZuBuddy_Administrator *directory = CZuBuddy_Administrator::Instance();
    if (!directory->loadJsonFile(ZDir::applicationPath() + QLatin1String("/demo/contacts.json"), error))
        return false;
    if (!m_module->load(error))
        return false;
    if (writer)
        writer->write(QStringLiteral("plugin"), m_module->identity());
    m_network->attach();
    m_module->start();
    directory->setReady();
    m_network->setPresenceChanges(true);
    m_bots->setChanges(true);
    m_window = std::make_unique<ContactListWindow>(m_network);
    m_window->setHostRequestLog(m_hostRequests);
    m_window->reload();
    m_window->show();
    return true;
}

void DemoSession::openChats(const QList<uint> &contacts)
{
    // After the user information has come back, as a person could not click sooner.
    QTimer::singleShot(2 * m_network->latency() + 100, this, [contacts] {
        for (uint contact : contacts)
            ContactListWindow::openChat(contact);
    });
}

void DemoSession::shutdown()
{
    m_network->setPresenceChanges(false);
    m_bots->setChanges(false);
    m_module->stop();
    // Chat windows are top-level and belong to the module; closing them
    // now lets them save their geometry while the application still exists.
    QApplication::closeAllWindows();
    m_window.reset();
}

} // namespace zubrel
