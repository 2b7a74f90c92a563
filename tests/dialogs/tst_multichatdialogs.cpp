// The invitation and topic dialogs: texts, hidden buttons, the answers a
// script gives and what closing counts as.

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include "multichatjoin.h"
#include "multichatopen.h"
#include "zhostevents.h"
#include "zmodalscript.h"

using namespace zubrel;

class MultichatDialogsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ZModalScript::instance()->setScripted(true); }

    void join()
    {
        MultichatJoin dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Join Multi Chat"));
        QCOMPARE(dialog.txtTitle->text(), QStringLiteral("<b>%1</b>"));
        QCOMPARE(dialog.txtJoin->text(), QStringLiteral("has invited you to a Multi Chat session.<br><br>Do you want to join?"));
        QCOMPARE(dialog.btnJoin->text(), QStringLiteral("&Join"));
        QCOMPARE(dialog.btnReject->text(), QStringLiteral("&Decline"));
        QCOMPARE(dialog.btnJoin->size(), QSize(110, 26));
        QVERIFY(dialog.btnList->isHidden());
        QCOMPARE(dialog.ask(), 0); // scripted, unanswered: cancelled
        ZModalScript::instance()->queue("dialog", "join");
        QCOMPARE(dialog.ask(), 1);
        ZModalScript::instance()->queue("dialog", QVariantMap{{"result", 0}});
        QCOMPARE(dialog.ask(), 0);
    }

    void joinClosedIsRejected()
    {
        ZModalScript::instance()->setScripted(false);
        MultichatJoin dialog;
        QTimer::singleShot(0, &dialog, &QWidget::close);
        QCOMPARE(dialog.ask(), 0);
        QTimer::singleShot(0, dialog.btnJoin, &QPushButton::click);
        QCOMPARE(dialog.ask(), 1);
        ZModalScript::instance()->setScripted(true);
    }

    void topic()
    {
        MultichatOpen dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Open Multi Chat"));
        QCOMPARE(dialog.txtTitle->text(), QStringLiteral("Multi Chat Topic"));
        QCOMPARE(dialog.btnInvite->text(), QStringLiteral("&Send Invitation"));
        QVERIFY(dialog.btnAdd->isHidden());
        QVERIFY(dialog.inputName->tabChangesFocus());

        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        ZModalScript::instance()->queue("dialog", QVariantMap{{"topic", "Lunch <b>?</b>"}, {"result", 1}});
        const QString html = MultichatOpen::topic(nullptr);
        QVERIFY(html.contains("Lunch &lt;b&gt;?&lt;/b&gt;"));
        QCOMPARE(events.last().value(1).toMap().value("topic").toString(), QStringLiteral("Lunch <b>?</b>"));
        // Accepted empty: still the HTML of an empty document.
        ZModalScript::instance()->queue("dialog", QVariantMap{{"result", 1}});
        QVERIFY(!MultichatOpen::topic(nullptr).isEmpty());
        ZModalScript::instance()->queue("dialog", QVariantMap{{"topic", "x"}, {"result", "cancel"}});
        QVERIFY(MultichatOpen::topic(nullptr).isEmpty());
    }
};

QTEST_MAIN(MultichatDialogsTest)
#include "tst_multichatdialogs.moc"
