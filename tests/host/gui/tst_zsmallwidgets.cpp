// Small widgets whose rules the module relies on: rating bounds (ratings are
// read from editable settings), the filter field's hint never becoming text,
// and the tab bar rule.

#include "zratinglabel.h"
#include "zsearchfield.h"
#include "ztabwidget.h"

#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

using namespace zubrel;

class tst_ZSmallWidgets : public QObject
{
    Q_OBJECT

private slots:
    void ratingClick()
    {
        ZRatingLabel label;
        // Ratings come from editable settings: kept within 0..5.
        label.setRating(-3);
        QCOMPARE(label.rating(), 0);
        label.setRating(42);
        QCOMPARE(label.rating(), 5);
        label.setRating(0);
        label.setFixedSize(56, 12);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QSignalSpy changed(&label, &ZRatingLabel::ratingChanged);
        QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(55, 6));
        QCOMPARE(label.rating(), 5);
        QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(25, 6));
        QCOMPARE(label.rating(), 3);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1).at(0).toInt(), 3);
        // Same value again: no signal.
        QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(25, 6));
        QCOMPARE(changed.count(), 2);

        label.setReadOnly(true);
        QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(1, 6));
        QCOMPARE(label.rating(), 3);
    }

    void searchFieldDefaultText()
    {
        ZSearchField field;
        QSignalSpy changed(&field, &QLineEdit::textChanged);
        field.setDefaultText(QStringLiteral("Filter Contacts"));
        QCOMPARE(field.defaultText(), QStringLiteral("Filter Contacts"));
        QVERIFY(field.text().isEmpty());
        QCOMPARE(changed.count(), 0);

        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        QTest::keyClicks(&field, "ann");
        QCOMPARE(field.text(), QStringLiteral("ann"));
        QTest::keyClick(&field, Qt::Key_Escape);
        QVERIFY(field.text().isEmpty());
        QCOMPARE(field.defaultText(), QStringLiteral("Filter Contacts"));
    }

    void tabBarRule()
    {
        ZTabWidget tabs;
        tabs.show();
        tabs.addTab(new QWidget, QStringLiteral("one"));
        tabs.enableTabBar(false);
        QVERIFY(tabs.tabBar()->isHidden());
        tabs.addTab(new QWidget, QStringLiteral("two"));
        QVERIFY(!tabs.tabBar()->isHidden());
        tabs.removeTab(1);
        QVERIFY(tabs.tabBar()->isHidden());
        tabs.enableTabBar(true);
        QVERIFY(!tabs.tabBar()->isHidden());
    }
};

QTEST_MAIN(tst_ZSmallWidgets)
#include "tst_zsmallwidgets.moc"
