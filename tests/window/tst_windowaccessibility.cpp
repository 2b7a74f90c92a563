// The chat window without a mouse and with a screen reader: every button
// and card says what it is, Tab walks input, send button and conversation,
// the Message menu lists the keys, and a closed tab leaves no reader item
// behind.

#include "zchat.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zmessageview.h"
#include "zmodalscript.h"
#include "ztextedit.h"

#include <QAccessible>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

class tst_WindowAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_profile.isValid());
        qputenv("ZUBREL_PROFILE", m_profile.path().toLocal8Bit());
        ZModalScript::instance()->setScripted(true);
    }

    void init()
    {
        m_chat = new ZChat;
        m_tab = new ZChatTab;
        m_chat->addTab(m_tab);
        m_card = new ZContactCard;
        m_card->setZubrelId(QStringLiteral("4711"));
        m_card->setAlias(QStringLiteral("Anna"));
        m_card->setStatus(ZContactCard::Online);
        m_tab->cardList->addCard(m_card);
        m_chat->show();
        QVERIFY(QTest::qWaitForWindowActive(m_chat));
    }
    void cleanup() { delete m_chat.data(); }

    // Every button and picker of the window, shown or not, and the
    // cards carry a name a screen reader can say.
    void everythingNamed()
    {
        QStringList unnamed;
        QWidgetList widgets{m_tab->input, m_tab->view};
        for (auto *button : m_chat->findChildren<QAbstractButton *>())
            widgets << button;
        for (auto *box : m_chat->findChildren<QComboBox *>())
            widgets << box;
        for (QWidget *w : widgets) {
            if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u'\n')));

        QAccessibleInterface *card = QAccessible::queryAccessibleInterface(m_card);
        m_card->setStatus(ZContactCard::Away);
        QCOMPARE(card->text(QAccessible::Name), QStringLiteral("Anna"));
        QCOMPARE(card->text(QAccessible::Description), m_card->statusName());
        QVERIFY(card->state().focusable);
    }

    // Tab walks input -> send -> conversation -> own card -> cards, Shift+Tab walks back,
    // and the conversation scrolls by keys.
    void keyboardOnly()
    {
        m_tab->input->setFocus();
        QTest::keyClicks(m_tab->input, QStringLiteral("hello"));
        QTRY_VERIFY(m_tab->sendButton()->isEnabled()); // enabled a moment after typing
        QTest::keyClick(m_tab->input, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_tab->sendButton());
        QTest::keyClick(m_tab->sendButton(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_tab->view);
        QTest::keyClick(m_tab->view, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_tab->ownCard);
        QTest::keyClick(m_tab->ownCard, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_card);
        QTest::keyClick(m_card, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(m_tab->ownCard, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), m_tab->view);
        QCOMPARE(m_tab->inputText(), QStringLiteral("hello")); // Tab typed nothing

        for (int i = 0; i < 60; ++i)
            m_tab->appendSystemMessage(QStringLiteral("line %1").arg(i));
        m_tab->view->scrollToBottom();
        QScrollBar *bar = m_tab->view->verticalScrollBar();
        const int bottom = bar->value();
        QVERIFY(bottom > 0);
        QTest::keyClick(m_tab->view, Qt::Key_PageUp);
        QVERIFY(bar->value() < bottom);
        QTest::keyClick(m_tab->view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(bar->value(), 0);
    }

    // The Message menu lists the keys of what has no entry elsewhere, and
    // its entries do what the keys do.
    void keysListedInMenu()
    {
        auto *menu = m_chat->findChild<QMenu *>(QStringLiteral("messageMenu"));
        emit menu->aboutToShow();
        QStringList keys;
        for (QAction *entry : menu->actions()) {
            if (!entry->isSeparator() && entry->isVisible())
                keys << (entry->shortcut().isEmpty() ? entry->text().section(u'\t', 1) : entry->shortcut().toString());
        }
        QVERIFY2(!keys.contains(QString()), qPrintable(keys.join(u' ')));
        for (const char *key : {"F6", "F7", "Ctrl+F", "F2", "F9", "Ctrl+Shift+F", "Ctrl+Shift+E"})
            QVERIFY2(keys.contains(QLatin1String(key)), key);

        menu->actions().value(1)->trigger(); // Go to Conversation
        QCOMPARE(QApplication::focusWidget(), m_tab->view);
        QTest::keyClick(m_chat, Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), m_tab->input);
        QTest::keyClick(m_chat, Qt::Key_F7);
        QCOMPARE(QApplication::focusWidget(), m_tab->view);
    }

    // The Edit menu lists a key for every entry, with the input or the
    // conversation focused; Select All only lists Ctrl+A, which stays with
    // the focused widget.
    void editMenuListsEveryKey()
    {
        QMenu *menu = nullptr;
        for (QAction *top : m_chat->menuBar()->actions()) {
            if (top->text() == QLatin1String("&Edit"))
                menu = top->menu();
        }
        QVERIFY(menu);
        m_tab->view->appendIncoming(QStringLiteral("hello there"), QStringLiteral("Anna"), QStringLiteral("4711"),
                                    QDateTime::currentDateTime(), false, false);
        for (QWidget *focus : {static_cast<QWidget *>(m_tab->input), static_cast<QWidget *>(m_tab->view)}) {
            focus->setFocus();
            emit menu->aboutToShow();
            int selectAllEntries = 0;
            for (QAction *entry : menu->actions()) {
                if (entry->isSeparator() || !entry->isVisible())
                    continue;
                const QString key = entry->shortcut().isEmpty() ? entry->text().section(u'\t', 1)
                                                                : entry->shortcut().toString();
                QVERIFY2(!key.isEmpty(), qPrintable(entry->text()));
                if (entry->text().startsWith(QLatin1String("&Select All"))) {
                    ++selectAllEntries;
                    QCOMPARE(key, QKeySequence(QKeySequence::SelectAll).toString());
                    QVERIFY(entry->shortcut().isEmpty());
                }
            }
            QCOMPARE(selectAllEntries, 1);
        }
        QTest::keyClick(m_tab->view, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(m_tab->view->selectedText().contains(QLatin1String("hello there")));
    }

    // A reader holding an entry's item of a closed tab holds nothing.
    void noItemAfterTabCloses()
    {
        m_tab->appendSystemMessage(QStringLiteral("hello"));
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(m_tab->view);
        QCOMPARE(list->childCount(), 1);
        const QAccessible::Id item = QAccessible::uniqueId(list->child(0));
        const QAccessible::Id listId = QAccessible::uniqueId(list);
        m_tab->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!m_tab && !QAccessible::accessibleInterface(item) && !QAccessible::accessibleInterface(listId));
    }

private:
    QTemporaryDir m_profile;
    QPointer<ZChat> m_chat;
    QPointer<ZChatTab> m_tab;
    QPointer<ZContactCard> m_card;
};

QTEST_MAIN(tst_WindowAccessibility)
#include "tst_windowaccessibility.moc"
