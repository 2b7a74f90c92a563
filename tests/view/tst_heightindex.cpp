// The view finds entries by offset through this index; a wrong running sum
// shows as entries drawn over each other or clicks landing on a neighbour,
// so it is checked against plain summing.

#include "heightindex.h"

#include <QRandomGenerator>
#include <QTest>

#include <numeric>
#include <vector>

using namespace zubrel;

class tst_HeightIndex : public QObject
{
    Q_OBJECT
private slots:
    void empty()
    {
        HeightIndex index;
        index.clear();
        QCOMPARE(index.count(), 0);
        QCOMPARE(index.total(), 0);
        QCOMPARE(index.indexAt(10), -1);
    }

    void matchesPlainSums()
    {
        QRandomGenerator random(7);
        HeightIndex index;
        index.clear();
        std::vector<int> plain;
        for (int round = 0; round < 3000; ++round) {
            if (plain.empty() || random.bounded(3) != 0) {
                const int h = random.bounded(1, 200);
                plain.push_back(h);
                index.append(h);
            } else {
                const int at = random.bounded(int(plain.size()));
                const int h = random.bounded(1, 200);
                plain[at] = h;
                index.set(at, h);
            }
            if (round % 97 == 0) {
                for (int i = 0; i <= int(plain.size()); ++i)
                    QCOMPARE(index.prefix(i), std::accumulate(plain.begin(), plain.begin() + i, 0));
            }
        }
        QCOMPARE(index.total(), std::accumulate(plain.begin(), plain.end(), 0));
        index.clear();
        QCOMPARE(index.total(), 0);
        index.append(5);
        QCOMPARE(index.prefix(1), 5);
    }

    void offsetsMapToCoveringEntry()
    {
        HeightIndex index;
        index.clear();
        for (int h : {10, 20, 5, 40, 1})
            index.append(h);
        // Entries cover [0,10) [10,30) [30,35) [35,75) [75,76).
        const QList<QPair<int, int>> cases = {{-5, 0}, {0, 0}, {9, 0}, {10, 1}, {29, 1}, {30, 2},
                                              {34, 2}, {35, 3}, {74, 3}, {75, 4}, {76, 4}, {500, 4}};
        for (const auto &[y, expected] : cases)
            QCOMPARE(index.indexAt(y), expected);
        index.set(1, 0); // an empty entry is never the one at an offset
        QCOMPARE(index.indexAt(10), 2);
    }
};

QTEST_GUILESS_MAIN(tst_HeightIndex)
#include "tst_heightindex.moc"
