// Emoticon replacement in the input (while typing and at send), the hidden
// shortcuts, picture insertion, the send HTML and the emoticon sounds.
#include "linkrecognizer.h"
#include "texttohtml.h"
#include "zhostevents.h"
#include "zsmileyoverlay.h"
#include "zsmileypicker.h"

#include <QLabel>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using namespace zubrel;

class tst_TextToHtml : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
    }

    void init()
    {
        m_input = new QTextEdit;
        m_convert = new TextToHtml(m_input);
        m_convert->setShortcutMap({{":)", ":/smile"}, {":-)", ":/smile"}, {":(", ":/sad"}, {"(ok)", ":/ok"}});
        m_convert->setSoundMap({{":/smile", "laugh.wav"}, {":/ok", "kiss.wav"}});
    }

    void cleanup()
    {
        delete m_input;
        m_input = nullptr;
    }

    void replacement_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("typing"); // while typing, or at send
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QStringList>("sources");
        const QString pic(QChar::ObjectReplacementCharacter);
        // The typed blank is replaced by the one the insertion adds.
        QTest::newRow("typing, at cursor") << "hello :) " << true << "hello " + pic + " " << QStringList{":/smile"};
        QTest::newRow("typing, glued to a word") << "hello:) " << true << "hello:) " << QStringList{};
        // An earlier shortcut that was left as text stays text.
        QTest::newRow("typing, only at cursor") << ":( and then words " << true << ":( and then words " << QStringList{};
        QTest::newRow("typing, any case") << "fine (OK) " << true << "fine " + pic + " " << QStringList{":/ok"};
        QTest::newRow("send, at end") << "bye :(" << false << "bye " + pic + " " << QStringList{":/sad"};
        QTest::newRow("typing, hidden ignored") << "*einben* " << true << "*einben* " << QStringList{};
        QTest::newRow("send, hidden first only") << "*EinAnna* and *einanna* and *evilfinger*" << false
                                                 << pic + " and *einanna* and " + pic
                                                 << QStringList{":/anna-32", ":/fuckyou-32"};
    }
    void replacement()
    {
        QFETCH(QString, typed);
        QFETCH(bool, typing);
        QFETCH(QString, plain);
        QFETCH(QStringList, sources);
        type(typed);
        m_convert->replaceEmoticonShortcuts(typing);
        QCOMPARE(m_input->toPlainText(), plain);
        QCOMPARE(imageCount(), sources.size());
        const QString html = m_input->toHtml();
        for (const QString &source : sources)
            QCOMPARE(html.count(QStringLiteral("src=\"%1\"").arg(source)), 1);
    }

    void insertSmileyAddsBlankAndNothingWhenReadOnly()
    {
        m_convert->slotInsertSmiley(QStringLiteral(":/smile"));
        QCOMPARE(m_input->toPlainText(), QStringLiteral("\uFFFC "));
        m_input->setReadOnly(true);
        m_convert->slotInsertSmiley(QStringLiteral(":/smile"));
        QCOMPARE(imageCount(), 1);
    }

    void insertSmileyQuietsTypingSound()
    {
        QList<bool> calls;
        int formats = 0;
        m_convert->setTypingSoundHook([&calls](bool on) { calls.append(on); });
        m_convert->setTypingFormatHook([&formats] { ++formats; });
        m_convert->slotInsertSmiley(QStringLiteral(":/smile"));
        QCOMPARE(calls, QList<bool>({false, true}));
        QCOMPARE(formats, 1);
    }

    void animatedPictureGetsMovieLabel()
    {
        const QString wink = QStringLiteral(":/smileys/default/wink.gif");
        ZSmileyPicker picker; // registers the default theme's resources
        QVERIFY(ZSmileyOverlay::isAnimated(wink));
        QVERIFY(!ZSmileyOverlay::isAnimated(QStringLiteral(":/smileys/default/smile.png")));
        type(QStringLiteral("ab "));
        m_convert->slotInsertSmiley(wink);
        QCOMPARE(m_convert->overlay()->positions(), QList<int>({3}));
        QCOMPARE(m_convert->overlay()->widgets().size(), 1);
        QLabel *label = m_convert->overlay()->widgets().first();
        QCOMPARE(label->parentWidget(), m_input->viewport());
        QCOMPARE(label->size(), QSize(24, 24));
        m_convert->clearInput();
        QVERIFY(m_convert->overlay()->positions().isEmpty());
        QVERIFY(m_convert->overlay()->widgets().isEmpty());
        QCOMPARE(m_input->toPlainText(), QString());
    }

    void movieLabelsFollowEdits()
    {
        ZSmileyPicker picker; // registers the default theme's resources
        const QString wink = QStringLiteral(":/smileys/default/wink.gif");
        type(QStringLiteral("ab "));
        m_convert->slotInsertSmiley(wink);
        m_convert->slotInsertSmiley(wink);
        QCOMPARE(m_convert->overlay()->positions(), QList<int>({3, 5}));
        // Text typed in front moves both labels along.
        QTextCursor cursor(m_input->document());
        cursor.insertText(QStringLiteral("xyz"));
        QCOMPARE(m_convert->overlay()->positions(), QList<int>({6, 8}));
        // Bold over everything is a format change: the labels stay.
        cursor.select(QTextCursor::Document);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.mergeCharFormat(bold);
        QCOMPARE(m_convert->overlay()->positions(), QList<int>({6, 8}));
        // Deleting the first picture takes its label with it.
        cursor.setPosition(6);
        cursor.setPosition(7, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QCOMPARE(m_convert->overlay()->positions(), QList<int>({7}));
        QCOMPARE(m_convert->overlay()->widgets().size(), 1);
        m_input->setPlainText(QString());
        QVERIFY(m_convert->overlay()->positions().isEmpty());
    }

    void sendHtmlLinksAndStripsParagraph()
    {
        QVERIFY(m_convert->sendHtml().isNull());
        type(QStringLiteral("see www.zubrel.de :)"));
        const QString html = m_convert->sendHtml();
        QVERIFY2(html.contains(QLatin1String("<a href=\"http://www.zubrel.de\">www.zubrel.de</a>")), qPrintable(html));
        QVERIFY(html.contains(QLatin1String("<img src=\":/smile\" />")));
        QVERIFY(!html.contains(QLatin1String("<p")));
        QVERIFY(!html.contains(QLatin1String("<body")));
    }

    void otherNetworkKeepsShortcuts()
    {
        m_convert->setOtherNetwork(true);
        type(QStringLiteral("*einmia* :)"));
        const QString html = m_convert->sendHtml();
        QVERIFY(html.contains(QLatin1String("*einmia* :)")));
        QCOMPARE(imageCount(), 0);
    }

    void soundsCollectedWithoutRepeats()
    {
        const QString html = QStringLiteral("<img src=\":/smile\" /><img src=\":/ok\" /><img src=\":/smile\" />"
                                            "<img src=\"/tmp/laugh.png\" /><img src=\":/sad\" />");
        QCOMPARE(TextToHtml::imageSources(html),
                 QStringList({":/smile", ":/ok", "/tmp/laugh.png", ":/sad"}));
        const QStringList files = m_convert->emoticonSoundFiles(html);
        QCOMPARE(files.size(), 2);
        QVERIFY(files.at(0).endsWith(QLatin1String("/sounds/standard/smilies/laugh.wav")));
        QVERIFY(files.at(1).endsWith(QLatin1String("/sounds/standard/smilies/kiss.wav")));
    }

    void soundsPlayedOnlyWithSoundOn()
    {
        QStringList played;
        auto connection = connect(ZHostEvents::instance(), &ZHostEvents::event, this,
                                  [&played](const QString &kind, const QVariantMap &fields) {
                                      if (kind == QLatin1String("sound"))
                                          played.append(fields.value(QStringLiteral("path")).toString()
                                                        + fields.value(QStringLiteral("file")).toString());
                                  });
        const QString html = QStringLiteral("<img src=\":/smile\" /><img src=\":/smile\" />");
        m_convert->setSoundEnabled(false);
        m_convert->playEmoticonSounds(html);
        QCOMPARE(played.size(), 0);
        m_convert->setSoundEnabled(true);
        m_convert->playEmoticonSounds(html);
        QCOMPARE(played.size(), 1);
        disconnect(connection);
    }

    void pickerDefaultThemeDrivesReplacement()
    {
        ZSmileyPicker picker;
        m_convert->setPicker(&picker);
        QVERIFY(picker.smileyMap().size() >= 80);
        type(QStringLiteral("so ;-) "));
        m_convert->replaceEmoticonShortcuts(true);
        QVERIFY(m_input->toHtml().contains(QLatin1String(":/smileys/default/wink.gif")));
        QCOMPARE(m_convert->soundFor(QStringLiteral(":/smileys/default/grin.png")), QStringLiteral("laugh.wav"));
        QCOMPARE(m_convert->emoticonSoundFiles(QStringLiteral("<img src=\":/smileys/default/grin.png\" />")),
                 QStringList({QStringLiteral("%1/sounds/standard/smilies/laugh.wav").arg(qEnvironmentVariable("ZUBREL_APP_DIR"))}));
        QVERIFY(QFile::exists(m_convert->emoticonSoundFiles(QStringLiteral("<img src=\":/smileys/default/grin.png\" />")).first()));
    }

private:
    void type(const QString &text);
    int imageCount() const;

    QTemporaryDir m_profile;
    QTextEdit *m_input = nullptr;
    TextToHtml *m_convert = nullptr;
};

void tst_TextToHtml::type(const QString &text)
{
    m_input->moveCursor(QTextCursor::End);
    m_input->insertPlainText(text);
}

int tst_TextToHtml::imageCount() const
{
    return m_input->document()->toRawText().count(QChar::ObjectReplacementCharacter);
}

QTEST_MAIN(tst_TextToHtml)
#include "tst_texttohtml.moc"
