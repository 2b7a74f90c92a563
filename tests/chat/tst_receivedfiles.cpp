// Received pictures and clips on disk: in the chat's own folder under the
// user's profile, bounded per message, gone when the chat closes unless
// the chat log shows them again, and swept at login.

#include <QDir>
#include <QFile>

#include "chattestsupport.h"
#include "receivedfiles.h"
#include "zdir.h"

using namespace zubrel;
using namespace ChatTest;

class tst_ReceivedFiles : public QObject
{
    Q_OBJECT

    Fixture f;

    QString folderOf(const QString &key) const { return ReceivedFiles::root() + u'/' + key; }
    QStringList filesOf(const QString &key) const { return QDir(folderOf(key)).entryList(QDir::Files); }

    void receive(const QString &from, const QString &html, const QList<QByteArray> &attachments)
    {
        QList<ProtocolArg> args{{6, 0, from}, {32, 10, html.toUtf8()}, {4, 637, int(attachments.size())}};
        for (const QByteArray &bytes : attachments)
            args.append({32, 0, bytes});
        f.network()->inject(4, 0xF0A1, args);
    }

private slots:
    void initTestCase() { f.setUpProcess(); }
    void init()
    {
        f.start();
        QDir(ReceivedFiles::root()).removeRecursively();
    }
    void cleanup() { f.stop(); }

    void oneMessageWritesOnlyWhatItShowsUpToTheCap()
    {
        QString html;
        QList<QByteArray> many;
        for (int i = 1; i <= 1000; ++i) {
            html += QStringLiteral("<img src=\"%%1\">").arg(i);
            many.append(QByteArray::number(i));
        }
        receive(anna, html, many);
        QCOMPARE(filesOf(anna).size(), ReceivedFiles::MaxFilesPerMessage);
        // Attachments the text never refers to are not written at all.
        receive(cleo, QStringLiteral("only <img src=\"%2\">"), {"one", "two", "three"});
        QCOMPARE(filesOf(cleo).size(), 1);
        QVERIFY(f.booksBalanced());
    }

    void closingKeepsOnlyWhatTheLogShowsAgain()
    {
        for (int i = 0; i < Chat::historyReplayCount + 2; ++i)
            receive(anna, "picture " + QString::number(i) + " <img src=\"%1\">", {QByteArray::number(i)});
        receive(cleo, QString(), {"RIFF clip"});
        QCOMPARE(filesOf(anna).size(), Chat::historyReplayCount + 2);
        f.closeAll();

        const QStringList kept = filesOf(anna);
        QCOMPARE(kept.size(), Chat::historyReplayCount);
        QObject owner;
        const QList<MessageStruct> shownAgain = ZChatLogger::create(anna, &owner, 1)->lastMessages(Chat::historyReplayCount);
        for (const QString &name : kept)
            QVERIFY(std::any_of(shownAgain.cbegin(), shownAgain.cend(),
                                [&](const MessageStruct &m) { return m.message.contains(name); }));
        // A clip is logged as its play link, which names the file: it stays too.
        QCOMPARE(filesOf(cleo).size(), 1);
    }

    void sweepRemovesLeftoversAndNothingElse()
    {
        QTemporaryDir outside;
        QFile victim(outside.filePath("victim"));
        QVERIFY(victim.open(QIODevice::WriteOnly));
        victim.close();
        for (const QString &key : {QStringLiteral("rc-7"), QStringLiteral("mc-9"), anna})
            QVERIFY(QDir().mkpath(folderOf(key)));
        for (const QString &path : {folderOf("rc-7") + "/a", folderOf("mc-9") + "/b", folderOf(anna) + "/orphan"}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link(outside.path(), folderOf("evil")));
        receive(cleo, QStringLiteral("open <img src=\"%1\">"), {"shown"});

        ReceivedFiles::sweep(Chat::historyReplayCount);
        QVERIFY(!QFileInfo::exists(folderOf("rc-7")));
        QVERIFY(!QFileInfo::exists(folderOf("mc-9")));
        QVERIFY(!QFileInfo::exists(folderOf(anna)));
        QCOMPARE(filesOf(cleo).size(), 1); // its chat is open
        QVERIFY(victim.exists());
    }
};

QTEST_MAIN(tst_ReceivedFiles)
#include "tst_receivedfiles.moc"
