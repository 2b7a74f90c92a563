// Prints "BENCH <name> <value> <unit>" lines:
//   spell_input_ms    re-check after one keystroke in the middle of a
//                     10,000-character input (one paragraph, the worst case)
//   spell_install_ms  installing a 5 MB dictionary from the loopback server
#include "dictionaryfolder.h"
#include "dictionaryserver.h"
#include "zchatspelling.h"
#include "zsettings.h"
#include "zspelling.h"
#include "ztextedit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QEventLoop>
#include <QTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

using namespace zubrel;

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void print(const char *name, double value)
{
    QTextStream(stdout) << "BENCH " << name << ' ' << QString::number(value, 'f', 2) << " ms\n";
}

QString sampleText(int size)
{
    static const QStringList words{"the",     "meeting", "tomorrow", "recieve", "house",  "bring",
                                   "report",  "definately", "window", "garden", "zubrel", "seperate",
                                   "friends", "evening", "weather",  "nice",   "chat",   "message"};
    QRandomGenerator random(11);
    QString text;
    while (text.size() < size)
        text += words.at(random.bounded(words.size())) + (random.bounded(9) == 0 ? ", " : " ");
    text.truncate(size);
    return text;
}

double spellInput()
{
    ZTextEdit input;
    input.resize(600, 200);
    input.setSpellChecking(true);
    input.setPlainText(sampleText(10000));
    QList<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < 60; ++i) {
        QTextCursor cursor(input.document());
        cursor.setPosition(5000 + i % 7);
        timer.start();
        if (i % 2 == 0)
            cursor.insertText(QStringLiteral("e"));
        else
            cursor.deleteChar();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

double spellInstall(const QString &appDir)
{
    // A dictionary of 5 MB, served as the English one.
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("en"));
    const QList<std::pair<QString, QByteArray>> files{
        {QStringLiteral("content"), "# content\nf xx_XX.aff\nf xx_XX.dic\n"},
        {QStringLiteral("xx_XX.aff"), "SET UTF-8\n"},
        {QStringLiteral("xx_XX.dic"), QByteArray(5 * 1000 * 1000, 'a')}};
    for (const auto &[name, content] : files) {
        QFile file(root.path() + QStringLiteral("/en/") + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return -1;
    }
    DictionaryServer server;
    server.setRoot(root.path());
    if (!server.listen())
        return -1;
    ZSettings::instance()->set(QStringLiteral("dictionary_server"), server.url(), QStringLiteral("spelling"));

    QList<double> times;
    for (int i = 0; i < 7; ++i) {
        QDir(appDir + QStringLiteral("/spelling")).removeRecursively();
        ZChatSpelling dialog;
        auto *all = dialog.findChild<QListWidget *>(QStringLiteral("lstAll"));
        all->setCurrentItem(all->findItems(QStringLiteral("English"), Qt::MatchExactly).value(0));
        QEventLoop loop;
        QObject::connect(&dialog, &ZChatSpelling::idle, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        QElapsedTimer timer;
        timer.start();
        dialog.findChild<QPushButton *>(QStringLiteral("btnInstall"))->click();
        loop.exec();
        if (!DictionaryFolder::installed().contains(QStringLiteral("xx_XX")))
            return -1;
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("ZUBREL_APP_DIR", ZUBREL_BENCH_APP_DIR);
    QApplication app(argc, argv);
    // English from the build's application folder.
    ZSpelling::instance()->setDictionary(QStringLiteral("en_US"));
    print("spell_input_ms", spellInput());

    QTemporaryDir appDir;
    QTemporaryDir profile;
    qputenv("ZUBREL_APP_DIR", appDir.path().toUtf8());
    qputenv("ZUBREL_PROFILE", profile.path().toUtf8());
    print("spell_install_ms", spellInstall(appDir.path()));
    return 0;
}
