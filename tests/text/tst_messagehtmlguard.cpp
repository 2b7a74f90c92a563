// Hostile message HTML: what reaches a document is bounded, and a document
// loads pictures only from the module's own places.

#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "guardedtextdocument.h"
#include "messagehtmlguard.h"
#include "zdir.h"

using namespace zubrel;
using G = MessageHtmlGuard;

class tst_MessageHtmlGuard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_profile.isValid());
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
    }

    void ordinaryMessagesPassUnchanged_data()
    {
        QTest::addColumn<QString>("html");
        QTest::newRow("text") << QStringLiteral("Hello <b>you</b> &amp; me");
        QTest::newRow("picture") << QStringLiteral("<img src=\":/smile\" /> and <IMG SRC=\"/x.png\" width=20>");
        QTest::newRow("link") << QStringLiteral("<a href=\"http://example.com/\">example.com</a>");
        QTest::newRow("table") << QStringLiteral("<table><tr><td>1</td><td>2</td></tr></table>");
        QTest::newRow("unclosed") << QStringLiteral("<font color=red>red");
    }
    void ordinaryMessagesPassUnchanged()
    {
        QFETCH(QString, html);
        bool shortened = true;
        QCOMPARE(G::bounded(html, &shortened), html);
        QVERIFY(!shortened);
    }

    void hostileMessagesAreBounded_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("tag");   // counted in the result
        QTest::addColumn<int>("most");      // at most this many of it
        QTest::addColumn<bool>("shortened");
        const QString cell = QStringLiteral("<table><tr><td>");
        QTest::newRow("nested tables") << cell.repeated(3000) << QStringLiteral("<table") << G::MaxTableDepth << false;
        QTest::newRow("wide table") << QStringLiteral("<table><tr>") + QStringLiteral("<td>x</td>").repeated(5000)
                                    << QStringLiteral("<td") << G::MaxTableCells << false;
        QTest::newRow("deep inline") << QStringLiteral("<b><i>").repeated(5000) + u'x' << QStringLiteral("<b")
                                     << G::MaxDepth << false;
        QTest::newRow("many links") << QStringLiteral("<a href=\"http://x.de/\">x</a> ").repeated(200000)
                                    << QStringLiteral("<a ") << G::MaxLinks << true;
        QTest::newRow("many pictures") << QStringLiteral("<img src=\":/a\">").repeated(1000) << QStringLiteral("<img")
                                       << G::MaxImages << false;
        QTest::newRow("1 MB text") << QStringLiteral("word ").repeated(200000) << QStringLiteral("word")
                                   << G::MaxTextChars / 5 << true;
    }
    void hostileMessagesAreBounded()
    {
        QFETCH(QString, html);
        QFETCH(QString, tag);
        QFETCH(int, most);
        QFETCH(bool, shortened);
        bool cut = false;
        const QString out = G::bounded(html, &cut);
        QCOMPARE(cut, shortened);
        QVERIFY2(out.count(tag, Qt::CaseInsensitive) <= most, qPrintable(QString::number(out.count(tag))));
        QCOMPARE(out.contains(G::shortenedNote()), shortened);
    }

    void longWordsGetBreakOpportunities()
    {
        const QString out = G::bounded(QString(1 << 20, u'x'));
        QVERIFY(out.count(QChar(0x200B)) >= G::MaxTextChars / G::MaxWordChars - 1);
        QVERIFY(!out.contains(QString(G::MaxWordChars + 1, u'x')));
    }

    void hugeDeclaredPictureSizesAreClamped()
    {
        const QString out = G::bounded(QStringLiteral("<img src=\":/a\" width=\"100000\" height=100000 style=\"x\">"));
        QCOMPARE(out, QStringLiteral("<img src=\":/a\" width=\"%1\" height=\"%1\" />").arg(G::MaxImageSide));
    }

    void picturesLoadOnlyFromOwnPlaces_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<bool>("loaded");
        const QString received = ZDir::tempPath(true) + QStringLiteral("/zubrel-received-1");
        QImage(4, 4, QImage::Format_RGB32).save(received, "PNG");
        const QString outside = m_profile.filePath(QStringLiteral("elsewhere.png"));
        QImage(4, 4, QImage::Format_RGB32).save(outside, "PNG");
        QFile::link(outside, ZDir::tempPath(true) + QStringLiteral("/link-out.png"));
        QTest::newRow("received file") << received << true;
        QTest::newRow("received file as file: URL") << QUrl::fromLocalFile(received).toString() << true;
        QTest::newRow("local picture elsewhere") << outside << false;
        QTest::newRow("link out of the folder") << ZDir::tempPath(false) + QStringLiteral("/link-out.png") << false;
        QTest::newRow("climbing out") << ZDir::tempPath(false) + QStringLiteral("/../../../elsewhere.png") << false;
        QTest::newRow("system file") << QStringLiteral("file:///etc/passwd") << false;
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << false;
        QTest::newRow("process file") << QStringLiteral("/proc/self/environ") << false;
        QTest::newRow("relative") << QStringLiteral("elsewhere.png") << false;
        QTest::newRow("network") << QStringLiteral("http://example.com/a.png") << false;
        QTest::newRow("Qt's own resource") << QStringLiteral("qrc:/qt-project.org/styles/commonstyle/images/file-16.png")
                                           << false;
    }
    void picturesLoadOnlyFromOwnPlaces()
    {
        QFETCH(QString, reference);
        QFETCH(bool, loaded);
        QCOMPARE(!GuardedTextDocument::allowedFile(QUrl(reference)).isEmpty(), loaded);
        // Through a document as a message would name it.
        GuardedTextDocument doc;
        doc.setHtml(QStringLiteral("<img src=\"%1\">").arg(reference.toHtmlEscaped()));
        doc.size();
        const QVariant image = doc.resource(QTextDocument::ImageResource, QUrl(reference));
        QCOMPARE(image.value<QImage>().size() == QSize(4, 4), loaded);
    }

private:
    QTemporaryDir m_profile;
};

QTEST_MAIN(tst_MessageHtmlGuard)
#include "tst_messagehtmlguard.moc"
