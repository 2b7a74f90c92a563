// Contact card: state getters the chat reads back, the menu ids the
// controller dispatches on, and the own-picture drop that must only pass
// local picture files.

#include "zcontactcard.h"

#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace zubrel;

class tst_ZContactCard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    void aliasFallsBackToId()
    {
        ZContactCard card;
        card.setZubrelId(QStringLiteral("123"));
        card.setAlias(QString());
        auto *label = card.findChild<QLabel *>(QStringLiteral("alias"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("123"));
        QVERIFY(card.alias().isNull());
        card.setAlias(QStringLiteral("<b>Bob</b>"));
        // Aliases come from other users: never interpreted as markup.
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), QStringLiteral("<b>Bob</b>"));
    }

    void statusName_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("name");
        QTest::newRow("offline") << 0 << "Offline";
        QTest::newRow("online") << 1 << "Online";
        QTest::newRow("away") << 2 << "Away";
        QTest::newRow("busy") << 3 << "Busy";
        QTest::newRow("dnd") << 4 << "Do not disturb";
        QTest::newRow("invisible") << 5 << "Invisible";
        QTest::newRow("unknown") << 9 << "Unknown";
    }
    void statusName()
    {
        QFETCH(int, status);
        QFETCH(QString, name);
        ZContactCard card;
        card.setStatus(status);
        QCOMPARE(card.status(), status);
        QCOMPARE(card.statusName(), name);
        QCOMPARE(card.findChild<QLabel *>(QStringLiteral("statusName"))->text(), name);
    }

    void narrowCardElidesStatusAndShowsTyping()
    {
        ZContactCard card;
        card.setStatus(ZContactCard::DoNotDisturb);
        card.setFixedWidth(120);
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        auto *label = card.findChild<QLabel *>(QStringLiteral("statusName"));
        QVERIFY2(label->text().endsWith(QChar(0x2026)), qPrintable(label->text()));
        QCOMPARE(label->toolTip(), QStringLiteral("Do not disturb"));
        auto *typing = card.findChild<QLabel *>(QStringLiteral("typing"));
        QVERIFY(!typing->isVisible());
        card.setTyping(true);
        QVERIFY(typing->isVisible());
        QCOMPARE(typing->text(), QString::fromUtf8("typing\u2026"));
    }

    void menuIds_data()
    {
        QTest::addColumn<int>("app");
        QTest::addColumn<bool>("own");
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("contact") << 1 << false << false
                                 << QStringList{"chat", "profile", "voip", "filetransfer", "webfolder", "block", "exit"};
        QTest::newRow("blocked contact") << 1 << false << true
                                         << QStringList{"chat", "profile", "voip", "filetransfer", "webfolder", "unblock", "exit"};
        QTest::newRow("other network") << 0 << false << false << QStringList{"chat", "block", "exit"};
        QTest::newRow("multi chat contact") << 11 << false << false
                                            << QStringList{"chat", "profile", "voip", "filetransfer", "webfolder", "block", "exit"};
        QTest::newRow("multi chat stranger") << 13 << false << false << QStringList{"profile", "auth", "block", "exit"};
        QTest::newRow("random partner") << 15 << false << false << QStringList{"profile", "block"};
        QTest::newRow("own") << 1 << true << false << QStringList{"profile"};
        QTest::newRow("own blocked flag ignored") << 11 << true << true << QStringList{"profile"};
    }
    void menuIds()
    {
        QFETCH(int, app);
        QFETCH(bool, own);
        QFETCH(bool, blocked);
        QFETCH(QStringList, ids);
        ZContactCard card;
        card.setGeneralApp(app);
        card.setOwn(own);
        card.setBlocked(blocked);
        QCOMPARE(card.actionIds(), ids);
    }

    void menuActionsEmitIds()
    {
        ZContactCard card;
        QSignalSpy spy(&card, &ZContactCard::actionId);
        auto menu = card.createContextMenu();
        QStringList triggered;
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            action->trigger();
            triggered << action->data().toString();
        }
        QCOMPARE(triggered, card.actionIds());
        QCOMPARE(spy.count(), triggered.size());
        for (int i = 0; i < spy.count(); ++i)
            QCOMPARE(spy.at(i).at(0).toString(), triggered.at(i));
    }

    void customActions()
    {
        ZContactCard card;
        card.setOwn(true);
        card.addAction(QStringLiteral("log"), QStringLiteral("Private"));
        card.addAction(QStringLiteral("log"), QStringLiteral("Private session"));
        card.addAction(QString(), QStringLiteral("nameless"));
        QCOMPARE(card.actionIds(), (QStringList{"profile", "log"}));

        QSignalSpy spy(&card, &ZContactCard::actionId);
        auto menu = card.createContextMenu();
        QAction *custom = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->data().toString() == QLatin1String("log"))
                custom = action;
        }
        QVERIFY(custom);
        QCOMPARE(custom->text(), QStringLiteral("Private session"));
        custom->trigger();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("log"));

        card.removeAction(QStringLiteral("log"));
        QCOMPARE(card.actionIds(), QStringList{"profile"});
    }

    void menuOutlivesCard()
    {
        // An action can close the window that owns the card while the menu is
        // still open; triggering afterwards must neither crash nor emit.
        auto *card = new ZContactCard;
        auto menu = card->createContextMenu();
        delete card;
        QVERIFY(!menu->actions().isEmpty());
        menu->actions().constFirst()->trigger();
    }

    void avatarClick()
    {
        ZContactCard card;
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        QSignalSpy spy(&card, &ZContactCard::avatarClicked);
        auto *avatar = card.findChild<QLabel *>(QStringLiteral("avatar"));
        QVERIFY(avatar);
        QTest::mouseClick(avatar, Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
        QTest::mouseClick(avatar, Qt::RightButton);
        QCOMPARE(spy.count(), 1);
    }

    void dropOnOwnAvatar()
    {
        const QString picture = m_dir.filePath(QStringLiteral("me.png"));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(picture));
        const QString text = m_dir.filePath(QStringLiteral("notes.txt"));
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();

        ZContactCard card;
        card.setOwn(true);
        QSignalSpy spy(&card, &ZContactCard::newAvatar);
        QVERIFY(drop(card, {QUrl::fromLocalFile(text), QUrl(QStringLiteral("https://example.org/a.png")),
                            QUrl::fromLocalFile(picture), QUrl::fromLocalFile(m_dir.filePath("missing.png"))}));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toStringList(), QStringList{picture});

        // Nothing usable: refused, no signal; nor is a picture on another card.
        QVERIFY(!drop(card, {QUrl::fromLocalFile(text)}));
        QCOMPARE(spy.count(), 1);
        ZContactCard other;
        QSignalSpy otherSpy(&other, &ZContactCard::newAvatar);
        QVERIFY(!drop(other, {QUrl::fromLocalFile(picture)}));
        QCOMPARE(otherSpy.count(), 0);
    }

private:
    bool drop(ZContactCard &card, const QList<QUrl> &urls);
    QTemporaryDir m_dir;
};

bool tst_ZContactCard::drop(ZContactCard &card, const QList<QUrl> &urls)
{
    auto *avatar = card.findChild<QLabel *>(QStringLiteral("avatar"));
    if (!avatar)
        return false;
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(avatar, &enter);
    QDropEvent dropEvent(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(avatar, &dropEvent);
    return enter.isAccepted() && dropEvent.isAccepted();
}

QTEST_MAIN(tst_ZContactCard)
#include "tst_zcontactcard.moc"
