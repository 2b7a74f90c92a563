// Notices that skip the HTML importer must come out exactly as imported:
// same text, same formats, same height; anything the importer would read
// differently (markup, other entities, folded white space) must go to it.

#include "messagetemplates.h"
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
};

QTEST_MAIN(tst_PlainNotice)
#include "tst_plainnotice.moc"
