// The chat window: close questions, per-contact geometry, the hid() report,
// reduced menus, help without a browser and drop classification. What each
// menu and toolbar entry does is replayed in tests/replays/chat-window-entries.
#include "zchat.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zdir.h"
#include "zhostevents.h"
#include "zmodalscript.h"
#include "zplatform.h"
#include "zsettings.h"
#include "zstatusbar.h"
#include "ztextedit.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

using namespace zubrel;

namespace {

// Records where the window was asked to go instead of asking the window system.
class RecordingPlatform : public ZPlatform
{
public:
    void setWindowGeometry(QWidget *, const QRect &rect) override { rects.append(rect); }
    bool openUrl(const QUrl &url) override
    {
        urls.append(url);
        return browser;
    }
    QList<QRect> rects;
    QList<QUrl> urls;
    bool browser = true;
};

QAction *findAction(ZChat *chat, const QString &text)
{
    QList<QAction *> all = chat->toolBar()->actions();
    all += chat->chatMenu()->actions();
    all += chat->screenshotMenu()->actions();
    for (QMenu *menu : chat->menuBar()->findChildren<QMenu *>())
        all += menu->actions();
    for (QAction *a : all) {
        if (a->isVisible() && a->text() == text)
            return a;
    }
    return nullptr;
}

ZContactCard *addContact(ZChatTab *tab, const QString &id)
{
    auto *card = new ZContactCard;
    card->setZubrelId(id);
    card->setAlias(QStringLiteral("Alias %1").arg(id));
    tab->cardList->addCard(card);
    return card;
}

} // namespace

class tst_ZChat : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_profile.isValid());
        qputenv("ZUBREL_PROFILE", m_profile.path().toLocal8Bit());
        ZModalScript::instance()->setScripted(true);
        ZPlatform::setInstance(&m_platform);
    }

    void init()
    {
        ZModalScript::instance()->clear();
        m_platform.rects.clear();
        m_platform.urls.clear();
        m_platform.browser = true;
    }

    void closeQuestions_data()
    {
        QTest::addColumn<QString>("kind"); // "mc", "rc", "one"
        QTest::addColumn<bool>("owner");
        QTest::addColumn<int>("cards");
        QTest::addColumn<bool>("withId");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("title");    // "" = no question expected
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<bool>("closed");
        QTest::newRow("mc owner yes") << "mc" << true << 2 << true << "yes" << "Close Multi Chat"
                                      << "Do you really want to quit the Multi Chat?" << QStringList{"exitmc"} << true;
        QTest::newRow("mc guest yes") << "mc" << false << 1 << true << "yes" << "Close Multi Chat"
                                      << "Do you really want to leave the Multi Chat?" << QStringList{"exitmc"} << true;
        QTest::newRow("mc no") << "mc" << true << 1 << true << "no" << "Close Multi Chat"
                               << "Do you really want to quit the Multi Chat?" << QStringList{} << false;
        QTest::newRow("mc no cards") << "mc" << true << 0 << true << "" << "" << "" << QStringList{"exit"} << true;
        QTest::newRow("mc no id") << "mc" << false << 2 << false << "" << "" << "" << QStringList{"exit"} << true;
        QTest::newRow("rc yes") << "rc" << false << 1 << true << "yes" << "Close Random Chat"
                                << "Do you really want to quit the Random Chat?" << QStringList{"exitrc"} << true;
        QTest::newRow("rc no") << "rc" << false << 1 << true << "no" << "Close Random Chat"
                               << "Do you really want to quit the Random Chat?" << QStringList{} << false;
        QTest::newRow("rc partner gone") << "rc" << false << 0 << true << "" << "" << "" << QStringList{"exitrc"} << true;
        QTest::newRow("rc pending") << "rc" << false << 1 << false << "" << "" << "" << QStringList{"exit"} << true;
        QTest::newRow("one to one") << "one" << false << 1 << false << "" << "" << "" << QStringList{} << true;
        QTest::newRow("private session") << "nolog" << false << 1 << false << "" << "" << ""
                                         << QStringList{"exitnolog"} << true;
    }
    void closeQuestions()
    {
        QFETCH(QString, kind);
        QFETCH(bool, owner);
        QFETCH(int, cards);
        QFETCH(bool, withId);
        QFETCH(QString, answer);
        QFETCH(QString, title);
        QFETCH(QString, question);
        QFETCH(QStringList, ids);
        QFETCH(bool, closed);

        QPointer<ZChat> chat = new ZChat;
        auto *tab = new ZChatTab;
        chat->addTab(tab);
        for (int i = 0; i < cards; ++i)
            addContact(tab, QString::number(3000 + i));
        if (kind == QLatin1String("mc")) {
            tab->setMultiChat(true);
            tab->setMultiChatOwner(owner);
            tab->multichatId = withId ? 77 : ZChatTab::noId;
        } else if (kind == QLatin1String("rc")) {
            tab->setRandomChat(true);
            tab->randomChatId = withId ? 88 : ZChatTab::noId;
        } else if (kind == QLatin1String("nolog")) {
            tab->setPrivateSession(true);
        }
        chat->show();
        if (!answer.isEmpty())
            ZModalScript::instance()->queue(QStringLiteral("question"), answer);
        QSignalSpy actions(chat.data(), &ZChat::action);
        QSignalSpy hid(chat.data(), &ZChat::hid);
        QSignalSpy host(ZHostEvents::instance(), &ZHostEvents::event);

        QCOMPARE(chat->close(), closed);

        QList<QVariantMap> boxes;
        for (const auto &e : std::as_const(host)) {
            if (e.at(0).toString() == QLatin1String("box"))
                boxes.append(e.at(1).toMap());
        }
        if (title.isEmpty()) {
            QVERIFY(boxes.isEmpty());
        } else {
            QCOMPARE(boxes.size(), 1);
            QCOMPARE(boxes.first().value("title").toString(), title);
            QCOMPARE(boxes.first().value("text").toString(), question);
        }
        QStringList emitted;
        for (const auto &a : std::as_const(actions))
            emitted << a.at(0).toString();
        QCOMPARE(emitted, ids);
        QCOMPARE(hid.count(), closed ? 1 : 0);
        if (closed) {
            QTRY_VERIFY(chat.isNull()); // delete-on-close
        } else {
            QVERIFY(chat->isVisible());
            delete chat.data();
        }
    }

    void geometryPerContact()
    {
        // The frame's place and the inside's size are stored, and placed again
        // as they were: no creeping down by the title bar, no growing.
        QRect frame;
        {
            auto *chat = new ZChat;
            auto *tab = new ZChatTab;
            chat->addTab(tab);
            addContact(tab, QStringLiteral("2001"));
            chat->setGeometry(120, 90, 600, 450);
            chat->show();
            frame = QRect(chat->frameGeometry().topLeft(), chat->size());
            chat->close();
        }
        auto *settings = ZSettings::instance();
        QCOMPARE(QRect(settings->get("chat_x_2001", -1, "zchat").toInt(), settings->get("chat_y_2001", -1, "zchat").toInt(),
                       settings->get("chat_w_2001", -1, "zchat").toInt(), settings->get("chat_h_2001", -1, "zchat").toInt()),
                 frame);

        ZChat again;
        auto *tab = new ZChatTab;
        again.addTab(tab);
        addContact(tab, QStringLiteral("2001"));
        again.restoreChatGeometry();
        QCOMPARE(m_platform.rects.size(), 1);
        QCOMPARE(m_platform.rects.first(), frame);

        // Another contact has nothing stored: the centred default stays.
        m_platform.rects.clear();
        ZChat other;
        auto *otherTab = new ZChatTab;
        other.addTab(otherTab);
        addContact(otherTab, QStringLiteral("2002"));
        other.restoreChatGeometry();
        QVERIFY(m_platform.rects.isEmpty());
        QCOMPARE(other.size(), QSize(580, 420));
    }

    void onlyXStoredMovesToXMinusOne()
    {
        ZSettings::instance()->set("chat_x_2003", 40, "zchat");
        ZChat chat;
        auto *tab = new ZChatTab;
        chat.addTab(tab);
        addContact(tab, QStringLiteral("2003"));
        chat.restoreChatGeometry();
        QCOMPARE(m_platform.rects.size(), 1);
        QCOMPARE(m_platform.rects.first().topLeft(), QPoint(40, -1));
        QCOMPARE(m_platform.rects.first().size(), QSize(580, 420));
    }

    void multiChatGeometryIsNeverStored()
    {
        auto *chat = new ZChat;
        auto *tab = new ZChatTab;
        chat->addTab(tab);
        addContact(tab, QStringLiteral("2004"));
        tab->setMultiChat(true);
        chat->show();
        chat->close();
        QCOMPARE(ZSettings::instance()->get("chat_x_2004", -1, "zchat").toInt(), -1);
    }

    void hidOnceAndWindowGone()
    {
        QPointer<ZChat> chat = new ZChat;
        QPointer<ZChatTab> tab = new ZChatTab;
        chat->addTab(tab);
        chat->show();
        QSignalSpy hid(chat.data(), &ZChat::hid);
        chat->close();
        chat->close(); // a second close before the deletion ran
        QCOMPARE(hid.count(), 1);
        QTRY_VERIFY(chat.isNull());
        QVERIFY(tab.isNull());
    }

    void reducedMenusHideEntries()
    {
        ZChat chat;
        chat.addTab(new ZChatTab);
        chat.setupRandomChatMenu();
        QCOMPARE(chat.windowTitle(), QStringLiteral("Random Chat"));
        QVERIFY(!findAction(&chat, "Add contact(s)"));
        QVERIFY(!findAction(&chat, "Shake other chat window"));
        QVERIFY(!findAction(&chat, "Show slideshow"));
        QVERIFY(!chat.screenshotButton()->isVisibleTo(&chat));
        QVERIFY(findAction(&chat, "View Chat History"));
        QVERIFY(!findAction(&chat, "Start Private Session"));

        ZChat multi;
        multi.addTab(new ZChatTab);
        multi.setupMultiChatMenu();
        QVERIFY(findAction(&multi, "Add Contact(s)"));
        QVERIFY(findAction(&multi, "Show Slideshow"));
        QVERIFY(!findAction(&multi, "Start Private Session"));
        QVERIFY(!findAction(&multi, "Start private session"));
        QVERIFY(!findAction(&multi, "Shake other chat window"));
    }

    // The other View entries show in the replay's state (cards' "visible").
    void toolbarEntryHidesAndShowsTheToolbar()
    {
        ZChat chat;
        chat.addTab(new ZChatTab);
        chat.show();
        findAction(&chat, "Hide &Toolbar")->trigger();
        QTRY_VERIFY(!chat.toolBar()->isVisible());
        findAction(&chat, "Show &Toolbar")->trigger();
        QTRY_VERIFY(chat.toolBar()->isVisible());
    }

    void typingNoticeInStatusBar()
    {
        ZChat chat;
        auto *tab = new ZChatTab;
        chat.addTab(tab);
        addContact(tab, QStringLiteral("2005"));
        emit tab->isTyping(true);
        QCOMPARE(chat.statusBar()->message(), QStringLiteral("Alias 2005 is typing..."));
        emit tab->isTyping(false);
        QCOMPARE(chat.statusBar()->message(), QString());
    }

    void classifyDroppedFiles_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<int>("code");
        QTest::newRow("mp3") << QStringList{"/a/song.MP3", "/b/x.mp3"} << 14;
        QTest::newRow("pictures") << QStringList{"/a/p.JPG", "/b/q.png"} << 16;
        QTest::newRow("mixed") << QStringList{"/a/song.mp3", "/b/q.jpg"} << 7;
        QTest::newRow("other") << QStringList{"/a/doc.pdf"} << 7;
    }
    void classifyDroppedFiles()
    {
        QFETCH(QStringList, paths);
        QFETCH(int, code);
        QCOMPARE(int(ZChat::classifyFiles(paths)), code);
    }

    void tabDragIsRefused()
    {
        ZChat chat;
        chat.addTab(new ZChatTab);
        QMimeData tabData;
        tabData.setData("binary/zubrel-tab", "1");
        QDragEnterEvent refused(QPoint(5, 5), Qt::MoveAction, &tabData, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&chat, &refused);
        QVERIFY(!refused.isAccepted());

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile("/tmp/a.mp3")});
        QDragEnterEvent accepted(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&chat, &accepted);
        QVERIFY(accepted.isAccepted());

        qRegisterMetaType<Zr::ClientApplication>();
        QSignalSpy dropped(&chat, &ZChat::droppedFiles);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&chat, &drop);
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.at(0).at(0).toStringList(), QStringList{"/tmp/a.mp3"});
    }

    void droppedPicturesKeepFilesOfTheirOwn()
    {
        // The message reads its picture only when sent, after other drops.
        const auto drop = [](ZChat *chat, Qt::GlobalColor colour) {
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(colour);
            QMimeData mime;
            mime.setImageData(image);
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(chat, &enter);
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(chat, &event);
            const QRegularExpression source(QStringLiteral("<img src=\"([^\"]+)\""));
            return source.match(chat->currentTab()->input->toHtml()).captured(1);
        };
        ZChat first, second;
        first.addTab(new ZChatTab);
        second.addTab(new ZChatTab);
        const QString red = drop(&first, Qt::red);
        const QString blue = drop(&second, Qt::blue);
        QVERIFY2(red.startsWith(ZDir::tempPath(false) + QLatin1Char('/')), qPrintable(red));
        QVERIFY(red != blue);
        QVERIFY(QImage(red).pixelColor(1, 1).red() > 200 && QImage(blue).pixelColor(1, 1).blue() > 200);
    }

    void helpEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("browser");
        QTest::newRow("help") << "&Help Functions" << "https://www.zubrel.example/?go=help" << true;
        QTest::newRow("faq") << "&Frequently Asked Questions (FAQ)" << "https://www.zubrel.example/?go=faq" << true;
        QTest::newRow("faq without a browser") << "&Frequently Asked Questions (FAQ)"
                                               << "https://www.zubrel.example/?go=faq" << false;
    }
    void helpEntries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, url);
        QFETCH(bool, browser);
        m_platform.browser = browser;
        ZChat chat;
        chat.addTab(new ZChatTab);
        QAction *action = nullptr;
        for (QMenu *menu : chat.menuBar()->findChildren<QMenu *>()) {
            for (QAction *candidate : menu->actions()) {
                if (candidate->text() == entry)
                    action = candidate;
            }
        }
        QVERIFY2(action, qPrintable(entry));
        QSignalSpy host(ZHostEvents::instance(), &ZHostEvents::event);
        action->trigger();
        QTRY_COMPARE(m_platform.urls, QList<QUrl>{QUrl(url)});
        QList<QVariantMap> boxes;
        for (const auto &e : std::as_const(host)) {
            if (e.at(0).toString() == QLatin1String("box"))
                boxes.append(e.at(1).toMap());
        }
        // Without a browser the user is told so instead of nothing happening.
        QCOMPARE(boxes.size(), browser ? 0 : 1);
        if (!browser)
            QCOMPARE(boxes.first().value("text").toString(),
                     QStringLiteral("No web browser could be started. The page is at %1").arg(url));
    }

    void newWindowsCascade()
    {
        ZChat first;
        auto *firstTab = new ZChatTab;
        first.addTab(firstTab);
        addContact(firstTab, QStringLiteral("2101"));
        first.restoreChatGeometry();
        first.show();
        QVERIFY(m_platform.rects.isEmpty());

        // A second window without a saved place would hide the first exactly.
        ZChat second;
        auto *secondTab = new ZChatTab;
        second.addTab(secondTab);
        addContact(secondTab, QStringLiteral("2102"));
        QCOMPARE(second.pos(), first.pos());
        second.restoreChatGeometry();
        QCOMPARE(m_platform.rects.size(), 1);
        QCOMPARE(m_platform.rects.first().topLeft(), first.pos() + QPoint(28, 28));
    }

private:
    QTemporaryDir m_profile;
    RecordingPlatform m_platform;
};

QTEST_MAIN(tst_ZChat)
#include "tst_zchat.moc"
