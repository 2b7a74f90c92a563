// The random chat search dialog: its fixed texts and hidden criteria, and
// its result however it is answered (Search, closing, a script, nothing).

#include "randomchatopen.h"
#include "zhostevents.h"
#include "zmodalscript.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace zubrel;

class tst_RandomChatOpen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void form();
    void scriptedResult_data();
    void scriptedResult();
    void interactive_data();
    void interactive();
};

void tst_RandomChatOpen::init()
{
    ZModalScript::instance()->clear();
    ZModalScript::instance()->setScripted(true);
}

void tst_RandomChatOpen::cleanup()
{
    ZModalScript::instance()->clear();
    ZModalScript::instance()->setScripted(true);
}

void tst_RandomChatOpen::form()
{
    RandomChatOpen dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Create Random Chat"));
    QCOMPARE(dialog.size(), QSize(350, 200));
    QVERIFY(dialog.txtTitle->text().startsWith(QStringLiteral("<b>What is \"Random Chat\"?</b><br><br>Random Chat is")));
    QVERIFY(dialog.txtTitle->text().endsWith(QStringLiteral("your identity remains anonymous. Just give it a try!")));
    QVERIFY(dialog.txtTitle->wordWrap());
    QCOMPARE(dialog.imgRandomChat->size(), QSize(80, 55));
    QVERIFY(!dialog.imgRandomChat->pixmap().isNull());
    QCOMPARE(dialog.btnSearch->text(), QStringLiteral("&Search"));
    QVERIFY(dialog.btnSearch->isDefault());
    // The criteria exist for the form's sake, and nobody sees them.
    for (QWidget *hidden : {static_cast<QWidget *>(dialog.label), static_cast<QWidget *>(dialog.inputGender),
                            static_cast<QWidget *>(dialog.label_2), static_cast<QWidget *>(dialog.inputLanguage),
                            static_cast<QWidget *>(dialog.txtTitle_2)})
        QVERIFY(!hidden->isVisibleTo(&dialog));
    QCOMPARE(dialog.inputGender->count(), 3);
    QCOMPARE(dialog.inputLanguage->itemText(0), QStringLiteral("German"));
}

void tst_RandomChatOpen::scriptedResult_data()
{
    QTest::addColumn<QVariant>("answer"); // invalid: nothing queued
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("traced");
    QTest::newRow("result 1") << QVariant(QVariantMap{{"result", 1}}) << 1 << "accepted";
    QTest::newRow("result accept") << QVariant(QStringLiteral("accept")) << 1 << "accepted";
    QTest::newRow("result 0") << QVariant(QVariantMap{{"result", 0}}) << 0 << "rejected";
    // Criteria are neither shown nor read: setting one accepts nothing.
    QTest::newRow("hidden field") << QVariant(QVariantMap{{"inputGender", "Male"}}) << 0 << "rejected";
    QTest::newRow("unanswered") << QVariant() << 0 << "cancelled";
}

void tst_RandomChatOpen::scriptedResult()
{
    QFETCH(QVariant, answer);
    QFETCH(int, result);
    QFETCH(QString, traced);
    if (answer.isValid())
        ZModalScript::instance()->queue(QStringLiteral("dialog"), answer);
    QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
    RandomChatOpen dialog;
    QCOMPARE(dialog.ask(), result);
    QCOMPARE(dialog.inputGender->currentIndex(), 0);
    QCOMPARE(events.size(), 1);
    QCOMPARE(events.first().at(0).toString(), QStringLiteral("dialog"));
    const QVariantMap fields = events.first().at(1).toMap();
    QCOMPARE(fields.value("class").toString(), QStringLiteral("RandomChatOpen"));
    QCOMPARE(fields.value("title").toString(), QStringLiteral("Create Random Chat"));
    QVERIFY(fields.value("text").toString().startsWith(QStringLiteral("What is \"Random Chat\"?")));
    QCOMPARE(fields.value("answer").toString(), traced);
}

void tst_RandomChatOpen::interactive_data()
{
    QTest::addColumn<bool>("search");
    QTest::addColumn<int>("result");
    QTest::newRow("Search pressed") << true << 1;
    QTest::newRow("closed by the title bar") << false << 0;
}

void tst_RandomChatOpen::interactive()
{
    QFETCH(bool, search);
    QFETCH(int, result);
    ZModalScript::instance()->setScripted(false);
    RandomChatOpen dialog;
    QTimer::singleShot(0, &dialog, [&dialog, search] {
        if (search)
            dialog.btnSearch->click();
        else
            dialog.close();
    });
    QCOMPARE(dialog.ask(), result);
}

QTEST_MAIN(tst_RandomChatOpen)
#include "tst_randomchatopen.moc"
