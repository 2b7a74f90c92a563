// Not a benchmark: a chat tab with the dictionary installer open, German just
// installed from the loopback server and English words underlined in the
// German text, for looking at the dialog (and for screenshots). Quits by
// itself.
//   spelling_preview [seconds]
#include "dictionaryserver.h"
#include "zchatspelling.h"
#include "zchattab.h"
#include "zsettings.h"
#include "zspelling.h"
#include "ztextedit.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace zubrel;

int main(int argc, char **argv)
{
    QTemporaryDir profile;
    QTemporaryDir appDir;
    qputenv("ZUBREL_PROFILE", profile.path().toUtf8());
    qputenv("ZUBREL_APP_DIR", appDir.path().toUtf8());
    // English ships with the client, as in the build's application folder.
    QDir().mkpath(appDir.path() + QStringLiteral("/spelling"));
    for (const char *file : {"en_US.aff", "en_US.dic"})
        QFile::copy(QStringLiteral(ZUBREL_BENCH_APP_DIR "/spelling/") + QLatin1String(file),
                    appDir.path() + QStringLiteral("/spelling/") + QLatin1String(file));
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 8;

    DictionaryServer server;
    server.setRoot(QStringLiteral(ZUBREL_BENCH_APP_DIR "/../dictionary-server"));
    server.listen();
    ZSettings::instance()->set(QStringLiteral("dictionary_server"), server.url(), QStringLiteral("spelling"));
    ZSpelling::instance()->reload();

    // The tab disposes of itself when it closes, as in a chat window.
    auto *tab = new ZChatTab;
    tab->setWindowTitle(QStringLiteral("Chat with Anna"));
    auto *input = tab->findChild<ZTextEdit *>();
    input->setPlainText(QStringLiteral("Wir treffen uns morgen im Garten, please bring the cake!"));
    tab->resize(520, 420);
    tab->move(30, 30);
    tab->show();

    auto *dialog = new ZChatSpelling(tab);
    dialog->setWindowFlag(Qt::Window);
    dialog->move(600, 60);
    dialog->show();
    QObject::connect(dialog, &ZChatSpelling::idle, tab, [input, dialog] {
        ZSpelling::instance()->reload();
        input->setDict(dialog->lastInstalled());
    });
    QTimer::singleShot(300, dialog, [dialog] {
        auto *all = dialog->findChild<QListWidget *>(QStringLiteral("lstAll"));
        all->setCurrentItem(all->findItems(QStringLiteral("German"), Qt::MatchExactly).value(0));
        dialog->findChild<QPushButton *>(QStringLiteral("btnInstall"))->click();
    });
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
