// Not a benchmark: shows the contact picker ("picker"), an invitation
// ("invitation") or a busy multi chat ("busy") with the demo's contacts for
// a few seconds, then quits.
//   multichat_preview picker|invitation|busy [seconds]

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include "chat.h"
#include "contactdialog.h"
#include "czubuddy_administrator.h"
#include "demonetwork.h"
#include "multichatjoin.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"
#include "zchat.h"
#include "zchatlogger.h"
#include "zmodalscript.h"
#include "zsearchfield.h"

using namespace zubrel;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir profile;
    qputenv("ZUBREL_PROFILE", profile.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("ZUBREL_APP_DIR"))
        qputenv("ZUBREL_APP_DIR", ZUBREL_APP_DIR);
    CZuBuddy_Administrator::Instance()->loadJsonFile(QStringLiteral(DEMO_CONTACTS));
    const QString mode = app.arguments().value(1, QStringLiteral("busy"));
    QTimer::singleShot(app.arguments().value(2, QStringLiteral("6")).toInt() * 1000, &app, &QApplication::quit);

    std::unique_ptr<QWidget> shown;
    if (mode == QLatin1String("picker")) {
        auto *dialog = new ContactDialog;
        dialog->setLeaveOut({QStringLiteral("2001")});
        dialog->fillTree();
        dialog->applyAnswer({{"groups", true}, {"choose", QVariantList{"2002", "2005"}}});
        dialog->applyAnswer({{"filter", "o"}});
        dialog->move(80, 60);
        shown.reset(dialog);
    } else if (mode == QLatin1String("invitation")) {
        auto *dialog = new MultichatJoin;
        dialog->txtTitle->setText(dialog->txtTitle->text().replace(QLatin1String("%1"), QStringLiteral("Pixel")));
        dialog->move(80, 60);
        shown.reset(dialog);
    } else {
        ZModalScript::instance()->setScripted(true);
        ZChatLogger::initUser(QStringLiteral("1000"));
        WrapPluginHelper *helper = WrapPluginHelper::Instance();
        new Chat(helper); // owned by the helper
        SimulatedNetwork *network = helper->simulatedNetwork();
        ZModalScript::instance()->queue(QStringLiteral("dialog"), 1);
        network->inject(4, 0x8012, {ProtocolArg(6, 0, "2002"), ProtocolArg(6, 1, "900"), ProtocolArg(6, 2, "s")}, 31);
        network->succeed(network->lastSent(4, 0x0007).id,
                         {ProtocolArg(32, 0, "Bots' lounge"), ProtocolArg(4, 1, 3), ProtocolArg(6, 2, "2002"),
                          ProtocolArg(6, 3, "2001"), ProtocolArg(6, 4, "2007")});
        auto say = [network](const char *who, const QString &html, bool picture) {
            QList<ProtocolArg> args{ProtocolArg(6, 0, "900"), ProtocolArg(6, 1, 0), ProtocolArg(6, 2, who),
                                    ProtocolArg(32, 3, html.toUtf8())};
            if (picture) {
                args.append(ProtocolArg(4, 4, 1));
                args.append(ProtocolArg(32, 5, DemoNetwork::drawnPicture(3)));
            }
            network->inject(4, 0x8013, args);
        };
        say("2001", QStringLiteral("Welcome to the lounge!"), false);
        say("2002", QStringLiteral("I drew the room for you: <img src=\"%1\">"), true);
        network->inject(4, 0x800E, {ProtocolArg(6, 0, "900"), ProtocolArg(6, 1, "2005")});
        say("2005", QStringLiteral("made it, on the bus"), false);
        network->inject(4, 0x800E, {ProtocolArg(6, 0, "900"), ProtocolArg(6, 1, "2006")});
        say("2007", QStringLiteral("Anna! Long time."), false);
        network->inject(4, 0x8014, {ProtocolArg(6, 0, "900"), ProtocolArg(6, 1, "2006")});
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *window = qobject_cast<ZChat *>(widget)) {
                window->setGeometry(40, 40, 760, 560);
                window->show();
            }
        }
    }
    if (shown)
        shown->show();
    return app.exec();
}
