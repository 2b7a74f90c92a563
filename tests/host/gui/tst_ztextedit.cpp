// Spell checking in the input: which words get the wavy underline, how case
// regard changes that, and that a suggestion really replaces the word.

#include "zspelling.h"
#include "ztextedit.h"

#include <QMenu>
#include <QTextBlock>
#include <QtTest>

using namespace zubrel;

class tst_ZTextEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        if (!ZSpelling::instance()->dictionaries().contains("en_US"))
            QSKIP("en_US dictionary not installed");
        QVERIFY(ZSpelling::instance()->setDictionary("en_US"));
    }

    void words_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("plain") << "Hello, world." << QStringList{"Hello", "world"};
        QTest::newRow("apostrophe") << "don't 'quoted'" << QStringList{"don't", "quoted"};
        QTest::newRow("digits") << "abc123 x2 42" << QStringList{};
        QTest::newRow("mail") << "write me@host.org now" << QStringList{"write", "now"};
        QTest::newRow("link") << "see www.example.com/page" << QStringList{"see"};
        QTest::newRow("umlauts") << "grüße Straße" << QStringList{"grüße", "Straße"};
    }
    void words()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QStringList found;
        for (const auto &[start, length] : ZTextEdit::words(text))
            found << text.mid(start, length);
        QCOMPARE(found, expected);
    }

    void underlinesMisspelt()
    {
        ZTextEdit edit;
        edit.setSpellChecking(true);
        QCOMPARE(edit.dict(), QString("en_US"));
        QVERIFY(edit.availDicts().contains("en_US"));
        edit.setPlainText("This sentense has one mistake.\nAnd a secnd line.");
        QCOMPARE(underlined(edit), QStringList({"sentense", "secnd"}));

        // Typing fixes it: the underline follows the text.
        edit.setPlainText("This sentence is right.");
        QVERIFY(underlined(edit).isEmpty());
    }

    void regardCase_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("flaggedWithCase");
        QTest::addColumn<bool>("flaggedWithoutCase");
        QTest::newRow("odd caps") << "hELLo" << true << false;
        QTest::newRow("proper noun lower") << "london" << true << false;
        QTest::newRow("normal") << "hello" << false << false;
        QTest::newRow("wrong either way") << "hellloo" << true << true;
    }
    void regardCase()
    {
        QFETCH(QString, word);
        QFETCH(bool, flaggedWithCase);
        QFETCH(bool, flaggedWithoutCase);

        ZTextEdit edit;
        edit.setSpellChecking(true);
        edit.setRegardCase(true);
        edit.setPlainText("word " + word);
        QCOMPARE(underlined(edit).contains(word), flaggedWithCase);
        edit.setRegardCase(false);
        QCOMPARE(underlined(edit).contains(word), flaggedWithoutCase);
    }

    void offMeansNoUnderline()
    {
        ZTextEdit edit;
        edit.setPlainText("qwzxv");
        QVERIFY(!edit.spellChecking());
        QVERIFY(underlined(edit).isEmpty());
        edit.setSpellChecking(true);
        QCOMPARE(underlined(edit), QStringList{"qwzxv"});
        edit.setSpellChecking(false);
        QVERIFY(underlined(edit).isEmpty());
    }

    void suggestionReplacesWord()
    {
        ZTextEdit edit;
        edit.resize(400, 200);
        edit.setSpellChecking(true);
        edit.setPlainText("say helo again");
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));

        QTextCursor cursor(edit.document());
        cursor.setPosition(5); // inside "helo"
        const QPoint pos = edit.cursorRect(cursor).center();
        std::unique_ptr<QMenu> menu = edit.createContextMenu(pos);
        QAction *hello = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->text() == "hello")
                hello = action;
        }
        QVERIFY(hello);
        // Suggestions come before the standard entries.
        QVERIFY(menu->actions().indexOf(hello) < menu->actions().size() - 1);
        hello->trigger();
        QCOMPARE(edit.toPlainText(), QString("say hello again"));

        // Over a correct word there are no suggestions.
        cursor.setPosition(1);
        menu = edit.createContextMenu(edit.cursorRect(cursor).center());
        for (QAction *action : menu->actions())
            QVERIFY(action->text() != "hello");
    }

private:
    static QStringList underlined(ZTextEdit &edit);
};

QStringList tst_ZTextEdit::underlined(ZTextEdit &edit)
{
    QStringList result;
    for (QTextBlock block = edit.document()->begin(); block.isValid(); block = block.next()) {
        for (const auto &range : block.layout()->formats()) {
            if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                result << block.text().mid(range.start, range.length);
        }
    }
    return result;
}

QTEST_MAIN(tst_ZTextEdit)
#include "tst_ztextedit.moc"
