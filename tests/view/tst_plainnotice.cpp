// Notices and message bodies that skip the HTML importer must come out
// exactly as imported: same text, same formats, same height; anything the
// importer would read differently (markup, other entities, folded white
// space, wrappers making more than one block) must go to it.

#include "messagetemplates.h"
#include "plainbody.h"
#include "plainnotice.h"

#include <QTest>
#include <QTextDocument>

using namespace zubrel;

class tst_PlainNotice : public QObject
{
    Q_OBJECT
private slots:
    void sameAsImported_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("plain");
        QTest::newRow("join") << "Anna has joined the Multi Chat." << true;
        QTest::newRow("escaped markup") << "&lt;img src=x&gt; &amp; &quot;Bo&quot; has left the Multi Chat." << true;
        QTest::newRow("long word") << QString(300, u'w') + " x" << true;
        QTest::newRow("accents") << QString::fromUtf8("Zo\u00eb \u65e5\u672c has joined.") << true;
        QTest::newRow("markup") << "<b>Anna</b> has joined." << false;
        QTest::newRow("other entity") << "Anna&nbsp;has joined." << false;
        QTest::newRow("bare ampersand") << "A & B" << false;
        QTest::newRow("double space") << "Anna  has joined." << false;
        QTest::newRow("leading space") << " Anna" << false;
        QTest::newRow("newline") << "Anna\nhas joined." << false;
        QTest::newRow("no-break space") << QString::fromUtf8("Anna\u00a0has") << false;
        QTest::newRow("paragraph separator") << QString::fromUtf8("Anna\u2029has") << false;
        QTest::newRow("empty") << "" << false;
    }
    void sameAsImported()
    {
        QFETCH(QString, html);
        QFETCH(bool, plain);
        const QString words = PlainNotice::words(html);
        QCOMPARE(!words.isNull(), plain);
        if (!plain)
            return;
        for (auto kind : {MessageTemplates::System, MessageTemplates::Error}) {
            const QString style = MessageTemplates::lineStyle(kind);
            QTextDocument imported;
            QTextDocument filled;
            for (QTextDocument *doc : {&imported, &filled}) {
                QFont font(QStringLiteral("Tahoma"));
                font.setPixelSize(12);
                doc->setDefaultFont(font);
                doc->setDocumentMargin(1);
            }
            imported.setHtml(QStringLiteral("<span style=\"%1\">%2</span>").arg(style, html));
            PlainNotice::fill(&filled, style, words);
            QCOMPARE(filled.toHtml(), imported.toHtml());
            QCOMPARE(filled.toPlainText(), imported.toPlainText());
            imported.setTextWidth(120);
            filled.setTextWidth(120);
            QCOMPARE(filled.size(), imported.size());
        }
    }
    void bodySameAsImported_data()
    {
        const QString span = QStringLiteral("<span style=\"font-family:'Tahoma'; font-size:12px; color:#336699;\">");
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("plain");
        QTest::newRow("styled span") << span + "how are things going?</span>" << true;
        QTest::newRow("nested spans") << span + "<span style='font-weight:bold'>&lt;b&gt; not bold</span></span>" << true;
        QTest::newRow("quoted >") << "<span title=\"a>b\">x y</span>" << true;
        QTest::newRow("link") << span + "see <a href=\"http://x.org\">x.org</a></span>" << false;
        QTest::newRow("line break") << span + "one<br>two</span>" << false;
        QTest::newRow("text after close") << span + "a</span> b" << false;
        QTest::newRow("two blocks") << "<div><div style=\"margin-top:9px\">a</div></div><div>b</div>" << false;
        QTest::newRow("unclosed tag") << "<span style=\"x\"" << false;
    }
    void bodySameAsImported()
    {
        QFETCH(QString, body);
        QFETCH(bool, plain);
        for (auto kind : {MessageTemplates::Own, MessageTemplates::Log}) {
            const QString html = QStringLiteral("<div style=\"%1\">%2</div>").arg(MessageTemplates::bodyStyle(kind), body);
            QTextDocument imported;
            QTextDocument filled;
            imported.setHtml(html);
            QCOMPARE(PlainBody::fill(&filled, html), plain);
            QCOMPARE(filled.toHtml(), plain ? imported.toHtml() : QTextDocument().toHtml());
            if (!plain)
                continue;
            imported.setTextWidth(90);
            filled.setTextWidth(90);
            QCOMPARE(filled.size(), imported.size());
        }
    }
};

QTEST_MAIN(tst_PlainNotice)
#include "tst_plainnotice.moc"
