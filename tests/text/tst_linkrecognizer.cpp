// The link recognizer's rule table word by word, and the pass over a
// message's HTML form: what is found, what is blocked, where the search
// goes on.
#include "linkrecognizer.h"

#include <QTest>
#include <QTextDocument>

using namespace zubrel;

class tst_LinkRecognizer : public QObject
{
    Q_OBJECT

private slots:
    void domainList()
    {
        const QStringList &list = LinkRecognizer::topLevelDomains();
        QCOMPARE(list.size(), 273);
        QCOMPARE(QSet<QString>(list.cbegin(), list.cend()).size(), 273);
        QCOMPARE(list.first(), QStringLiteral(".arpa"));
        QCOMPARE(list.at(20), QStringLiteral(".ac"));
        QCOMPARE(list.last(), QStringLiteral(".zw"));
        QVERIFY(LinkRecognizer::isTopLevelDomain(u".museum"));
        // Membership is case-sensitive.
        QVERIFY(!LinkRecognizer::isTopLevelDomain(u".DE"));
        QVERIFY(!LinkRecognizer::isTopLevelDomain(u".xyz"));
    }

    void dates_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("date");
        QTest::newRow("dd.MM.yyyy") << "01.02.2003" << true;
        QTest::newRow("dd.MM.yy") << "01.02.03" << true;
        QTest::newRow("ddMMyy") << "010203" << true;
        QTest::newRow("ddMMyyyy") << "01022003" << true;
        QTest::newRow("dd.MMyyyy") << "01.022003" << true;
        QTest::newRow("no month 13") << "01.13.2003" << false;
        QTest::newRow("phone") << "0301234567" << false;
        QTest::newRow("letters") << "01.02.abcd" << false;
    }
    void dates()
    {
        QFETCH(QString, word);
        QFETCH(bool, date);
        QCOMPARE(LinkRecognizer::isDate(word), date);
    }

    void classify_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("link"); // empty: not linked
        QTest::newRow("http") << "http://zubrel.example/a" << "<a href=\"http://zubrel.example/a\">http://zubrel.example/a</a>";
        QTest::newRow("https ampersand") << "https://x.de/?a=1&b=2"
                                         << "<a href=\"https://x.de/?a=1&amp;b=2\">https://x.de/?a=1&amp;b=2</a>";
        QTest::newRow("sftp") << "sftp://host" << "<a href=\"sftp://host\">sftp://host</a>";
        QTest::newRow("mailto") << "mailto:a@b" << "<a href=\"mailto:a@b\">mailto:a@b</a>";
        QTest::newRow("news") << "news:comp.lang" << "<a href=\"news:comp.lang\">news:comp.lang</a>";
        QTest::newRow("sip scheme") << "sips:bob" << "<a href=\"sips:bob\">sips:bob</a>";
        QTest::newRow("www with final dot") << "www.zubrel.de." << "<a href=\"http://www.zubrel.de\">www.zubrel.de</a>";
        QTest::newRow("bare domain") << "zubrel.com" << "<a href=\"http://zubrel.com\">zubrel.com</a>";
        QTest::newRow("unlisted tld") << "zubrel.xyz" << "";
        QTest::newRow("upper-case tld") << "zubrel.DE" << "";
        QTest::newRow("name too short") << "a.de" << "";
        QTest::newRow("dot after non-alnum") << "ab-.de" << "";
        QTest::newRow("scheme inside") << "(http://x.de" << "<a href=\"http://x.de\">http://x.de</a>";
        QTest::newRow("mail") << "anna@zubrel.de" << "<a href=\"mailto:anna@zubrel.de\">anna@zubrel.de</a>";
        QTest::newRow("mail one-char domain") << "anna@z.de" << "";
        QTest::newRow("mail two-char domain") << "anna@zu.de" << "<a href=\"mailto:anna@zu.de\">anna@zu.de</a>";
        QTest::newRow("mail without local part") << "@zubrel.de" << "";
        QTest::newRow("mail unlisted tld") << "anna@zubrel.foo" << "";
        QTest::newRow("phone with separators") << "+49-30/123456"
                                               << "<a href=\"sip:+4930123456\">+49-30/123456</a>";
        QTest::newRow("phone keeps # and *") << "+4930#12*3" << "<a href=\"sip:+4930#12*3\">+4930#12*3</a>";
        QTest::newRow("phone leading zero") << "030.1234567" << "<a href=\"sip:0301234567\">030.1234567</a>";
        QTest::newRow("plus five chars") << "+1234" << "";
        QTest::newRow("plus six chars") << "+12345" << "<a href=\"sip:+12345\">+12345</a>";
        QTest::newRow("zero with plus") << "0+123456" << "";
        QTest::newRow("phone with letters") << "+49abc123" << "";
        QTest::newRow("date not linked") << "01.02.2003" << "";
        QTest::newRow("short date not linked") << "010203" << "";
        QTest::newRow("service number") << "10880" << "<a href=\"sip:10880\">10880</a>";
        QTest::newRow("10 but 4 chars") << "1088" << "";
        QTest::newRow("six digits over 400000") << "412345" << "<a href=\"sip:412345\">412345</a>";
        QTest::newRow("six digits under 400000") << "399999" << "";
        QTest::newRow("seven digits") << "4123456" << "";
        QTest::newRow("plain word") << "hello" << "";
        QTest::newRow("only a dot") << "." << "";
    }
    void classify()
    {
        QFETCH(QString, word);
        QFETCH(QString, link);
        const LinkRecognizer::Match match = LinkRecognizer::classify(word);
        if (link.isEmpty())
            QCOMPARE(match.form, LinkRecognizer::Form::None);
        else
            QCOMPARE(LinkRecognizer::linkMarkup(match), link);
    }

    void linkify_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one address") << "see www.ab.de now" << "see www.ab.de now"
                                     << "see <a href=\"http://www.ab.de\">www.ab.de</a> now";
        QTest::newRow("inside markup") << "x www.ab.de" << "x <b>www.ab.de</b>"
                                       << "x <b><a href=\"http://www.ab.de\">www.ab.de</a></b>";
        QTest::newRow("nested markup") << "go http://a.de ok" << "go <span><i>http://a.de</i></span> ok"
                                       << "go <span><i><a href=\"http://a.de\">http://a.de</a></i></span> ok";
        QTest::newRow("ampersand") << "http://a.de/?x=1&y=2" << "http://a.de/?x=1&amp;y=2"
                                   << "<a href=\"http://a.de/?x=1&amp;y=2\">http://a.de/?x=1&amp;y=2</a>";
        QTest::newRow("blocked by colon") << "ab.de" << "x:ab.de" << "x:ab.de";
        QTest::newRow("blocked by slash") << "ab.de" << "/ab.de" << "/ab.de";
        QTest::newRow("blocked by lt") << "ab.de" << "<ab.de" << "<ab.de";
        QTest::newRow("blocked by quote") << "ab.de" << "\"ab.de" << "\"ab.de";
        QTest::newRow("repeated word") << "ab.de ab.de" << "ab.de ab.de"
                                       << "<a href=\"http://ab.de\">ab.de</a> <a href=\"http://ab.de\">ab.de</a>";
        QTest::newRow("blocked then free") << "ab.de" << "\"ab.de\" ab.de" << "\"ab.de\" ab.de";
        QTest::newRow("word not found") << "http://a.de/<x> ab.de" << "http://a.de/&lt;x&gt; ab.de"
                                        << "http://a.de/&lt;x&gt; <a href=\"http://ab.de\">ab.de</a>";
        QTest::newRow("phone then domain")
            << "+49-30-12-34-56 ab.de" << "+49-30-12-34-56 ab.de"
            << "<a href=\"sip:+4930123456\">+49-30-12-34-56</a> <a href=\"http://ab.de\">ab.de</a>";
        QTest::newRow("line breaks") << "a\nab.de\tcd.at" << "a<br />ab.de\tcd.at"
                                     << "a<br /><a href=\"http://ab.de\">ab.de</a>\t<a href=\"http://cd.at\">cd.at</a>";
        QTest::newRow("nothing") << "just words" << "just words" << "just words";
    }
    void linkify()
    {
        QFETCH(QString, plain);
        QFETCH(QString, html);
        QFETCH(QString, expected);
        QCOMPARE(LinkRecognizer::linkify(plain, html), expected);
    }

    void throughRichText()
    {
        // The real pair the send path hands over: a document's plain text and
        // its HTML form.
        QTextDocument doc;
        doc.setHtml(QStringLiteral("<p>mail <b>anna@zubrel.de</b> or call 0301234567 on 01.02.2003 &amp; www.zubrel.de.</p>"));
        const QString body = LinkRecognizer::messageBody(LinkRecognizer::linkify(doc.toPlainText(), doc.toHtml()));
        QVERIFY2(body.contains(QLatin1String("<a href=\"mailto:anna@zubrel.de\">anna@zubrel.de</a>")), qPrintable(body));
        QVERIFY(body.contains(QLatin1String("<a href=\"sip:0301234567\">0301234567</a>")));
        QVERIFY(body.contains(QLatin1String("<a href=\"http://www.zubrel.de\">www.zubrel.de</a>.")));
        QVERIFY(!body.contains(QLatin1String("sip:01.02.2003")));
        QVERIFY(!body.contains(QLatin1String("<p")));
        QVERIFY(!body.contains(QLatin1String("</p>")));
    }

    void messageBody()
    {
        QCOMPARE(LinkRecognizer::messageBody(QStringLiteral("<html><body><p style=\"x\">hi</p></body>")),
                 QStringLiteral("hi"));
        QCOMPARE(LinkRecognizer::messageBody(QStringLiteral("<p>a</p>\n<p>b</p>")), QStringLiteral("a</p>\n<p>b"));
        QCOMPARE(LinkRecognizer::messageBody(QStringLiteral("no paragraph")), QString());
    }

    void words()
    {
        QCOMPARE(LinkRecognizer::words(QStringLiteral("a\r\nb")), QStringList({"a", "", "b"}));
        QCOMPARE(LinkRecognizer::words(QStringLiteral("a  b\tc")), QStringList({"a", "", "b", "c"}));
    }
};

QTEST_GUILESS_MAIN(tst_LinkRecognizer)
#include "tst_linkrecognizer.moc"
