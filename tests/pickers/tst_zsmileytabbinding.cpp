// The chat tab driven through the emoticon hooks: send conversion, typing
// replacement, picture insertion, movie labels in the view, and the picker
// in the tab's toolbar.
#include "texttohtml.h"
#include "zchattab.h"
#include "zmessageview.h"
#include "zmodalscript.h"
#include "zsettings.h"
#include "zsmileyoverlay.h"
#include "zsmileypicker.h"
#include "zsmileytabbinding.h"
#include "zsmileyviewoverlay.h"
#include "ztextedit.h"

#include <QAction>
#include <QLabel>
#include <QMovie>
#include <QScrollBar>
#include <QTextCursor>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

class tst_ZSmileyTabBinding : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
        ZModalScript::instance()->setScripted(true);
        ZSettings::instance()->set(QStringLiteral("sound"), true, QStringLiteral("zchat"));
    }

    void sendConvertsLinksAndHiddenShortcuts()
    {
        ZChatTab tab;
        QSignalSpy sent(&tab, &ZChatTab::sendHtml);
        tab.input->setPlainText(QStringLiteral("see www.zubrel.de *einlena* *einlena*"));
        QMetaObject::invokeMethod(&tab, "slotSend");
        QCOMPARE(sent.count(), 1);
        const QString html = sent.first().first().toString();
        QVERIFY2(html.contains(QLatin1String("<a href=\"http://www.zubrel.de\">www.zubrel.de</a>")), qPrintable(html));
        QCOMPARE(html.count(QLatin1String(":/lena-32")), 1);
        QVERIFY(html.contains(QLatin1String("*einlena*")));
        QVERIFY(!html.contains(QLatin1String("<p")));
    }

    void typingReplacesShortcut()
    {
        ZChatTab tab;
        QVERIFY(qobject_cast<ZSmileyPicker *>(tab.smileyButton()));
        tab.input->setFocus();
        QTest::keyClicks(tab.input, QStringLiteral("hi :-) "));
        QTRY_VERIFY(tab.input->toHtml().contains(QLatin1String(":/smileys/default/smile.png")));
        QCOMPARE(tab.input->toPlainText(), QStringLiteral("hi \uFFFC "));
    }

    void animatedPictureInViewGetsLabel()
    {
        ZChatTab tab;
        tab.resize(600, 400);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        ZSmileyPicker lookups; // registers the default theme's pictures
        tab.slotInsertSmiley(QStringLiteral(":/smileys/default/wink.gif"));
        ZSmileyTabBinding *binding = ZSmileyTabBinding::of(&tab);
        QCOMPARE(binding->converter()->overlay()->widgets().size(), 1);
        QMetaObject::invokeMethod(&tab, "slotSend");
        // The input's label went with the text; the view has its own now.
        QVERIFY(binding->converter()->overlay()->widgets().isEmpty());
        QCOMPARE(binding->viewOverlay()->widgets().size(), 1);
        QLabel *label = binding->viewOverlay()->widgets().first();
        QCOMPARE(label->parentWidget(), tab.view->viewport());
        QTRY_VERIFY(label->isVisible());
        QCOMPARE(label->geometry().topLeft(), tab.view->entryImageRect(tab.view->entryCount() - 1, 0).topLeft());
        // It plays only while in sight: scrolled out, back, tab hidden, shown.
        QMovie *movie = label->findChild<QMovie *>();
        QVERIFY(movie);
        QCOMPARE(movie->state(), QMovie::Running);
        for (int i = 0; i < 60; ++i)
            tab.view->appendNotice(MessageTemplates::System, QStringLiteral("line %1").arg(i), QDateTime::currentDateTime());
        QVERIFY(!label->isVisible());
        QCOMPARE(movie->state(), QMovie::Paused);
        tab.view->verticalScrollBar()->setValue(0);
        QVERIFY(label->isVisible());
        QCOMPARE(movie->state(), QMovie::Running);
        tab.hide();
        QCOMPARE(movie->state(), QMovie::Paused);
        tab.show();
        QCOMPARE(movie->state(), QMovie::Running);
        tab.clearView();
        QVERIFY(binding->viewOverlay()->widgets().isEmpty());
    }

    void pickerInToolbar()
    {
        ZChatTab tab;
        auto *picker = qobject_cast<ZSmileyPicker *>(tab.smileyButton());
        QVERIFY(picker);
        QCOMPARE(ZSmileyTabBinding::of(&tab)->picker(), picker);
        emit picker->smiley(QStringLiteral(":/smileys/default/smile.png"));
        QVERIFY(tab.input->toHtml().contains(QLatin1String(":/smileys/default/smile.png")));
        tab.setOtherNetwork(true);
        QVERIFY(!picker->favoritesEnabled());
        // F9 in the window reaches the add procedure: the picture dialog opens.
        QSignalSpy chosen(picker, &ZSmileyPicker::smiley);
        ZModalScript::instance()->queue(QStringLiteral("file"), QString());
        tab.addSmiley();
        QCOMPARE(ZModalScript::instance()->pending(QStringLiteral("file")), 0);
        QCOMPARE(chosen.count(), 0);
    }

    void insertedPictureKeepsToolbarFormat()
    {
        // An image's own character format must not become the typing format:
        // text typed after a picture keeps the toolbar's bold.
        ZChatTab tab;
        QAction *bold = nullptr;
        // The font toolbar is built when first opened, as the user does here.
        QVERIFY(tab.fontToolBar());
        for (QAction *action : tab.findChildren<QAction *>()) {
            if (action->text() == QLatin1String("&Bold"))
                bold = action;
        }
        QVERIFY(bold);
        bold->setChecked(true);
        tab.applyToolbarFormat();
        tab.slotInsertSmiley(QStringLiteral(":/smileys/default/smile.png"));
        QCOMPARE(tab.input->currentCharFormat().fontWeight(), int(QFont::Bold));
        QVERIFY(!tab.input->currentCharFormat().isImageFormat());
        QTest::keyClicks(tab.input, QStringLiteral("x"));
        QTextCursor cursor = tab.input->textCursor();
        cursor.movePosition(QTextCursor::End);
        QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
    }

private:
    QTemporaryDir m_profile;
};

QTEST_MAIN(tst_ZSmileyTabBinding)
#include "tst_zsmileytabbinding.moc"
