#include "zdatetime.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace zubrel;

class tst_ZDateTime : public QObject
{
    Q_OBJECT
private slots:
    void fromWinTime_data()
    {
        QTest::addColumn<double>("winTime");
        QTest::addColumn<QDateTime>("expected");
        const auto utc = [](int y, int mo, int d, int h, int mi, int s, int ms) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
        };
        QTest::newRow("epoch") << 0.0 << utc(1899, 12, 30, 0, 0, 0, 0);
        QTest::newRow("noon 2023-03-15") << 45000.5 << utc(2023, 3, 15, 12, 0, 0, 0);
        QTest::newRow("one day") << 1.0 << utc(1899, 12, 31, 0, 0, 0, 0);
        QTest::newRow("one second") << 45000.0 + 1.0 / 86400 << utc(2023, 3, 15, 0, 0, 1, 0);
        QTest::newRow("one millisecond") << 45000.0 + 1.0 / 86400000 << utc(2023, 3, 15, 0, 0, 0, 1);
        QTest::newRow("last millisecond") << 45000.0 + 86399999.0 / 86400000 << utc(2023, 3, 15, 23, 59, 59, 999);
        QTest::newRow("rounds up to midnight") << 2.9999999999 << utc(1900, 1, 2, 0, 0, 0, 0);
        // Before the epoch the fraction still counts forward from midnight.
        QTest::newRow("negative quarter") << -1.25 << utc(1899, 12, 29, 6, 0, 0, 0);
        QTest::newRow("negative half") << -0.5 << utc(1899, 12, 30, 12, 0, 0, 0);
        QTest::newRow("negative whole") << -2.0 << utc(1899, 12, 28, 0, 0, 0, 0);
        QTest::newRow("year 100") << -657434.0 << utc(100, 1, 1, 0, 0, 0, 0);
        QTest::newRow("year 9999") << 2958465.75 << utc(9999, 12, 31, 18, 0, 0, 0);
    }
    void fromWinTime()
    {
        QFETCH(double, winTime);
        QFETCH(QDateTime, expected);
        const QDateTime result = ZDateTime::fromWinTime(winTime);
        QCOMPARE(result.date(), expected.date());
        QCOMPARE(result.time(), expected.time());
        // Marking the result as UTC must not move its fields.
        QDateTime marked = result;
        marked.setTimeSpec(Qt::UTC);
        QCOMPARE(marked, expected);
    }

    void invalidInput_data()
    {
        QTest::addColumn<double>("winTime");
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("+inf") << std::numeric_limits<double>::infinity();
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
        QTest::newRow("huge") << 1e300;
        QTest::newRow("tiny") << -1e300;
        QTest::newRow("after 9999") << 2958466.0;
        QTest::newRow("before 100") << -657436.0;
    }
    void invalidInput()
    {
        QFETCH(double, winTime);
        QVERIFY(!ZDateTime::fromWinTime(winTime).isValid());
    }

    void roundTrip_data()
    {
        QTest::addColumn<QDateTime>("dateTime");
        QTest::newRow("modern") << QDateTime(QDate(2023, 3, 15), QTime(12, 34, 56, 789), Qt::UTC);
        QTest::newRow("epoch") << QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
        QTest::newRow("before epoch") << QDateTime(QDate(1850, 7, 1), QTime(23, 59, 59, 999), Qt::UTC);
        QTest::newRow("day before epoch") << QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC);
        QTest::newRow("leap day") << QDateTime(QDate(2000, 2, 29), QTime(0, 0, 0, 1), Qt::UTC);
    }
    void roundTrip()
    {
        QFETCH(QDateTime, dateTime);
        QCOMPARE(ZDateTime::fromWinTime(ZDateTime::toWinTime(dateTime)), dateTime);
    }

    void invalidDateIsNaN()
    {
        QVERIFY(std::isnan(ZDateTime::toWinTime(QDateTime())));
        QCOMPARE(ZDateTime::toWinTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC)), -1.25);
    }
};

QTEST_GUILESS_MAIN(tst_ZDateTime)
#include "tst_zdatetime.moc"
