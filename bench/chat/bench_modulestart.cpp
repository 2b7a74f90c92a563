// How long the module takes to start, as the client starts it: create() on
// the loaded library, start(), the contact directory reporting ready, until
// the module tells the host it is ready (its controller is up). Each run is
// a fresh process (the controller lives as long as the process), the
// library already mapped as the client has it after loading.
// Prints BENCH module_start_ms <median> ms.

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "czubuddy_administrator.h"
#include "modulehost.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"

using namespace zubrel;

namespace {

constexpr int runs = 9;
const char *childFlag = "--one-start";

int oneStart(QApplication &app)
{
    QTemporaryDir profile;
    qputenv("ZUBREL_PROFILE", profile.path().toUtf8());
    QJsonArray contacts;
    for (int i = 0; i < 50; ++i)
        contacts.append(QJsonObject{{"id", 2000 + i}, {"nick", QStringLiteral("Contact %1").arg(i)}, {"status", 1}});
    CZuBuddy_Administrator::Instance()->loadJson(
        QJsonObject{{"self", QJsonObject{{"id", 1000}, {"nick", "Me"}, {"status", 1}}}, {"contacts", contacts}});

    const QString path = QStringLiteral(ZUBREL_APP_DIR "/zubrelChat.so");
    QLibrary mapped(path);
    if (!mapped.load()) {
        std::fprintf(stderr, "%s\n", qPrintable(mapped.errorString()));
        return 1;
    }
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    SimulatedNetwork *network = helper->simulatedNetwork();
    bool ready = false;
    QObject::connect(helper, &WrapPluginHelper::moduleReady, &app, [&ready] { ready = true; });

    ModuleHost module;
    QString error;
    QElapsedTimer timer;
    timer.start();
    if (!module.load(&error, path)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    module.start();
    // The host answers who the user is and reports its directory ready.
    for (const SentRequest &request : network->sent()) {
        if (request.command.isCommand(1, 2))
            network->succeed(request.id, {ProtocolArg(6, 0, "1000")});
    }
    CZuBuddy_Administrator::Instance()->setReady();
    while (!ready && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (!ready)
        return 1;
    std::printf("%.3f\n", ms);
    module.stop();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (app.arguments().contains(QLatin1String(childFlag)))
        return oneStart(app);

    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(childFlag)});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            std::fprintf(stderr, "a start did not complete: %s\n", child.readAllStandardError().constData());
            return 1;
        }
        bool ok = false;
        const double ms = child.readAllStandardOutput().trimmed().toDouble(&ok);
        if (ok)
            times.append(ms);
    }
    if (times.isEmpty())
        return 1;
    std::sort(times.begin(), times.end());
    std::printf("BENCH module_start_ms %.2f ms\n", times.at(times.size() / 2));
    return 0;
}
