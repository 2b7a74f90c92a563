// The dictionary installer against the shipped loopback server: listings in
// their odd shapes, hostile names, error answers and cut connections must
// never write outside spelling/ nor replace an installed dictionary; the
// language travels with its own download; Ok reloads the engine.
#include "dictionaryfolder.h"
#include "dictionaryserver.h"
#include "zchatspelling.h"
#include "zchattab.h"
#include "zmodalscript.h"
#include "zsettings.h"
#include "zspelling.h"
#include "ztextedit.h"

#include <QDirIterator>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

using namespace zubrel;
using Reply = DictionaryServer::Reply;
Q_DECLARE_METATYPE(Reply)

class tst_ZChatSpelling : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void listing_data();
    void listing();
    void failureKeepsInstalled_data();
    void failureKeepsInstalled();
    void twoLanguagesInQuickSuccession();
    void closedMidDownload();
    void limitAndRemove();
    void noServerExplained();
    void okReloadsAndUnderlines();

private:
    void install(ZChatSpelling &dialog, const QString &language);
    void writeFile(const QString &name, const QByteArray &content);
    QStringList appFiles() const;

    QTemporaryDir m_app;
    QTemporaryDir m_profile;
    DictionaryServer m_server;
};

void tst_ZChatSpelling::initTestCase()
{
    // The build's application folder knows where the served files are.
    const QString built = qEnvironmentVariable("ZUBREL_APP_DIR") + "/../dictionary-server";
    QVERIFY2(QFile::exists(built + "/de/content"), "dictionary server files not built");
    qputenv("ZUBREL_APP_DIR", m_app.path().toUtf8());
    qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
    ZModalScript::instance()->setScripted(true);
    m_server.setRoot(built);
    QVERIFY(m_server.listen());
}

void tst_ZChatSpelling::init()
{
    QDir(DictionaryFolder::path()).removeRecursively();
    QVERIFY(QDir().mkpath(DictionaryFolder::path()));
    m_server.clearReplies();
    m_server.clearRequests();
    ZModalScript::instance()->clear();
    ZSettings::instance()->set("dictionary_server", m_server.url(), "spelling");
}

void tst_ZChatSpelling::install(ZChatSpelling &dialog, const QString &language)
{
    auto *list = dialog.findChild<QListWidget *>("lstAll");
    list->setCurrentItem(list->findItems(language, Qt::MatchExactly).value(0));
    QVERIFY(dialog.findChild<QPushButton *>("btnInstall")->isEnabled());
    dialog.findChild<QPushButton *>("btnInstall")->click();
}

void tst_ZChatSpelling::writeFile(const QString &name, const QByteArray &content)
{
    QFile file(DictionaryFolder::path() + '/' + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Every file under the application folder: nothing may land elsewhere, and
// no temporary file may be left behind.
QStringList tst_ZChatSpelling::appFiles() const
{
    QStringList files;
    QDirIterator it(m_app.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(m_app.path()).relativeFilePath(it.next());
    files.sort();
    return files;
}

void tst_ZChatSpelling::listing_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<QStringList>("requested");
    QTest::addColumn<QString>("status");
    const QStringList both{"/tools/spelling/de/de_DE.aff", "/tools/spelling/de/de_DE.dic"};
    QTest::newRow("good") << QByteArray("# content of de\nf de_DE.aff\nf de_DE.dic\n") << both << "German installed.";
    QTest::newRow("crlf") << QByteArray("# content\r\nf de_DE.aff\r\n\r\nf de_DE.dic\r\n") << both
                          << "German installed.";
    QTest::newRow("content lines") << QByteArray("f content\nf de_DE.aff\nf contents.dic\nf de_DE.dic")
                                   << both << "German installed.";
    QTest::newRow("malicious") << QByteArray("f ../evil.dic\nf /etc/evil\nf C:evil\nf sub\\evil\nf ..\nf .hidden\n"
                                             "f de_DE.aff\nf de_DE.dic\n")
                               << both << "German installed. 6 unsafe file name(s) refused.";
    QTest::newRow("url-encoded") << QByteArray("f de%5FDE.aff\nf %2e%2e%2fevil.dic\nf ..%2Fevil\nf de_DE.dic\n")
                                 << both << "German installed. 2 unsafe file name(s) refused.";
    QTest::newRow("only unsafe") << QByteArray("f ../../evil.dic\n") << QStringList()
                                 << "German: the server lists no usable file names.";
}

void tst_ZChatSpelling::listing()
{
    QFETCH(QByteArray, listing);
    QFETCH(QStringList, requested);
    QFETCH(QString, status);
    m_server.setReply("/tools/spelling/de/content", {200, listing});
    ZChatSpelling dialog;
    install(dialog, "German");
    QTRY_VERIFY(!dialog.isBusy());
    QCOMPARE(dialog.statusText(), status);
    QCOMPARE(m_server.requests(), QStringList{"/tools/spelling/de/content"} + requested);
    QStringList expected;
    for (const QString &path : requested)
        expected << "spelling/" + path.section('/', -1);
    QCOMPARE(appFiles(), expected);
    if (!requested.isEmpty())
        QCOMPARE(dialog.findChild<QListWidget *>("lstInstalled")->item(0)->text(), QString("German (de_DE)"));
}

void tst_ZChatSpelling::failureKeepsInstalled_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<QString>("status");
    const QString listing = "/tools/spelling/de/content";
    const QString dic = "/tools/spelling/de/de_DE.dic";
    QTest::newRow("listing 404") << listing << Reply{404, "gone"}
                                 << "German: the server answered 404 Not Found for the file listing.";
    QTest::newRow("listing 500") << listing << Reply{500, "oops"}
                                 << "German: the server answered 500 Internal Server Error for the file listing.";
    QTest::newRow("file 404") << dic << Reply{404, "<html>gone</html>"}
                              << "German: the server answered 404 Not Found for de_DE.dic.";
    QTest::newRow("file 500") << dic << Reply{500, "<html>oops</html>"}
                              << "German: the server answered 500 Internal Server Error for de_DE.dic.";
    QTest::newRow("file too big") << dic << Reply{200, QByteArray(8 * 1024 * 1024 + 1, 'x')}
                                  << "German: de_DE.dic is larger than 8 MB.";
    QTest::newRow("listing too big") << listing << Reply{200, QByteArray(64 * 1024 + 1, 'x')}
                                     << "German: the file listing is larger than 64 KB.";
    QTest::newRow("cut mid-body") << dic << Reply{200, QByteArray(200000, 'x'), 5000}
                                  << "German: de_DE.dic could not be downloaded";
    QTest::newRow("unreachable") << QString() << Reply{}
                                 << "German: the dictionary server cannot be reached.";
}

void tst_ZChatSpelling::failureKeepsInstalled()
{
    QFETCH(QString, path);
    QFETCH(Reply, reply);
    QFETCH(QString, status);
    if (path.isEmpty()) {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        ZSettings::instance()->set("dictionary_server", QString("127.0.0.1:%1").arg(closed.serverPort()), "spelling");
    }
    m_server.setReply(path, reply);
    writeFile("de_DE.aff", "old aff");
    writeFile("de_DE.dic", "old dic");
    ZChatSpelling dialog;
    install(dialog, "German");
    QTRY_VERIFY(!dialog.isBusy());
    QVERIFY2(dialog.statusText().startsWith(status), qPrintable(dialog.statusText()));
    QCOMPARE(appFiles(), (QStringList{"spelling/de_DE.aff", "spelling/de_DE.dic"}));
    QFile dicFile(DictionaryFolder::path() + "/de_DE.dic");
    QVERIFY(dicFile.open(QIODevice::ReadOnly));
    QCOMPARE(dicFile.readAll(), QByteArray("old dic"));
    QCOMPARE(dialog.findChild<QProgressBar *>("showProgress")->value(), 0);
}

void tst_ZChatSpelling::twoLanguagesInQuickSuccession()
{
    // German's listing is held back, so French's answer comes first.
    QFile listing(m_server.root() + "/de/content");
    QVERIFY(listing.open(QIODevice::ReadOnly));
    m_server.setReply("/tools/spelling/de/content", {200, listing.readAll(), 0, true});
    ZChatSpelling dialog;
    install(dialog, "German");
    install(dialog, "French");
    QTRY_VERIFY(DictionaryFolder::installed().contains("fr_FR"));
    QVERIFY(dialog.isBusy());
    m_server.releaseHeld();
    QTRY_VERIFY(!dialog.isBusy());
    QCOMPARE(DictionaryFolder::installed(), (QStringList{"de_DE", "fr_FR"}));
    for (const QString &request : m_server.requests())
        QVERIFY2(request.startsWith("/tools/spelling/fr/fr") || request.startsWith("/tools/spelling/de/de")
                     || request.endsWith("/content"), qPrintable(request));
    QCOMPARE(m_server.requests().size(), 6);
}

void tst_ZChatSpelling::closedMidDownload()
{
    writeFile("de_DE.dic", "old dic");
    writeFile("de_DE.aff", "old aff");
    m_server.setReply("/tools/spelling/de/de_DE.dic", {200, QByteArray(300000, 'x'), 1000, true});
    ZChatSpelling dialog;
    install(dialog, "German");
    QTRY_VERIFY(dialog.findChild<QProgressBar *>("showProgress")->value() > 0);
    dialog.findChild<QPushButton *>("btnOk")->click();
    QVERIFY(!dialog.isBusy());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    m_server.releaseHeld();
    QTest::qWait(50);
    QCOMPARE(appFiles(), (QStringList{"spelling/de_DE.aff", "spelling/de_DE.dic"}));
    QFile dicFile(DictionaryFolder::path() + "/de_DE.dic");
    QVERIFY(dicFile.open(QIODevice::ReadOnly));
    QCOMPARE(dicFile.readAll(), QByteArray("old dic"));
}

void tst_ZChatSpelling::limitAndRemove()
{
    for (const QString name : {"aa_AA", "bb_BB", "cc_CC"}) {
        writeFile(name + ".aff", "SET UTF-8\n");
        writeFile(name + ".dic", "1\nword\n");
    }
    writeFile("outside.dic", "not a dictionary: no .aff");
    ZChatSpelling dialog;
    auto *installed = dialog.findChild<QListWidget *>("lstInstalled");
    QCOMPARE(installed->count(), 3);
    install(dialog, "German");
    QCOMPARE(dialog.statusText(), QString("At most 3 dictionaries can be installed: remove one first."));
    QVERIFY(m_server.requests().isEmpty());

    auto *remove = dialog.findChild<QPushButton *>("btnRemove");
    QVERIFY(!remove->isEnabled());
    installed->setCurrentRow(1);
    remove->click();
    QCOMPARE(dialog.statusText(), QString("bb_BB removed."));
    QCOMPARE(DictionaryFolder::installed(), (QStringList{"aa_AA", "cc_CC"}));
    QVERIFY(!DictionaryFolder::remove("../spelling/aa_AA"));
    QVERIFY(!DictionaryFolder::remove("outside"));
    install(dialog, "German");
    QTRY_VERIFY(!dialog.isBusy());
    QCOMPARE(DictionaryFolder::installed(), (QStringList{"aa_AA", "cc_CC", "de_DE"}));
}

void tst_ZChatSpelling::noServerExplained()
{
    ZSettings::instance()->set("dictionary_server", QString(), "spelling");
    ZChatSpelling dialog;
    QCOMPARE(dialog.windowTitle(), QString("Install dictionaries"));
    const QString explained = "No dictionary server is configured (setting \"dictionary_server\" in group \"spelling\").";
    QCOMPARE(dialog.statusText(), explained);
    install(dialog, "English");
    QCOMPARE(dialog.statusText(), explained);
    QVERIFY(!dialog.isBusy());
    QVERIFY(m_server.requests().isEmpty());
}

void tst_ZChatSpelling::okReloadsAndUnderlines()
{
    ZChatTab tab;
    auto *input = tab.findChild<ZTextEdit *>();
    QVERIFY(input);
    input->setPlainText("Das Haus ist schön, the house");
    auto setup = [&tab] {
        for (QAction *action : tab.spellingMenu()->actions()) {
            if (action->text() == "Setup dictionaries")
                action->trigger();
        }
    };
    // Cancelled: the files arrive but the engine is not reloaded.
    ZModalScript::instance()->queue("dialog", QVariantMap{{"install", "French"}, {"result", "cancel"}});
    setup();
    QVERIFY(DictionaryFolder::installed().contains("fr_FR"));
    QVERIFY(!ZSpelling::instance()->dictionaries().contains("fr_FR"));

    ZModalScript::instance()->queue("dialog", QVariantMap{{"install", "German"}, {"result", "ok"}});
    setup();
    QCOMPARE(ZSpelling::instance()->dictionaries(), (QStringList{"de_DE", "fr_FR"}));
    QCOMPARE(input->dict(), QString("de_DE"));
    QCOMPARE(ZSettings::instance()->get("spelling_language", QString(), "spelling").toString(), QString("de_DE"));
    QStringList underlined;
    const QTextBlock block = input->document()->firstBlock();
    for (const auto &range : block.layout()->formats()) {
        if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            underlined << block.text().mid(range.start, range.length);
    }
    QCOMPARE(underlined, (QStringList{"the", "house"}));
}

QTEST_MAIN(tst_ZChatSpelling)
#include "tst_zchatspelling.moc"
