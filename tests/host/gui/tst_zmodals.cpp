// Scripted answers for the host's modal stand-ins: consumed in order per
// kind, mapped to the right return values, and reported with what was asked.

#include "zfiledialog.h"
#include "zhostevents.h"
#include "zinputdialog.h"
#include "zmessagebox.h"
#include "zmodalscript.h"

#include <QtTest>

using namespace zubrel;

class tst_ZModals : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ZModalScript::instance()->clear();
        ZModalScript::instance()->setScripted(true);
        m_events.clear();
        m_connection = connect(ZHostEvents::instance(), &ZHostEvents::event, this,
                               [this](const QString &kind, const QVariantMap &fields) {
                                   m_events.append({kind, fields});
                               });
    }

    void cleanup()
    {
        disconnect(m_connection);
        ZModalScript::instance()->clear();
    }

    void answersPerKindInOrder()
    {
        auto *script = ZModalScript::instance();
        script->queue("question", "yes");
        script->queue("input", "first");
        script->queue("question", "no");
        script->queue("input", "second");
        QCOMPARE(script->pending("question"), 2);

        // Kinds do not steal each other's answers.
        QCOMPARE(ZMessageBox::question(nullptr, "T", "A?"), QMessageBox::Yes);
        QCOMPARE(ZInputDialog::getText(nullptr, "T", "L"), QString("first"));
        QCOMPARE(ZMessageBox::question(nullptr, "T", "B?"), QMessageBox::No);
        QCOMPARE(ZInputDialog::getText(nullptr, "T", "L"), QString("second"));
        QCOMPARE(script->pending("question"), 0);
        QVERIFY(!script->take("input").has_value());
    }

    void question_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("reported");

        const int yesNo = QMessageBox::Yes | QMessageBox::No;
        const int yesNoCancel = yesNo | QMessageBox::Cancel;
        QTest::newRow("yes") << QVariant("yes") << yesNo << int(QMessageBox::Yes) << "yes";
        QTest::newRow("no") << QVariant("no") << yesNo << int(QMessageBox::No) << "no";
        QTest::newRow("upper case") << QVariant("YES") << yesNo << int(QMessageBox::Yes) << "yes";
        QTest::newRow("cancel offered") << QVariant("cancel") << yesNoCancel << int(QMessageBox::Cancel) << "cancel";
        QTest::newRow("button number") << QVariant(int(QMessageBox::Yes)) << yesNo << int(QMessageBox::Yes) << "yes";
        // Answers the box does not offer could never be clicked: cancelled.
        QTest::newRow("ok not offered") << QVariant("ok") << yesNo << int(QMessageBox::No) << "cancelled";
        QTest::newRow("nonsense") << QVariant("maybe") << yesNoCancel << int(QMessageBox::Cancel) << "cancelled";
        QTest::newRow("no answer queued") << QVariant() << yesNo << int(QMessageBox::No) << "cancelled";
        QTest::newRow("no answer, cancel offered") << QVariant() << yesNoCancel << int(QMessageBox::Cancel) << "cancelled";
    }
    void question()
    {
        QFETCH(QVariant, answer);
        QFETCH(int, buttons);
        QFETCH(int, expected);
        QFETCH(QString, reported);

        if (answer.isValid())
            ZModalScript::instance()->queue("question", answer);
        const auto result = ZMessageBox::question(nullptr, "Kick User", "Would you like to kick Bob?",
                                                  QMessageBox::StandardButtons(buttons));
        QCOMPARE(int(result), expected);
        QCOMPARE(m_events.size(), 1);
        QCOMPARE(m_events.at(0).first, QString("box"));
        const QVariantMap expectedFields{{"kind", "question"},
                                         {"title", "Kick User"},
                                         {"text", "Would you like to kick Bob?"},
                                         {"answer", reported}};
        QCOMPARE(m_events.at(0).second, expectedFields);
    }

    void informationReported()
    {
        ZModalScript::instance()->queue("information", "ok");
        QCOMPARE(ZMessageBox::information(nullptr, "Zubrel", "Too large"), QMessageBox::Ok);
        QCOMPARE(ZMessageBox::information(nullptr, "Zubrel", "Again"), QMessageBox::Ok);
        QCOMPARE(m_events.size(), 2);
        const QVariantMap first{{"kind", "information"}, {"title", "Zubrel"}, {"text", "Too large"}, {"answer", "ok"}};
        QCOMPARE(m_events.at(0).second, first);
        QCOMPARE(m_events.at(1).second.value("answer").toString(), QString("cancelled"));
    }

    void inputText()
    {
        ZModalScript::instance()->queue("input", "new name");
        bool ok = false;
        const QString text = ZInputDialog::getText(nullptr, "Rename push message", "Please enter a new name:",
                                                   QLineEdit::Normal, "old", &ok);
        QVERIFY(ok);
        QCOMPARE(text, QString("new name"));
        QCOMPARE(m_events.size(), 1);
        QCOMPARE(m_events.at(0).first, QString("input"));
        const QVariantMap &f = m_events.at(0).second;
        QCOMPARE(f.value("class").toString(), QString("ZInputDialog"));
        QCOMPARE(f.value("title").toString(), QString("Rename push message"));
        QCOMPARE(f.value("text").toString(), QString("Please enter a new name:"));
        QCOMPARE(f.value("answer").toString(), QString("new name"));
    }

    void inputCancelled()
    {
        // A null answer and no answer both cancel.
        ZModalScript::instance()->queue("input", QVariant());
        bool ok = true;
        QCOMPARE(ZInputDialog::getText(nullptr, "T", "L", QLineEdit::Normal, "keep", &ok), QString());
        QVERIFY(!ok);
        ok = true;
        QCOMPARE(ZInputDialog::getText(nullptr, "T", "L", QLineEdit::Normal, "keep", &ok), QString());
        QVERIFY(!ok);
        QCOMPARE(m_events.size(), 2);
        QCOMPARE(m_events.at(1).second.value("answer").toString(), QString("cancelled"));
    }

    void inputPasswordNotTraced()
    {
        ZModalScript::instance()->queue("input", "secret");
        QCOMPARE(ZInputDialog::getText(nullptr, "T", "Password", QLineEdit::Password), QString("secret"));
        QVERIFY(!m_events.at(0).second.value("answer").toString().contains("secret"));
    }

    void fileDialogs()
    {
        auto *script = ZModalScript::instance();
        script->queue("file", "/tmp/a.png");
        script->queue("file", QStringList{"/tmp/b.wav", "/tmp/c.wav"});
        script->queue("file", "/tmp/out.png");

        QCOMPARE(ZFileDialog::getOpenFileName(nullptr, "Open", "/home", "Images (*.png)"), QString("/tmp/a.png"));
        QCOMPARE(ZFileDialog::getOpenFileNames(nullptr, "Send", "/data", "*"),
                 QStringList({"/tmp/b.wav", "/tmp/c.wav"}));
        QCOMPARE(ZFileDialog::getSaveFileName(nullptr, "Save", "/pics/x.png", "*.png"), QString("/tmp/out.png"));
        QCOMPARE(ZFileDialog::getSaveFileName(nullptr, "Save", "/pics", "*.png"), QString());

        QCOMPARE(m_events.size(), 4);
        for (const auto &event : std::as_const(m_events))
            QCOMPARE(event.first, QString("fileDialog"));
        const QVariantMap &open = m_events.at(0).second;
        QCOMPARE(open.value("title").toString(), QString("Open"));
        QCOMPARE(open.value("dir").toString(), QString("/home"));
        QCOMPARE(open.value("filter").toString(), QString("Images (*.png)"));
        QCOMPARE(open.value("answer").toString(), QString("/tmp/a.png"));
        QCOMPARE(m_events.at(1).second.value("answer").toStringList(), QStringList({"/tmp/b.wav", "/tmp/c.wav"}));
        QCOMPARE(m_events.at(3).second.value("answer").toString(), QString("cancelled"));
    }

    void fileDialogRejectsWrongShape()
    {
        // A single-file chooser cannot hand back two files; a list of one is fine.
        ZModalScript::instance()->queue("file", QStringList{"/a", "/b"});
        ZModalScript::instance()->queue("file", QStringList{"/c"});
        QCOMPARE(ZFileDialog::getOpenFileName(), QString());
        QCOMPARE(ZFileDialog::getOpenFileName(), QString("/c"));
        // A plain path for the many-files chooser is a list of one.
        ZModalScript::instance()->queue("file", "/d");
        QCOMPARE(ZFileDialog::getOpenFileNames(), QStringList{"/d"});
    }

private:
    QList<std::pair<QString, QVariantMap>> m_events;
    QMetaObject::Connection m_connection;
};

QTEST_MAIN(tst_ZModals)
#include "tst_zmodals.moc"
