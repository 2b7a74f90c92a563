// A minimal host: loads the chat module the way the client does, answers the
// login question with a demo user and reports the contact directory ready.

#include <QApplication>
#include <QLibrary>
#include <QTimer>

#include "czubuddy_administrator.h"
#include "simulatednetwork.h"
#include "wrapplugin.h"
#include "wrappluginhelper.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLibrary module(QCoreApplication::applicationDirPath() + QLatin1String("/zubrelChat.so"));
    auto create = reinterpret_cast<WrapPluginCreate>(module.resolve("create"));
    if (!create) {
        qCritical("cannot load the chat module: %s", qPrintable(module.errorString()));
        return 1;
    }
    std::unique_ptr<WrapPlugin> plugin(create());
    if (!plugin)
        return 1;

    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    helper->simulatedNetwork()->setResponder([helper](const SentRequest &sent) {
        if (sent.command.isCommand(1, 2))
            QTimer::singleShot(0, helper, [helper, id = sent.id] {
                helper->completeRequest(id, true, {ProtocolArg(DataTypes::Identifier, 0, 1000u)});
            });
    });
    BuddyData self;
    self.id = 1000;
    self.nickname = QStringLiteral("Demo User");
    self.userState = 1;
    CZuBuddy_Administrator::Instance()->setCurrentUser(self);
    plugin->start();
    CZuBuddy_Administrator::Instance()->setReady();

    const QStringList args = app.arguments();
    const int quitAfter = args.indexOf(QLatin1String("--quit-after"));
    if (quitAfter >= 0 && quitAfter + 1 < args.size())
        QTimer::singleShot(args.at(quitAfter + 1).toInt(), &app, &QCoreApplication::quit);
    const int result = app.exec();
    plugin->stop();
    return result;
}
