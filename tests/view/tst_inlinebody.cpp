// Bodies filled without the styled div come out exactly as imported inside
// it (text, formats, height); bodies that may make blocks go to the importer.

#include "inlinebody.h"
#include "messagetemplates.h"

#include <QTest>
#include <QTextDocument>

using namespace zubrel;

class tst_InlineBody : public QObject
{
    Q_OBJECT
private slots:
    void sameAsImported_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("inlineOnly");
        QTest::newRow("bold") << "Message number 7 with <b>some</b> text" << true;
        QTest::newRow("nested, colours") << "<i>a <u>b</u></i> <span style=\"color: #f00; font-size: 20px\">red <b>x</b></span> <font color=\"blue\" size=\"+2\">c</font>" << true;
        QTest::newRow("styled span, link") << "<span style=\"font-family:'Tahoma'; font-size:12px; color:#000000;\">Message 14: how?</span> <a href=\"http://example.org/p14\">http://example.org/p14</a>" << true;
        QTest::newRow("break, bold, italic") << "<span style=\"color:#123456;\">first</span><br>second <b>bold</b> and <i>it &amp; <u>under</u></i> words" << true;
        QTest::newRow("link around bold, strong, em") << "<b>x <a href=\"mailto:a@b.example\">mail <em>me</em></a></b> <strong>s</strong><br/>" << true;
        QTest::newRow("link, sub, sup, small") << "see <a href=\"http://a.example/\">this</a> x<sub>2</sub><sup>3</sup> <small>s</small> <BIG>B</BIG>" << true;
        QTest::newRow("picture, break, entities") << "one<br>two&nbsp;&amp; <img src=\":/msg_dots\" /> three" << true;
        QTest::newRow("white space, long word") << QStringLiteral("  lead \n  folded   ") + QString(200, u'w') + QString::fromUtf8("\u200b\u00e4") << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("paragraph") << "a<p>b</p>" << false;
        QTest::newRow("table") << "<table><tr><td>x</td></tr></table>" << false;
        QTest::newRow("display block") << "<span style=\"display: block\">x</span>" << false;
        QTest::newRow("aligned picture") << "<img src=\":/msg_dots\" align=\"right\">" << false;
        QTest::newRow("comment, bare angle") << "a<!-- b --> a < b" << false;
    }
    void sameAsImported()
    {
        QFETCH(QString, html);
        QFETCH(bool, inlineOnly);
        QCOMPARE(InlineBody::inlineOnly(html), inlineOnly);
        if (!inlineOnly)
            return;
        for (auto kind : {MessageTemplates::Incoming, MessageTemplates::Log}) {
            const QString style = MessageTemplates::bodyStyle(kind);
            QTextDocument imported, filled;
            imported.setHtml(QStringLiteral("<div style=\"%1\">%2</div>").arg(style, html));
            QVERIFY(InlineBody::fill(&filled, style, html));
            QCOMPARE(filled.toHtml(), imported.toHtml());
            QCOMPARE(filled.toPlainText(), imported.toPlainText());
            imported.setTextWidth(120);
            filled.setTextWidth(120);
            QCOMPARE(filled.size(), imported.size());
        }
    }
};

QTEST_MAIN(tst_InlineBody)
#include "tst_inlinebody.moc"
