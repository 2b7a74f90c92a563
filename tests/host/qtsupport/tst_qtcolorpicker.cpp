// The colour picker: the standard palette in its order with its names, and
// colorChanged only for real changes, from code and from the popup grid.

#include "qtcolorpicker.h"

#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

class tst_QtColorPicker : public QObject
{
    Q_OBJECT

private slots:
    void standardColors()
    {
        QtColorPicker picker(nullptr, -1, true);
        QSignalSpy spy(&picker, &QtColorPicker::colorChanged);
        picker.setStandardColors();
        const QList<QColor> expected{Qt::black, Qt::white, Qt::red, Qt::darkRed, Qt::green,
                                     Qt::darkGreen, Qt::blue, Qt::darkBlue, Qt::cyan, Qt::darkCyan,
                                     Qt::magenta, Qt::darkMagenta, Qt::yellow, Qt::darkYellow,
                                     Qt::gray, Qt::darkGray, Qt::lightGray};
        QCOMPARE(picker.colorCount(), 17);
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(picker.color(i), expected.at(i));
        QCOMPARE(picker.colorName(0), QString("Black"));
        QCOMPARE(picker.colorName(3), QString("Dark red"));
        QCOMPARE(picker.colorName(16), QString("Light gray"));
        // The first colour is the starting choice, which is not a change.
        QCOMPARE(picker.currentColor(), QColor(Qt::black));
        QCOMPARE(spy.count(), 0);

        // Calling it again does not double the palette.
        picker.setStandardColors();
        QCOMPARE(picker.colorCount(), 17);
    }

    void colorChangedOnlyOnChange()
    {
        QtColorPicker picker;
        picker.setStandardColors();
        QSignalSpy spy(&picker, &QtColorPicker::colorChanged);
        picker.setCurrentColor(Qt::red);
        picker.setCurrentColor(QColor(255, 0, 0));
        picker.setCurrentColor(QColor());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QColor>(), QColor(Qt::red));
        QCOMPARE(picker.currentColor(), QColor(Qt::red));
    }

    void unknownColor()
    {
        QtColorPicker withDialog(nullptr, -1, true);
        withDialog.setStandardColors();
        withDialog.setCurrentColor(QColor(1, 2, 3));
        QCOMPARE(withDialog.currentColor(), QColor(1, 2, 3));
        QCOMPARE(withDialog.colorCount(), 18);
        QCOMPARE(withDialog.colorName(17), QString("Custom"));

        // Without the dialog only the grid's colours can be chosen.
        QtColorPicker gridOnly(nullptr, 4, false);
        gridOnly.setStandardColors();
        QSignalSpy spy(&gridOnly, &QtColorPicker::colorChanged);
        gridOnly.setCurrentColor(QColor(1, 2, 3));
        QCOMPARE(gridOnly.currentColor(), QColor(Qt::black));
        QCOMPARE(spy.count(), 0);
    }

    void popupPicks()
    {
        QtColorPicker picker(nullptr, 4, true);
        picker.setStandardColors();
        picker.show();
        QSignalSpy spy(&picker, &QtColorPicker::colorChanged);
        picker.click();
        QVERIFY(picker.popup());
        QVERIFY(picker.popup()->isVisible());
        const auto swatches = picker.popup()->findChildren<QToolButton *>();
        QCOMPARE(swatches.size(), 17);
        QToolButton *blue = picker.popup()->findChild<QToolButton *>("Blue");
        QVERIFY(blue);
        QCOMPARE(blue->toolTip(), QString("Blue"));
        blue->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(picker.currentColor(), QColor(Qt::blue));
        QTRY_VERIFY(!picker.popup());
    }

    void duplicatesRename()
    {
        QtColorPicker picker;
        picker.insertColor(Qt::red, "Red");
        picker.insertColor(QColor(255, 0, 0), "Crimson");
        picker.insertColor(Qt::blue, "Blue", 0);
        QCOMPARE(picker.colorCount(), 2);
        QCOMPARE(picker.colorName(0), QString("Blue"));
        QCOMPARE(picker.colorName(1), QString("Crimson"));
        QCOMPARE(picker.currentColor(), QColor(Qt::red));
    }
};

QTEST_MAIN(tst_QtColorPicker)
#include "tst_qtcolorpicker.moc"
