// The chat tab: send button and Enter, typing-notice rate, rendering with its
// notices and sounds, push-message links, settings and reduced modes.
#include "zchattab.h"
#include "zchattab_p.h"
#include "zchatpushtoolbar.h"
#include "zsound.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "qtcolorpicker.h"
#include "zdir.h"
#include "zfaderwidget.h"
#include "zhostevents.h"
#include "zmessageview.h"
#include "zmodalscript.h"
#include "zsettings.h"
#include "ztextedit.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace zubrel {
// Reaches the typing timer so the test can play the clock.
class ZChatTabTest
{
public:
    static void expireTypingTimer(ZChatTab *tab) { QMetaObject::invokeMethod(tab, "slotIsTypingStop"); }
    static bool typingTimerRunning(ZChatTab *tab) { return tab->m_typingTimer.isActive(); }
    static int typingInterval(ZChatTab *tab) { return tab->m_typingTimer.interval(); }
};
} // namespace zubrel

using namespace zubrel;

namespace {

QStringList soundsPlayed(const QSignalSpy &spy)
{
    QStringList paths;
    for (const auto &e : spy) {
        const QVariantMap fields = e.at(1).toMap();
        if (e.at(0).toString() == QLatin1String("sound") && fields.value("op") == QLatin1String("play"))
            paths << fields.value("path").toString();
    }
    return paths;
}

QString standardSound(const QString &name)
{
    return QStringLiteral("%1/sounds/standard/%2").arg(ZDir::applicationPath(), name);
}

} // namespace

class tst_ZChatTab : public QObject
{
    Q_OBJECT

private slots:
    void recorderWithoutSoundSendsNothing()
    {
        if (ZSound::instance()->canRecord())
            QSKIP("this machine can record");
        ZChatTab tab;
        tab.resize(600, 400);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        QSignalSpy sent(&tab, &ZChatTab::sendPushMessage);
        QTest::keyClicks(tab.input, "kept");
        QTest::keyClick(tab.input, Qt::Key_F2);
        QTRY_VERIFY(tab.isRecorderShown());
        // Said at once, not after the user has talked into nothing.
        QVERIFY(tab.pushToolBar()->unavailableLabel()->isVisible());
        QCOMPARE(tab.pushToolBar()->unavailableLabel()->text(), QStringLiteral("Recording is not available on this computer."));
        tab.pushToolBar()->stopAction()->trigger();
        QTRY_VERIFY(!tab.isRecorderShown());
        QCOMPARE(sent.size(), 0);
        QVERIFY(tab.viewText().contains(QStringLiteral("Recording is not available on this computer.")));
        QCOMPARE(tab.inputText(), QStringLiteral("kept"));
        QVERIFY(QDir(ZDir::pushMessagesTempPath(true)).isEmpty());
    }

    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_profile.isValid());
        qputenv("ZUBREL_PROFILE", m_profile.path().toLocal8Bit());
        ZModalScript::instance()->setScripted(true);
    }

    void init()
    {
        ZModalScript::instance()->clear();
        ZSettings::instance()->set("sound", true, "zchat");
        ZChatTab::hooks() = ZChatTab::Hooks();
    }

    void sendEnabledOnlyWithInput()
    {
        ZChatTab tab;
        QSignalSpy selectAll(&tab, &ZChatTab::selectAll);
        QVERIFY(!tab.sendButton()->isEnabled());
        tab.input->setPlainText("hi");
        QTRY_VERIFY(tab.sendButton()->isEnabled());
        QCOMPARE(selectAll.last().at(0).toBool(), true);
        tab.input->clear();
        QTRY_VERIFY(!tab.sendButton()->isEnabled());
        QCOMPARE(selectAll.last().at(0).toBool(), false);
    }

    void enterSendsOnceAndClears()
    {
        ZChatTab tab;
        tab.ownCard->setZubrelId("1000");
        tab.ownCard->setAlias("Me");
        tab.show();
        QSignalSpy sent(&tab, &ZChatTab::sendHtml);
        QSignalSpy host(ZHostEvents::instance(), &ZHostEvents::event);
        QTest::keyClicks(tab.input, "hello there");
        QTest::keyClick(tab.input, Qt::Key_Return);
        QTest::keyClick(tab.input, Qt::Key_Return); // a second Enter before the send ran
        QCOMPARE(sent.count(), 0);
        QTRY_COMPARE(sent.count(), 1);
        QTest::qWait(80);
        QCOMPARE(sent.count(), 1);
        QVERIFY(sent.at(0).at(0).toString().contains("hello there"));
        QVERIFY(!sent.at(0).at(0).toString().contains("<body"));
        QCOMPARE(tab.input->toPlainText(), QString());
        QVERIFY(tab.viewText().contains("hello there"));
        QVERIFY(soundsPlayed(host).contains(standardSound("zubrel_contact_chatmessage_out.wav")));
        QVERIFY(soundsPlayed(host).contains(standardSound("zubrel_typewriter.wav")));
    }

    void shiftEnterKeepsLineBreak()
    {
        ZChatTab tab;
        QSignalSpy sent(&tab, &ZChatTab::sendHtml);
        QTest::keyClicks(tab.input, "one");
        QTest::keyClick(tab.input, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(tab.input, "two");
        QTest::qWait(60);
        QCOMPARE(sent.count(), 0);
        QVERIFY(tab.input->toPlainText().contains(QChar::LineSeparator)
                || tab.input->toPlainText().contains(QLatin1Char('\n')));
    }

    void sendUsesConversionHook()
    {
        ZChatTab::hooks().convertForSend = [](ZChatTab *t) {
            return QStringLiteral("<b>%1</b>").arg(t->input->toPlainText());
        };
        ZChatTab tab;
        QSignalSpy sent(&tab, &ZChatTab::sendHtml);
        tab.input->setPlainText("x");
        QMetaObject::invokeMethod(&tab, "slotSend");
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.at(0).at(0).toString(), QStringLiteral("<b>x</b>"));
        // Blank input sends nothing.
        tab.input->setPlainText("   ");
        QMetaObject::invokeMethod(&tab, "slotSend");
        QCOMPARE(sent.count(), 1);
    }

    void typingNoticeRate()
    {
        ZChatTab tab;
        QSignalSpy typing(&tab, &ZChatTab::typing);
        // Ten seconds of typing, a key every 100 ms; the 3-second timer expires
        // at 3, 6 and 9 seconds (played here instead of waited for).
        for (int ms = 0; ms < 10000; ms += 100) {
            if (ms > 0 && ms % 3000 == 0)
                ZChatTabTest::expireTypingTimer(&tab);
            tab.input->insertPlainText("a");
            QMetaObject::invokeMethod(&tab, "slotEnableSend");
        }
        QCOMPARE(typing.count(), 4);
        QVERIFY(ZChatTabTest::typingTimerRunning(&tab));
        QCOMPARE(ZChatTabTest::typingInterval(&tab), 3000);
        // Sending stops the timer: the next key is a new notice.
        QMetaObject::invokeMethod(&tab, "slotSend");
        QVERIFY(!ZChatTabTest::typingTimerRunning(&tab));
        tab.input->insertPlainText("b");
        QMetaObject::invokeMethod(&tab, "slotEnableSend");
        QCOMPARE(typing.count(), 5);
    }

    void incomingMessageNoticeAndSounds()
    {
        ZChatTab tab;
        auto *card = new ZContactCard;
        card->setZubrelId("2001");
        card->setAlias("Anna");
        tab.cardList->addCard(card);
        QSignalSpy host(ZHostEvents::instance(), &ZHostEvents::event);
        tab.appendIncomingMessage("Are you there?", QDateTime::currentDateTime().addSecs(-3600), true, false);
        const QString text = tab.viewText();
        QVERIFY(text.contains("Anna"));
        QVERIFY(text.contains("Are you there?"));
        QVERIFY(text.contains("This message was sent to you while you were offline."));
        QVERIFY(text.indexOf("Are you there?") < text.indexOf("This message was sent"));
        QCOMPARE(soundsPlayed(host), QStringList{standardSound("zubrel_contact_chatmessage_in.wav")});
    }

    void mutedTabPlaysNothing()
    {
        ZChatTab tab;
        tab.soundAction()->setChecked(true);
        QMetaObject::invokeMethod(&tab, "slotSound");
        QVERIFY(!tab.isSoundOn());
        QSignalSpy host(ZHostEvents::instance(), &ZHostEvents::event);
        tab.appendMultiChatMessage("hey", "Bob", "2002");
        tab.appendReceivedPushMessage("/tmp/clip.wav", "Bob", "2002");
        QVERIFY(soundsPlayed(host).isEmpty());
    }

    void soundSettingCarriesToNewTabs()
    {
        {
            ZChatTab first;
            first.soundAction()->trigger();
            QTRY_VERIFY(!first.isSoundOn());
        }
        QCOMPARE(ZSettings::instance()->get("sound", true, "zchat").toBool(), false);
        ZChatTab second;
        QVERIFY(!second.isSoundOn());
        QVERIFY(second.soundAction()->isChecked());
        QCOMPARE(second.soundAction()->text(), QStringLiteral("Play sounds"));
    }

    void pushPlayRoutedToHoldingTab()
    {
        QPointer<ZChatTab> older = new ZChatTab;
        QPointer<ZChatTab> newer = new ZChatTab;
        older->appendOwnPushMessage("/tmp/older-clip.wav");
        newer->appendReceivedPushMessage("/tmp/newer-clip.wav");
        auto *router = Internal::PushLinkRouter::instance();
        QCOMPARE(router->tabFor(QUrl("pushplay:/tmp/older-clip.wav")), older.data());
        QCOMPARE(router->tabFor(QUrl("pushplay:/tmp/newer-clip.wav")), newer.data());

        QSignalSpy host(ZHostEvents::instance(), &ZHostEvents::event);
        QVERIFY(QDesktopServices::openUrl(QUrl("pushplay:/tmp/older-clip.wav")));
        QCOMPARE(soundsPlayed(host), QStringList{"/tmp/older-clip.wav"});

        // The holding tab is gone: its links do nothing, nothing dangles.
        delete older.data();
        QCoreApplication::processEvents();
        host.clear();
        QVERIFY(!router->tabFor(QUrl("pushplay:/tmp/older-clip.wav")));
        QDesktopServices::openUrl(QUrl("pushplay:/tmp/older-clip.wav"));
        QCOMPARE(soundsPlayed(host), QStringList{});

        // A click reported by the view and by the desktop services plays once.
        QCoreApplication::processEvents();
        emit newer->view->linkActivated(QUrl("pushplay:/tmp/newer-clip.wav"));
        QDesktopServices::openUrl(QUrl("pushplay:/tmp/newer-clip.wav"));
        QCOMPARE(soundsPlayed(host), QStringList{"/tmp/newer-clip.wav"});
        delete newer.data();
    }

    void pushLinkInMessageHtmlIsIgnored()
    {
        ZChatTab tab;
        tab.appendMultiChatMessage("<a href=\"pushplay:/etc/passwd\">listen</a>", "Eve", "6666");
        QCoreApplication::processEvents();
        QSignalSpy host(ZHostEvents::instance(), &ZHostEvents::event);
        QDesktopServices::openUrl(QUrl("pushplay:/etc/passwd"));
        emit tab.view->linkActivated(QUrl("pushplay:/etc/passwd"));
        QVERIFY(soundsPlayed(host).isEmpty());
    }

    void pushSaveStaysInPushFolder_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<QString>("savedAs"); // "" = nothing saved
        QTest::newRow("name") << QVariant("greeting") << "greeting.wav";
        QTest::newRow("empty uses clip name") << QVariant("") << "clip42.wav";
        QTest::newRow("cancel") << QVariant(false) << "";
        QTest::newRow("path escape") << QVariant("../../evil") << "_.._evil.wav";
    }
    void pushSaveStaysInPushFolder()
    {
        QFETCH(QVariant, answer);
        QFETCH(QString, savedAs);
        QTemporaryDir clips;
        const QString clip = clips.filePath("clip42.wav");
        QFile f(clip);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("RIFF");
        f.close();
        const QString folder = ZDir::pushMessagesPath(true);
        for (const QString &name : QDir(folder).entryList(QDir::Files))
            QFile::remove(folder + "/" + name);

        ZChatTab tab;
        tab.appendOwnPushMessage(clip);
        QCoreApplication::processEvents();
        ZModalScript::instance()->queue("input", answer);
        QDesktopServices::openUrl(QUrl("pushsave:" + clip));
        const QStringList saved = QDir(folder).entryList(QDir::Files);
        if (savedAs.isEmpty())
            QVERIFY(saved.isEmpty());
        else
            QCOMPARE(saved, QStringList{savedAs});
    }

    void otherNetworkHidesControls()
    {
        ZChatTab tab;
        tab.show();
        tab.setOtherNetwork(true);
        QVERIFY(tab.isOtherNetwork());
        QVERIFY(!tab.fontAction()->isVisible());
        QVERIFY(!tab.colorPicker()->isVisibleTo(&tab));
        QVERIFY(!tab.smileyButton()->isVisibleTo(&tab));
        QVERIFY(!tab.pushMessageButton()->isVisibleTo(&tab));
        QVERIFY(!tab.pushMessagePickerButton()->isVisibleTo(&tab));
        QVERIFY(!tab.cardList->isAddContactEnabled());

        // No shortcut replacement while typing in other-network mode.
        int replaced = 0;
        ZChatTab::hooks().replaceWhileTyping = [&replaced](ZChatTab *) { ++replaced; };
        tab.input->setPlainText(":) ");
        QMetaObject::invokeMethod(&tab, "slotEnableSend");
        QCOMPARE(replaced, 0);

        tab.setOtherNetwork(false);
        QVERIFY(tab.fontAction()->isVisible());
        QVERIFY(tab.smileyButton()->isVisibleTo(&tab));
        QVERIFY(tab.cardList->isAddContactEnabled());
        QMetaObject::invokeMethod(&tab, "slotEnableSend");
        QCOMPARE(replaced, 1);
    }

    void randomChatHidesPushMessages()
    {
        ZChatTab tab;
        tab.show();
        QSignalSpy favourites(&tab, &ZChatTab::favoritesEnabledChanged);
        tab.setRandomChat(true);
        QVERIFY(!tab.pushMessageButton()->isVisibleTo(&tab));
        QVERIFY(tab.fontAction()->isVisible());
        QVERIFY(!tab.cardList->isAddContactEnabled());
        QCOMPARE(favourites.last().at(0).toBool(), false);
    }

    void lockAnimationEndsEncrypted()
    {
        ZChatTab tab;
        tab.setEncrypted(true);
        QCOMPARE(tab.lockLabel()->toolTip(), QStringLiteral("Encryption disabled"));
        QTRY_COMPARE(tab.lockLabel()->toolTip(), QStringLiteral("Encryption enabled"));
        QCOMPARE(tab.property("encrypted").toBool(), true);
        tab.setEncrypted(false);
        QTRY_COMPARE(tab.lockLabel()->toolTip(), QStringLiteral("Encryption disabled"));
    }

    void fontResetKeepsColour()
    {
        ZChatTab tab;
        QAction *bold = nullptr;
        QAction *reset = nullptr;
        for (QAction *a : tab.fontToolBar()->actions()) {
            if (a->text() == QLatin1String("&Bold"))
                bold = a;
            if (a->text() == QLatin1String("&Reset font"))
                reset = a;
        }
        QVERIFY(bold && reset);
        bold->trigger();
        QMetaObject::invokeMethod(&tab, "slotTextColor", Q_ARG(QColor, QColor(Qt::red)));
        QCOMPARE(tab.input->fontWeight(), int(QFont::Bold));
        reset->trigger();
        QCOMPARE(tab.input->fontWeight(), int(QFont::Normal));
        QCOMPARE(tab.input->fontPointSize(), 10.0);
        QCOMPARE(tab.input->textColor(), QColor(Qt::red));
    }

    void slidingToolbarClosesOnce()
    {
        ZChatTab tab;
        tab.resize(600, 400);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        QMetaObject::invokeMethod(&tab, "slotFont");
        QVERIFY(tab.isFontToolBarShown());
        QVERIFY(tab.fontAction()->isChecked());
        QTRY_COMPARE(tab.fontToolBar()->findChildren<ZFaderWidget *>().size(), 0); // fade-in over
        // Resize, splitter move and recorder close all ask; one fade-out only.
        for (int i = 0; i < 3; ++i)
            tab.slotCloseToolbars();
        QCOMPARE(tab.fontToolBar()->findChildren<ZFaderWidget *>().size(), 1);
        QVERIFY(!tab.isFontToolBarShown());
        QVERIFY(!tab.fontAction()->isChecked());
        QTRY_VERIFY(tab.fontToolBar()->isHidden());
    }

private:
    QTemporaryDir m_profile;
};

QTEST_MAIN(tst_ZChatTab)
#include "tst_zchattab.moc"
