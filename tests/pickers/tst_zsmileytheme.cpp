// Theme files: the XML grammar, unsafe and broken files, and the themes the
// build generates into the application folder.
#include "zsmileytheme.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QStandardPaths>
#include <QTest>

using namespace zubrel;

class tst_ZSmileyTheme : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(!qEnvironmentVariableIsEmpty("ZUBREL_APP_DIR"));
    }

    void elementNamesIgnoreCase()
    {
        const ZSmileyTheme theme = ZSmileyTheme::parse(
            "<Smileys><NAME>Title</NAME><Image name=\":/a\" shortcut=\":)\"/><IMAGE name=\":/b\"/></Smileys>");
        QVERIFY(theme.isValid());
        QCOMPARE(theme.title(), QStringLiteral("Title"));
        QCOMPARE(theme.entries().size(), 2);
    }

    void authorAppended()
    {
        const ZSmileyTheme theme = ZSmileyTheme::parse("<s><name>Faces</name><author>Ann</author><author></author></s>");
        QCOMPARE(theme.title(), QStringLiteral("Faces - Ann"));
    }

    void authorBeforeNameIsLost()
    {
        const ZSmileyTheme theme = ZSmileyTheme::parse("<s><author>Ann</author><name>Faces</name></s>");
        QCOMPARE(theme.title(), QStringLiteral("Faces"));
    }

    void laterShortcutWins()
    {
        const ZSmileyTheme theme = ZSmileyTheme::parse(
            "<s><image name=\":/first\" shortcut=\":)\"/><image name=\":/second\" shortcutex=\":)\"/></s>");
        QCOMPARE(theme.shortcutMap().value(QStringLiteral(":)")), QStringLiteral(":/second"));
    }

    void shortcutPiecesAndTooltip()
    {
        const ZSmileyTheme theme = ZSmileyTheme::parse(
            "<s><image id=\"7\" name=\":/smile\" tr=\"Smile\" shortcut=\":-) :)\" shortcutex=\"(smile)\"/></s>");
        QCOMPARE(theme.entries().size(), 1);
        const ZSmileyEntry &entry = theme.entries().first();
        QCOMPARE(entry.id, QStringLiteral("7"));
        QCOMPARE(entry.tr, QStringLiteral("Smile"));
        QCOMPARE(entry.shortcut, QStringLiteral(":-) :)"));
        QCOMPARE(theme.shortcutMap().size(), 3);
        for (const char *key : {":-)", ":)", "(smile)"})
            QCOMPARE(theme.shortcutMap().value(QLatin1String(key)), QStringLiteral(":/smile"));
    }

    void soundMapOnlyNonEmpty()
    {
        const ZSmileyTheme theme = ZSmileyTheme::parse(
            "<s><image name=\":/a\" sound=\"a.wav\"/><image name=\":/b\" sound=\"\"/></s>");
        QCOMPARE(theme.soundMap().size(), 1);
        QCOMPARE(theme.soundMap().value(QStringLiteral(":/a")), QStringLiteral("a.wav"));
    }

    void unknownElementsSkipped()
    {
        const ZSmileyTheme theme = ZSmileyTheme::parse(
            "<s><version>2</version><group><image name=\":/nested\"/></group><image name=\":/a\"/></s>");
        QVERIFY(theme.isValid());
        QCOMPARE(theme.entries().size(), 1);
        QCOMPARE(theme.entries().first().name, QStringLiteral(":/a"));
    }

    void unsafeEntriesSkipped_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::newRow("not a resource") << QByteArray("<image name=\"/etc/passwd\" shortcut=\"x\"/>");
        QTest::newRow("dot dot in name") << QByteArray("<image name=\":/../x\" shortcut=\"x\"/>");
        QTest::newRow("dot dot in sound") << QByteArray("<image name=\":/a\" sound=\"../../x.wav\"/>");
        QTest::newRow("path in sound") << QByteArray("<image name=\":/a\" sound=\"/tmp/x.wav\"/>");
        QTest::newRow("empty name") << QByteArray("<image shortcut=\"x\"/>");
    }
    void unsafeEntriesSkipped()
    {
        QFETCH(QByteArray, image);
        const ZSmileyTheme theme = ZSmileyTheme::parse("<s>" + image + "<image name=\":/ok\"/></s>");
        QVERIFY(theme.isValid());
        QCOMPARE(theme.entries().size(), 1);
        QCOMPARE(theme.entries().first().name, QStringLiteral(":/ok"));
        QVERIFY(!theme.shortcutMap().contains(QStringLiteral("x")));
        QVERIFY(theme.soundMap().isEmpty());
    }

    void brokenXml_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not xml") << QByteArray("\x89PNG\r\n");
        QTest::newRow("unclosed") << QByteArray("<s><image name=\":/a\"/>");
        QTest::newRow("broken after entries") << QByteArray("<s><image name=\":/a\"/></t>");
        QTest::newRow("entity bomb") << QByteArray(
            "<!DOCTYPE s [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
            "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
            "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">]>"
            "<s><name>&f;&f;&f;&f;&f;&f;&f;&f;</name></s>");
    }
    void brokenXml()
    {
        QFETCH(QByteArray, xml);
        const ZSmileyTheme theme = ZSmileyTheme::parse(xml);
        QVERIFY(!theme.isValid());
        QVERIFY(theme.entries().isEmpty());
        QVERIFY(theme.shortcutMap().isEmpty());
    }

    void deepNestingDoesNotCrash()
    {
        QByteArray xml("<s><image name=\":/a\"/><deep>");
        xml += QByteArray("<x>").repeated(200000) + QByteArray("</x>").repeated(200000);
        xml += "</deep></s>";
        const ZSmileyTheme theme = ZSmileyTheme::parse(xml);
        QCOMPARE(theme.entries().size(), 1);
    }

    void tooManyEntriesTruncated()
    {
        QByteArray xml("<s>");
        for (int i = 0; i < ZSmileyTheme::maxEntries + 500; ++i)
            xml += "<image name=\":/p" + QByteArray::number(i) + "\" shortcut=\"s" + QByteArray::number(i) + "\"/>";
        xml += "</s>";
        const ZSmileyTheme theme = ZSmileyTheme::parse(xml);
        QCOMPARE(theme.entries().size(), ZSmileyTheme::maxEntries);
    }

    void pushThemeBuildsNoMaps()
    {
        const ZSmileyTheme theme = ZSmileyTheme::parse("<p><image name=\":/clip.wav\" shortcut=\"Clip\" sound=\"x\"/></p>",
                                                       ZSmileyTheme::Kind::PushMessages);
        QCOMPARE(theme.entries().size(), 1);
        QVERIFY(theme.shortcutMap().isEmpty());
        QVERIFY(theme.soundMap().isEmpty());
    }

    void missingThemeIsInvalid()
    {
        QVERIFY(!ZSmileyTheme::load(QStringLiteral("no-such-theme")).isValid());
        QVERIFY(!ZSmileyTheme::load(QStringLiteral("../default")).isValid());
        QVERIFY(!ZSmileyTheme::load(QString()).isValid());
    }

    void installedDefaultTheme()
    {
        QVERIFY(ZSmileyTheme::themeNames(ZSmileyTheme::Kind::Smileys).contains(QStringLiteral("default")));
        const ZSmileyTheme theme = ZSmileyTheme::load(QStringLiteral("default"));
        QVERIFY(theme.isValid());
        QVERIFY(!theme.title().isEmpty());
        QVERIFY(theme.entries().size() >= 40);
        for (const char *shortcut : {":-)", ":)", ";-)", ";)", ":D", ":P", ":(", ":-O", "8-)", ":'(", ":-*", "<3"})
            QVERIFY2(theme.shortcutMap().contains(QLatin1String(shortcut)), shortcut);
        int animated = 0;
        for (const ZSmileyEntry &entry : theme.entries()) {
            QVERIFY(!entry.tr.isEmpty());
            QImageReader reader(entry.name);
            QVERIFY2(reader.canRead(), qPrintable(entry.name));
            QCOMPARE(reader.size(), QSize(24, 24));
            if (reader.supportsAnimation() && reader.imageCount() > 1)
                ++animated;
        }
        QVERIFY(animated >= 3);
        QVERIFY(theme.soundMap().size() >= 3);
        for (const QString &sound : theme.soundMap()) {
            const QString path = QStringLiteral("%1/sounds/standard/smilies/%2")
                                     .arg(qEnvironmentVariable("ZUBREL_APP_DIR"), sound);
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            QVERIFY(file.read(12).startsWith("RIFF"));
        }
    }

    void installedSecondTheme()
    {
        const QStringList names = ZSmileyTheme::themeNames(ZSmileyTheme::Kind::Smileys);
        QVERIFY(names.size() >= 2);
        for (const QString &name : names) {
            const ZSmileyTheme theme = ZSmileyTheme::load(name);
            QVERIFY(theme.isValid());
            QVERIFY(!theme.entries().isEmpty());
            QVERIFY(!QImage(theme.entries().first().name).isNull());
        }
    }

    void installedPushTheme()
    {
        const ZSmileyTheme theme = ZSmileyTheme::load(QStringLiteral("default"), ZSmileyTheme::Kind::PushMessages);
        QVERIFY(theme.isValid());
        QVERIFY(theme.entries().size() >= 3);
        for (const ZSmileyEntry &entry : theme.entries()) {
            QFile clip(entry.name); // inside the emoticon theme's resource file
            QVERIFY2(clip.open(QIODevice::ReadOnly), qPrintable(entry.name));
            QVERIFY(clip.read(4) == "RIFF");
            QVERIFY(!entry.shortcut.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(tst_ZSmileyTheme)
#include "tst_zsmileytheme.moc"
