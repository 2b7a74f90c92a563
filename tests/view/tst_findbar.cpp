// The find bar over a message view: finding as typed, stepping and wrapping
// through matches, closing, and the whole-history list with a history that
// can or cannot search.

#include "findbar.h"
#include "zmessageview.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace zubrel;

namespace {

const QDateTime t0(QDate(2024, 3, 7), QTime(14, 0, 0));

class FakeHistory : public QObject, public HistorySearchSource
{
public:
    bool searchable = true;
    QList<HistoryHit> hits;
    QStringList asked;
    int revealAs = -1;
    QList<qint64> revealed;

    bool canSearchHistory() const override { return searchable; }
    QList<HistoryHit> searchHistory(const QString &text) override
    {
        asked << text;
        return hits;
    }
    int revealHit(const HistoryHit &hit) override
    {
        revealed << hit.id;
        return revealAs;
    }
};

} // namespace

class tst_FindBar : public QObject
{
    Q_OBJECT

private:
    ZMessageView *view = nullptr;
    FindBar *bar = nullptr;
    QWidget *window = nullptr;

private slots:
    void init()
    {
        window = new QWidget;
        view = new ZMessageView(window);
        view->resize(400, 200);
        bar = new FindBar(view, window);
        const QStringList bodies{"apple one", "pear", "Apple <b>two</b> and apple three", "plum", "apple four"};
        for (int i = 0; i < bodies.size(); ++i)
            view->appendLog(bodies.at(i), QStringLiteral("Anna"), QString::number(i % 2), t0.addSecs(i));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() { delete window; }

    void stepsThroughMatchesNewestFirst()
    {
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar->isVisible());
        QVERIFY(bar->field()->hasFocus());
        QTest::keyClicks(bar->field(), "APPLE");
        // Typing finds the newest; Enter goes older, Shift+Enter newer, and
        // both wrap around.
        QCOMPARE(view->selectedText(), QString("apple"));
        QCOMPARE(view->entryAt(view->entryRect(4).center()), 4);
        const QList<int> olderEntries{2, 2, 0, 4};
        for (int expected : olderEntries) {
            QTest::keyClick(bar->field(), Qt::Key_Return);
            QVERIFY(view->hasSelection());
            QCOMPARE(view->selectedText().toLower(), QString("apple"));
            QCOMPARE(view->entryAt(view->entryRect(expected).center()), expected);
        }
        QTest::keyClick(bar->field(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClick(bar->field(), Qt::Key_Return, Qt::ShiftModifier);
        // Newer from the first entry: the second entry's match, the "Apple"
        // before "apple three".
        QCOMPARE(view->selectedText(), QString("Apple"));
        QTest::keyClicks(bar->field(), "zzz");
        QVERIFY(!bar->status().isEmpty());
        QTest::keyClick(bar->field(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QVERIFY(!view->hasSelection());
    }

    void wholeHistoryNeedsAHistoryThatSearches()
    {
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(bar->field(), "apple");
        QVERIFY(!bar->wholeHistoryButton()->isEnabled()); // no history at all
        FakeHistory history;
        history.searchable = false;
        bar->setHistorySource(&history, &history);
        QVERIFY(!bar->wholeHistoryButton()->isEnabled());
        history.searchable = true;
        bar->setHistorySource(&history, &history);
        QVERIFY(bar->wholeHistoryButton()->isEnabled());

        history.hits = {{41, t0, "Anna", "an old apple pie"}, {7, t0.addDays(-400), "Me", "apple two"}};
        history.revealAs = 2;
        QTest::mouseClick(bar->wholeHistoryButton(), Qt::LeftButton);
        QCOMPARE(history.asked, QStringList{"apple"});
        QCOMPARE(bar->results()->count(), 2);
        const QString row = bar->results()->item(1)->text();
        QVERIFY2(row.contains("Me: apple two") && row.contains(QLocale().toString(t0.addDays(-400),
                                                                                 QLocale::ShortFormat)),
                 qPrintable(row));
        // Choosing a row shows its record with the word selected.
        bar->results()->setFocus();
        bar->results()->setCurrentRow(1);
        QTest::keyClick(bar->results(), Qt::Key_Return);
        QCOMPARE(history.revealed, QList<qint64>{7});
        QCOMPARE(view->selectedText(), QString("Apple"));
        // A record that cannot be shown says so instead of jumping anywhere.
        history.revealAs = -1;
        bar->results()->setCurrentRow(0);
        QTest::keyClick(bar->results(), Qt::Key_Return);
        QVERIFY(!bar->status().isEmpty());
    }

    void historyClosedUnderTheBarIsNotCalled()
    {
        auto *history = new FakeHistory;
        bar->setHistorySource(history, history);
        delete history;
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(bar->field(), "apple");
        QVERIFY(!bar->wholeHistoryButton()->isEnabled());
        bar->searchWholeHistory();
        QCOMPARE(bar->results()->count(), 0);
    }

    void chosenMatchIsNotHiddenUnderTheBar()
    {
        view->resize(400, 420);
        for (int i = 0; i < 80; ++i)
            view->appendLog(QStringLiteral("entry %1 about a pear").arg(i), QStringLiteral("Anna"),
                            QStringLiteral("0"), t0.addSecs(10 + i));
        const int target = 20;
        FakeHistory history;
        history.hits = {{1, t0, "Anna", "entry 20 about a pear"}, {2, t0, "Anna", "entry 19 about a pear"},
                        {3, t0, "Anna", "entry 18 about a pear"}};
        history.revealAs = target + 5; // after the five entries of init()
        bar->setHistorySource(&history, &history);
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(bar->field(), "pear");
        QTest::mouseClick(bar->wholeHistoryButton(), Qt::LeftButton);
        QVERIFY(bar->results()->isVisible());
        const int covered = view->coveredTop();
        // The bar with its list hides the top half of the view or so.
        QCOMPARE(covered, bar->geometry().bottom() + 1 - view->viewport()->y());
        QVERIFY2(covered > 150 && covered < view->viewport()->height() - 60, qPrintable(QString::number(covered)));

        bar->results()->setFocus();
        bar->results()->setCurrentRow(0);
        QTest::keyClick(bar->results(), Qt::Key_Return);
        QCOMPARE(view->selectedText(), QString("pear"));
        // The chosen entry's line is in the part of the view the bar leaves
        // free, not under the list where nobody could see it.
        const QRect shown = view->entryRect(target + 5);
        QVERIFY2(shown.bottom() > covered + 10 && shown.top() < view->viewport()->height() - 10,
                 qPrintable(QStringLiteral("entry %1..%2, covered %3").arg(shown.top()).arg(shown.bottom()).arg(covered)));
        QVERIFY2(shown.top() >= covered - 40, qPrintable(QStringLiteral("entry at %1, covered %2").arg(shown.top()).arg(covered)));

        // Closed, the bar hides nothing any more: finding again from the
        // code places the match by the whole viewport.
        QTest::keyClick(bar->field(), Qt::Key_Escape);
        QCOMPARE(view->coveredTop(), 0);
        view->scrollToBottom();
        view->showInEntry(target + 5, QStringLiteral("pear"));
        QVERIFY(view->entryRect(target + 5).top() < covered - 40);
    }
};

QTEST_MAIN(tst_FindBar)
#include "tst_findbar.moc"
