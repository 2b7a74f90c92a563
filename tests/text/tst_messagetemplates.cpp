// The entry templates are read back by other parts of the program, so they
// are checked character for character against strings written out here.

#include "messagetemplates.h"

#include <QTest>

using namespace zubrel;

#define FONT "font-family: Tahoma, Geneva, Arial, Helvetica, sans-serif; "
#define S_ALIAS FONT "font-size: 12px; color: #000; font-weight: bold; text-align: left;"
#define S_ALIAS_GREY FONT "font-size: 12px; color: #9a9a9a; font-weight: bold; text-align: left;"
#define S_TIME FONT "font-size: 12px; color: #444;"
#define S_TIME_RIGHT FONT "font-size: 12px; color: #444; text-align: right;"
#define S_TIME_GREY FONT "font-size: 12px; color: #9f9f9f;"
#define S_BODY "margin-left: 20px; margin-right: 2px; font-family: Tahoma, Geneva, Arial, Helvetica, sans-serif; font-family: Tahoma, Geneva, Arial, Helvetica, sans-serif;font-size: 12px; color: #000;"
#define S_BODY_GREY "margin-left: 20px; margin-right: 2px; font-family: Tahoma, Geneva, Arial, Helvetica, sans-serif; font-family: Tahoma, Geneva, Arial, Helvetica, sans-serif;font-size: 12px; color: #c1c1c1;"
#define S_LINE FONT "font-size: 12px; color: #9a9a9a; font-weight: normal; text-align: left;"
#define S_LINE_RED FONT "font-size: 12px; color: #8d2514; font-weight: normal; text-align: left;"

Q_DECLARE_METATYPE(zubrel::MessageTemplates::Kind)

class tst_MessageTemplates : public QObject
{
    Q_OBJECT
private slots:
    void header_data()
    {
        QTest::addColumn<MessageTemplates::Kind>("kind");
        QTest::addColumn<QString>("expected");

        QTest::newRow("own") << MessageTemplates::Own << QStringLiteral(
            "<center><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/blank\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\"><tr><td bgcolor=\"#f5f5f5\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
            "<td width=\"5%\" align=\"right\" bgcolor=\"#f8f8f8\"><img src=\":/msg_orange\"></td>"
            "<td width=\"60%\" bgcolor=\"#f8f8f8\">&nbsp;<span style=\"" S_ALIAS "\">%alias</span></td>"
            "<td width=\"35%\" bgcolor=\"#f8f8f8\" align=\"right\"><span style=\"" S_TIME "\">%time</span></td>"
            "</tr></table></tr></table></td></tr></table>"
            "<table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><div style=\"" S_BODY "\">%msg</div>"
            "<span style=\"color: #ffffff\"></span></td></tr></table></center>");
        QTest::newRow("incoming") << MessageTemplates::Incoming << QStringLiteral(
            "<center><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/blank\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\"><tr><td bgcolor=\"#f2f6fb\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
            "<td width=\"5%\" align=\"right\" bgcolor=\"#dfedff\"><img src=\":/msg_blue\"></td>"
            "<td width=\"60%\" bgcolor=\"#dfedff\">&nbsp;<span style=\"" S_ALIAS "\">%alias</span></td>"
            "<td width=\"35%\" bgcolor=\"#dfedff\" align=\"right\"><span style=\"" S_TIME "\">%time</span></td>"
            "</tr></table></tr></table></td></tr></table>"
            "<table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><div style=\"" S_BODY "\">%msg</div>"
            "</td></tr></table></center>");
        QTest::newRow("mobile") << MessageTemplates::Mobile << QStringLiteral(
            "<center><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/blank\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\"><tr><td bgcolor=\"#f2f6fb\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
            "<td width=\"5%\" align=\"right\" bgcolor=\"#dfedff\"><img src=\":/msg_mobile\"></td>"
            "<td width=\"70%\" bgcolor=\"#dfedff\">&nbsp;<span style=\"" S_ALIAS "\">%alias</span></td>"
            "<td width=\"25%\" bgcolor=\"#dfedff\" align=\"right\"><span style=\"" S_TIME_RIGHT "\">%time</span></td>"
            "</tr></table></tr></table></td></tr></table>"
            "<table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><div style=\"" S_BODY "\">%msg</div>"
            "</td></tr></table></center>");
        QTest::newRow("log") << MessageTemplates::Log << QStringLiteral(
            "<center><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/blank\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\"><tr><td bgcolor=\"#f5f5f5\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
            "<td width=\"5%\" align=\"right\" bgcolor=\"#f8f8f8\"><img src=\":/msg_white\"></td>"
            "<td width=\"60%\" bgcolor=\"#f8f8f8\">&nbsp;<span style=\"" S_ALIAS_GREY "\">%alias</span></td>"
            "<td width=\"35%\" bgcolor=\"#f8f8f8\" align=\"right\"><span style=\"" S_TIME_GREY "\">%time</span></td>"
            "</tr></table></tr></table></td></tr></table>"
            "<table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><div style=\"" S_BODY_GREY "\">%msg</div>"
            "</td></tr></table></center>");
        QTest::newRow("system") << MessageTemplates::System << QStringLiteral(
            "<center><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/blank\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\"><tr><td bgcolor=\"#f6f6f6\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
            "<td width=\"3%\" align=\"right\" bgcolor=\"#efefef\">&nbsp;</td>"
            "<td width=\"97%\" bgcolor=\"#efefef\"><span style=\"" S_LINE "\">%msg</span></td>"
            "</tr></table></tr></table></td></tr></table></center>");
        QTest::newRow("notify") << MessageTemplates::Notify << QStringLiteral(
            "<center><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/blank\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\"><tr><td bgcolor=\"#f6f6f6\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
            "<td width=\"3%\" align=\"right\" bgcolor=\"#dfedff\">&nbsp;</td>"
            "<td width=\"92%\" bgcolor=\"#dfedff\">&nbsp;<span style=\"" S_LINE "\">%msg</span></td>"
            "<td width=\"5%\" align=\"left\" bgcolor=\"#dfedff\"><img src=\":/msg_notify\"></td>"
            "</tr></table></tr></table></td></tr></table></center>");
        QTest::newRow("error") << MessageTemplates::Error << QStringLiteral(
            "<center><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/blank\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\"><tr><td bgcolor=\"#f6f6f6\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
            "<td width=\"3%\" align=\"right\" bgcolor=\"#dfedff\">&nbsp;</td>"
            "<td width=\"92%\" bgcolor=\"#dfedff\">&nbsp;<span style=\"" S_LINE_RED "\">%msg</span></td>"
            "<td width=\"5%\" align=\"left\" bgcolor=\"#dfedff\"><img src=\":/msg_error\"></td>"
            "</tr></table></tr></table></td></tr></table></center>");
        QTest::newRow("blocked") << MessageTemplates::Blocked << QStringLiteral(
            "<center><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/blank\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\"><tr><td bgcolor=\"#f6f6f6\">"
            "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
            "<td width=\"3%\" align=\"right\" bgcolor=\"#dfedff\">&nbsp;</td>"
            "<td width=\"92%\" bgcolor=\"#dfedff\">&nbsp;<span style=\"" S_LINE_RED "\">%msg</span></td>"
            "<td width=\"5%\" align=\"left\" bgcolor=\"#dfedff\"><img src=\":/msg_blocked\"></td>"
            "</tr></table></tr></table></td></tr></table></center>");
    }
    void header()
    {
        QFETCH(MessageTemplates::Kind, kind);
        QFETCH(QString, expected);
        QCOMPARE(MessageTemplates::header(kind), expected);
        QVERIFY(!expected.contains(u'\n'));
    }

    void continuation_data()
    {
        QTest::addColumn<MessageTemplates::Kind>("kind");
        QTest::addColumn<QString>("expected");
        const QString normal = QStringLiteral(
            "<center><table width=\"95%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/msg_dots\">"
            "</td></tr></table><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td>"
            "<div style=\"" S_BODY "\">%msg</div></td></tr></table></center>");
        // The own continuation has no white marker span: only the full own entry does.
        QTest::newRow("own") << MessageTemplates::Own << normal;
        QTest::newRow("incoming") << MessageTemplates::Incoming << normal;
        QTest::newRow("mobile") << MessageTemplates::Mobile << normal;
        QTest::newRow("log") << MessageTemplates::Log << QStringLiteral(
            "<center><table width=\"95%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/msg_dots\">"
            "</td></tr></table><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td>"
            "<div style=\"" S_BODY_GREY "\">%msg</div></td></tr></table></center>");
        QTest::newRow("system has none") << MessageTemplates::System << QString();
        QTest::newRow("error has none") << MessageTemplates::Error << QString();
    }
    void continuation()
    {
        QFETCH(MessageTemplates::Kind, kind);
        QFETCH(QString, expected);
        QCOMPARE(MessageTemplates::continuation(kind), expected);
    }

    void pushMessageEntry()
    {
        QCOMPARE(MessageTemplates::pushMessageEntry(QStringLiteral("/home/u/push/clip 1.wav"), QStringLiteral("Play again"),
                                                    QStringLiteral("Save as...")),
                 QStringLiteral("<table border=\"0\" cellpadding=\"2\" cellspacing=\"5\"><tr><td>"
                                "<a href=\"pushplay:/home/u/push/clip 1.wav\"><img src=\":/pushaudio-36\"></a></td><td>"
                                "<a href=\"pushplay:/home/u/push/clip 1.wav\">Play again</a><br>"
                                "<a href=\"pushsave:/home/u/push/clip 1.wav\">Save as...</a></td></tr></table>"));
    }

    void pushMessageEntryEscapesPath()
    {
        // A quote in a received clip's name must not end the attribute early.
        const QString entry = MessageTemplates::pushMessageEntry(QStringLiteral("/t/a\"b&c.wav"), QStringLiteral("P"),
                                                                 QStringLiteral("S"));
        QVERIFY(entry.contains(QStringLiteral("href=\"pushplay:/t/a&quot;b&amp;c.wav\"")));
        QVERIFY(!entry.contains(QStringLiteral("a\"b")));
    }

    void fill_data()
    {
        QTest::addColumn<QString>("tmpl");
        QTest::addColumn<QString>("alias");
        QTest::addColumn<QString>("msg");
        QTest::addColumn<QString>("expected");
        QTest::newRow("all four") << "[%alias|%time|%abstime|%msg]" << "Ann" << "hi" << "[Ann|10:01|2024/07/03 10:01:02|hi]";
        QTest::newRow("every occurrence") << "%msg %alias %msg %alias" << "A" << "m" << "m A m A";
        QTest::newRow("missing placeholders") << "<b>%msg</b>" << "A" << "m" << "<b>m</b>";
        QTest::newRow("no placeholder at all") << "plain 100% text" << "A" << "m" << "plain 100% text";
        QTest::newRow("case sensitive") << "%ALIAS %Msg %msg" << "A" << "m" << "%ALIAS %Msg m";
        QTest::newRow("alias holding a placeholder") << "%alias: %msg" << "%msg" << "body" << "%msg: body";
        QTest::newRow("message holding a placeholder") << "%msg|%alias" << "A" << "%alias %time" << "%alias %time|A";
        QTest::newRow("trailing percent") << "%msg%" << "A" << "x" << "x%";
    }
    void fill()
    {
        QFETCH(QString, tmpl);
        QFETCH(QString, alias);
        QFETCH(QString, msg);
        QFETCH(QString, expected);
        QCOMPARE(MessageTemplates::fill(tmpl, alias, QStringLiteral("10:01"), QStringLiteral("2024/07/03 10:01:02"), msg),
                 expected);
    }

    void stripStyles_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("expected");
        QTest::newRow("styled span") << "a<span style=\"font-weight:600;\">b</span>c" << "abc";
        QTest::newRow("unstyled span keeps its start tag") << "<span>x</span>" << "<span>x";
        QTest::newRow("nested") << "<span style=\"color:#f00\">a<span style=\"x\">b</span></span>" << "ab";
        QTest::newRow("other attributes up to the closing quote")
            << "<span style=\"a\" class=\"b\">x</span>" << "x";
        QTest::newRow("other tags stay") << "<p style=\"x\"><b>y</b><i>z</i></p>" << "<p style=\"x\"><b>y</b><i>z</i></p>";
        QTest::newRow("case sensitive") << "<SPAN style=\"a\">x</SPAN>" << "<SPAN style=\"a\">x</SPAN>";
        QTest::newRow("unterminated tag left alone") << "x<span style=\"a" << "x<span style=\"a";
        QTest::newRow("stray close") << "a</span>b" << "ab";
        QTest::newRow("empty") << "" << "";
    }
    void stripStyles()
    {
        QFETCH(QString, html);
        QFETCH(QString, expected);
        QCOMPARE(MessageTemplates::stripStyles(html), expected);
    }

    void timeForms_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("longForm");
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "3/7/24 09:05:03";
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << "07.03.24 09:05:03";
        QTest::newRow("ja_JP") << QLocale(QLocale::Japanese, QLocale::Japan) << "2024/03/07 09:05:03";
    }
    void timeForms()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, longForm);
        QLocale::setDefault(locale);
        const QDateTime time(QDate(2024, 3, 7), QTime(9, 5, 3));
        QCOMPARE(MessageTemplates::shortTime(time), QStringLiteral("09:05"));
        QCOMPARE(MessageTemplates::longTime(time), longForm);
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_GUILESS_MAIN(tst_MessageTemplates)
#include "tst_messagetemplates.moc"
