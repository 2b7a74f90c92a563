// zubrel-host: loads the chat module as the client does. Without --replay it
// is the interactive demo (contact list and a simulated network with bots);
// with --replay it runs a script headless and writes a trace.

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>
#include <memory>
#include <optional>

#include "crashguard.h"
#include "demopush.h"
#include "demolonghistory.h"
#include "demonetwork.h"
#include "demosession.h"
#include "hostappearance.h"
#include "hosttracer.h"
#include "modulehost.h"
#include "replayrunner.h"
#include "soundserver.h"
#include "tracewriter.h"
#include "xmppbackend.h"
#include "xmpppasswordfile.h"
#include "xmppsession.h"
#include "zdir.h"
#include "zmodalscript.h"
#include "zsettings.h"

using namespace zubrel;

namespace {

bool hasArgument(int argc, char **argv, const char *name)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // Replays are headless: without a chosen platform they need no display.
    const bool replay = hasArgument(argc, argv, "--replay");
    if (replay && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zubrel"));
    QApplication::setOrganizationName(QStringLiteral("Zubrel"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Demo host of the zubrel chat module"));
    parser.addHelpOption();
    const QCommandLineOption replayOption(QStringLiteral("replay"), QStringLiteral("Run a replay script headless."),
                                          QStringLiteral("SCRIPT"));
    const QCommandLineOption traceOption(QStringLiteral("trace"), QStringLiteral("Write trace events to FILE."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption profileOption(QStringLiteral("profile"), QStringLiteral("Per-user data folder."),
                                           QStringLiteral("DIR"));
    const QCommandLineOption quitOption(QStringLiteral("quit-after"), QStringLiteral("Quit after MS milliseconds."),
                                        QStringLiteral("MS"));
    const QCommandLineOption latencyOption(QStringLiteral("latency"),
                                           QStringLiteral("Simulated network latency in milliseconds."),
                                           QStringLiteral("MS"), QStringLiteral("300"));
    const QCommandLineOption openOption(QStringLiteral("open"), QStringLiteral("Open a chat with contact ID at start."),
                                        QStringLiteral("ID"));
    const QCommandLineOption dictionaryOption(QStringLiteral("dictionary-server"),
                                              QStringLiteral("Dictionary download server for the installer."),
                                              QStringLiteral("URL"));
    const QCommandLineOption soundOption(QStringLiteral("sound-server"),
                                         QStringLiteral("Play and record through a private sound server whose "
                                                        "speaker is the microphone (for machines without a sound card)."));
    const QCommandLineOption xmppOption(QStringLiteral("xmpp"),
                                        QStringLiteral("Sign in to an XMPP server as JID instead of the simulated "
                                                       "network (the password is asked for, or read from "
                                                       "--xmpp-password-file)."),
                                        QStringLiteral("JID"));
    const QCommandLineOption xmppPasswordOption(QStringLiteral("xmpp-password-file"),
                                                QStringLiteral("File with the XMPP password, readable by you only."),
                                                QStringLiteral("FILE"));
    const QCommandLineOption xmppServerOption(QStringLiteral("xmpp-server"),
                                              QStringLiteral("Connect to HOST[:PORT] instead of the JID's server."),
                                              QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption longHistoryOption(
        QStringLiteral("long-history"),
        QStringLiteral("Fill Echo's chat log in the profile with 5,000 generated messages (once per profile)."));
    parser.addOptions({replayOption, traceOption, profileOption, quitOption, latencyOption, openOption,
                       dictionaryOption, soundOption, xmppOption, xmppPasswordOption, xmppServerOption,
                       longHistoryOption});
    HostAppearance appearance;
    appearance.addOptions(&parser);
    parser.process(app);

    // Before anything looks at the audio devices: the back end connects once.
    SoundServer soundServer;
    if (parser.isSet(soundOption)) {
        QString soundError;
        if (!soundServer.start(&soundError))
            qWarning("no private sound server: %s", qPrintable(soundError));
    }
    DemoPush demoPush(replay || !soundServer.isRunning() ? nullptr : &soundServer);

    QString error;
    if (!appearance.apply(parser, replay, &error)) {
        qCritical("%s", qPrintable(error));
        return 64;
    }

    TraceWriter writer;
    std::optional<XmppConnection::Settings> xmpp;
    if (parser.isSet(xmppOption)) {
        xmpp.emplace();
        xmpp->jid = parser.value(xmppOption);
        const QString server = parser.value(xmppServerOption);
        xmpp->host = server.section(QLatin1Char(':'), 0, 0);
        if (server.contains(QLatin1Char(':'))) {
            bool ok = false;
            xmpp->port = server.section(QLatin1Char(':'), 1).toInt(&ok);
            if (!ok || xmpp->port <= 0 || xmpp->port > 65535) {
                qCritical("--xmpp-server needs HOST or HOST:PORT");
                return 64;
            }
        }
        const bool havePassword = parser.isSet(xmppPasswordOption)
                                      ? XmppPasswordFile::read(parser.value(xmppPasswordOption), &xmpp->password, &error)
                                      : XmppSession::promptPassword(xmpp->jid, &xmpp->password, &error);
        if (!havePassword) {
            qCritical("%s", qPrintable(error));
            return 64;
        }
    }
    // A replay traces to standard output unless told otherwise; the demo
    // only when asked.
    if ((replay || parser.isSet(traceOption)) && !writer.open(parser.value(traceOption), &error)) {
        qCritical("cannot write the trace %s: %s", qPrintable(parser.value(traceOption)), qPrintable(error));
        return 2;
    }
    CrashGuard::install(writer.fileDescriptor());

    // A replay starts from nothing unless told otherwise; the demo keeps
    // its user's history where the platform keeps application data.
    std::optional<QTemporaryDir> temporaryProfile;
    QString profile = parser.value(profileOption);
    if (profile.isEmpty() && replay) {
        temporaryProfile.emplace();
        profile = temporaryProfile->path();
    } else if (profile.isEmpty()) {
        profile = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    ZDir::setProfilePath(profile);

    HostTracer tracer(&writer);
    ModuleHost module;

    if (replay) {
        ZModalScript::instance()->setScripted(true);
        ReplayRunner runner(&writer, &tracer, &module);
        // A replay over a real server: the script drives the module, the
        // XMPP backend carries its commands (the script's "answer" and
        // "in" steps have nothing to do there).
        std::unique_ptr<XmppBackend> network;
        if (xmpp) {
            network = std::make_unique<XmppBackend>(*xmpp, XmppSession::idFile(xmpp->jid));
            network->start();
        }
        return runner.run(parser.value(replayOption));
    }

    // Settings are per user: the server is written again for whoever logs in.
    if (parser.isSet(dictionaryOption)) {
        const QString url = parser.value(dictionaryOption);
        auto writeServer = [url] {
            ZSettings::instance()->set(QStringLiteral("dictionary_server"), url, QStringLiteral("spelling"));
        };
        writeServer();
        QObject::connect(ZSettings::instance(), &ZSettings::userChanged, &app, writeServer);
    }

    if (xmpp) {
        XmppSession session(&module, *xmpp);
        if (!session.start(&error, &writer)) {
            qCritical("%s", qPrintable(error));
            return 1;
        }
        QList<uint> chats;
        for (const QString &id : parser.values(openOption))
            chats.append(id.toUInt());
        chats.removeAll(0u);
        session.openChats(chats);
        if (parser.isSet(quitOption))
            QTimer::singleShot(qMax(0, parser.value(quitOption).toInt()), &app, &QCoreApplication::quit);
        const int status = QApplication::exec();
        session.shutdown();
        if (writer.isOpen())
            tracer.writeEnd();
        return status;
    }

    bool latencyOk = false;
    const int latency = parser.value(latencyOption).toInt(&latencyOk);
    if (parser.isSet(longHistoryOption)
        && !DemoLongHistory::fill(profile, DemoNetwork::selfId, 2001, QStringLiteral("Echo"), &error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    DemoSession session(&module, latencyOk && latency >= 0 ? latency : 300);
    if (!session.start(&error, &writer)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    QList<uint> contacts;
    for (const QString &id : parser.values(openOption)) {
        bool ok = false;
        contacts.append(id.toUInt(&ok));
        if (!ok || contacts.last() == 0) {
            qCritical("--open needs a contact number");
            return 64;
        }
    }
    session.openChats(contacts);
    if (parser.isSet(quitOption)) {
        bool ok = false;
        const int ms = parser.value(quitOption).toInt(&ok);
        if (!ok || ms < 0) {
            qCritical("--quit-after needs a number of milliseconds");
            return 64;
        }
        QTimer::singleShot(ms, &app, &QCoreApplication::quit);
    }
    const int status = QApplication::exec();
    session.shutdown();
    // A demo trace ends like a replay's, with what was left open.
    if (writer.isOpen())
        tracer.writeEnd();
    return status;
}
