#include "zspelling.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

class tst_ZSpelling : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_app.isValid());
        QVERIFY(QDir(m_app.path()).mkpath("spelling"));
        // Before the engine's first scan: it looks at the application folder.
        qputenv("ZUBREL_APP_DIR", m_app.path().toUtf8());
    }

    void systemFolderIgnored()
    {
        // Only what the application's folder holds counts, even where the system
        // has hunspell packages: installing and removing must mean something.
        ZSpelling *spelling = ZSpelling::instance();
        QVERIFY(spelling->dictionaries().isEmpty());
        QVERIFY(spelling->dictionary().isEmpty());
        QVERIFY(spelling->isAvailable());
        QVERIFY(!spelling->isCorrect("house"));
    }

    void appDictionaryFound()
    {
        ZSpelling *spelling = ZSpelling::instance();
        writeDictionary("xx_TEST", "SET UTF-8\nTRY abcdefghijklmnopqrstuvwxyz\n",
                        "3\nzubrel\nchat\nemoticon\n");
        QSignalSpy changed(spelling, &ZSpelling::dictionariesChanged);
        const QString before = spelling->dictionary();
        spelling->reload();
        QCOMPARE(changed.size(), 1);
        QVERIFY(spelling->dictionaries().contains("xx_TEST"));
        QCOMPARE(spelling->dictionaries().count("xx_TEST"), 1);
        QCOMPARE(spelling->dictionary(), before.isEmpty() ? QStringLiteral("xx_TEST") : before);

        QVERIFY(spelling->setDictionary("xx_TEST"));
        QCOMPARE(spelling->dictionary(), QStringLiteral("xx_TEST"));
        QVERIFY(spelling->isCorrect("zubrel"));
        QVERIFY(!spelling->isCorrect("house"));
        QCOMPARE(spelling->suggestions("zubrl"), QStringList{"zubrel"});
        // Reloading keeps the chosen dictionary.
        spelling->reload();
        QCOMPARE(spelling->dictionary(), QStringLiteral("xx_TEST"));
    }

    void eightBitDictionary()
    {
        ZSpelling *spelling = ZSpelling::instance();
        // Latin-1 files: the engine must convert both ways, not pass UTF-8 bytes.
        writeDictionary("yy_LATIN", "SET ISO8859-1\nTRY e\xe9\n", "2\ncaf\xe9\nna\xefve\n");
        spelling->reload();
        QVERIFY(spelling->setDictionary("yy_LATIN"));
        QVERIFY(spelling->isCorrect(QString::fromUtf8("café")));
        QVERIFY(spelling->isCorrect(QString::fromUtf8("naïve")));
        QVERIFY(!spelling->isCorrect("cafe"));
        QVERIFY(spelling->suggestions("cafe").contains(QString::fromUtf8("café")));
        // Text the dictionary's encoding cannot hold is simply not correct.
        QVERIFY(!spelling->isCorrect(QString::fromUtf8("日本")));
        QVERIFY(spelling->suggestions(QString::fromUtf8("日本")).isEmpty());
    }

    void unknownDictionaryKeepsCurrent()
    {
        ZSpelling *spelling = ZSpelling::instance();
        QVERIFY(spelling->setDictionary("xx_TEST"));
        QVERIFY(!spelling->setDictionary("zz_NONE"));
        QVERIFY(!spelling->setDictionary("../../etc/passwd"));
        QCOMPARE(spelling->dictionary(), QStringLiteral("xx_TEST"));
        QVERIFY(spelling->isCorrect("chat"));

        // Once its files are gone, a reload falls back to the default choice.
        QVERIFY(QFile::remove(m_app.path() + "/spelling/xx_TEST.dic"));
        spelling->reload();
        QVERIFY(!spelling->dictionaries().contains("xx_TEST"));
        const QStringList all = spelling->dictionaries();
        QCOMPARE(spelling->dictionary(), all.contains("en_US") ? QStringLiteral("en_US") : all.value(0));
        QVERIFY(std::is_sorted(all.begin(), all.end()));
    }

private:
    void writeDictionary(const QString &name, const QByteArray &aff, const QByteArray &dic);
    QTemporaryDir m_app;
};

void tst_ZSpelling::writeDictionary(const QString &name, const QByteArray &aff, const QByteArray &dic)
{
    const QString base = m_app.path() + "/spelling/" + name;
    QFile affFile(base + ".aff");
    QVERIFY(affFile.open(QIODevice::WriteOnly));
    affFile.write(aff);
    QFile dicFile(base + ".dic");
    QVERIFY(dicFile.open(QIODevice::WriteOnly));
    dicFile.write(dic);
}

QTEST_GUILESS_MAIN(tst_ZSpelling)
#include "tst_zspelling.moc"
