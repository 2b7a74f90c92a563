#include "xmppsession.h"

#include <QApplication>
#include <QDir>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

#include "contactlistwindow.h"
#include "czubuddy_administrator.h"
#include "modulehost.h"
#include "tracewriter.h"
#include "xmppbackend.h"
#include "xmppidmap.h"
#include "zdir.h"

namespace zubrel {

XmppSession::XmppSession(ModuleHost *module, const XmppConnection::Settings &settings, QObject *parent)
    : QObject(parent), m_module(module)
{
    m_backend = std::make_unique<XmppBackend>(settings, idFile(settings.jid));
    connect(m_backend.get(), &XmppBackend::statusChanged, this, [this](const QString &text) {
        m_status = text;
        if (m_window)
            m_window->statusBar()->showMessage(text);
    });
    connect(m_backend.get(), &XmppBackend::notAvailable, this, [this](const QString &what) {
        if (m_window)
            m_window->statusBar()->showMessage(tr("%1: not available on this network").arg(what), 6000);
    });
}

XmppSession::~XmppSession() = default;

QString XmppSession::idFile(const QString &jid)
{
    // One number map per account, in the profile.
    const QString folder = QDir(ZDir::profilePath()).filePath(QStringLiteral("xmpp/") + XmppIdMap::bareJid(jid));
    return QDir(folder).filePath(QStringLiteral("ids.json"));
}

bool XmppSession::start(QString *error, TraceWriter *writer)
{
    if (XmppIdMap::bareJid(m_backend->connection()->bareJid()).isEmpty()) {
        *error = QStringLiteral("not a JID: use user@server");
        return false;
    }
    if (!m_module->load(error))
        return false;
    if (writer)
        writer->write(QStringLiteral("plugin"), m_module->identity());
    m_backend->start();
    m_module->start();
    // The list appears with the roster; until then the window says what goes on.
    m_window = std::make_unique<ContactListWindow>(nullptr);
    m_window->setWindowTitle(tr("Zubrel - %1").arg(m_backend->connection()->bareJid()));
    m_window->statusBar()->showMessage(tr("Connecting..."));
    m_window->show();
    connect(CZuBuddy_Administrator::Instance(), &CZuBuddy_Administrator::ready, this, &XmppSession::showWindow);
    connect(m_backend.get(), &XmppBackend::contactsChanged, this, &XmppSession::showWindow);
    return true;
}

void XmppSession::showWindow()
{
    if (!m_window)
        return;
    m_window->reload();
    if (!m_status.isEmpty())
        m_window->statusBar()->showMessage(m_status);
}

void XmppSession::openChats(const QList<uint> &contacts)
{
    const auto open = [this, contacts] {
        // After the module's controller exists, which also waits for the roster.
        QTimer::singleShot(200, this, [contacts] {
            for (uint contact : contacts)
                ContactListWindow::openChat(contact);
        });
    };
    if (CZuBuddy_Administrator::Instance()->isReady())
        open();
    else
        connect(CZuBuddy_Administrator::Instance(), &CZuBuddy_Administrator::ready, this, open,
                Qt::SingleShotConnection);
}

void XmppSession::shutdown()
{
    m_module->stop();
    QApplication::closeAllWindows();
    m_window.reset();
    m_backend->stop();
}

bool XmppSession::promptPassword(const QString &jid, QString *password, QString *error)
{
    if (!::isatty(STDIN_FILENO)) {
        *error = QStringLiteral("no terminal to ask for the password: use --xmpp-password-file");
        return false;
    }
    std::fprintf(stderr, "Password for %s: ", qPrintable(jid));
    std::fflush(stderr);
    termios saved {};
    ::tcgetattr(STDIN_FILENO, &saved);
    termios silent = saved;
    silent.c_lflag &= ~tcflag_t(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &silent);
    char line[1024] = {};
    const bool ok = std::fgets(line, sizeof line, stdin) != nullptr;
    ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::fprintf(stderr, "\n");
    QByteArray bytes(line);
    std::fill(std::begin(line), std::end(line), '\0');
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    *password = QString::fromUtf8(bytes);
    if (!ok || password->isEmpty()) {
        *error = QStringLiteral("no password given");
        return false;
    }
    return true;
}

} // namespace zubrel
