// The emoticon picker family: sections, favourites grid, choosing an item,
// the menu lines, the add procedure through the scripted file dialog, the
// look-ups the chat tab uses, and the help balloon.
#include "zballoontip.h"
#include "zdir.h"
#include "zhostevents.h"
#include "zmenuitem.h"
#include "zmodalscript.h"
#include "zsettings.h"
#include "zsmiley.h"
#include "zsmileyarea.h"
#include "zsmileyareareal.h"
#include "zsmileyclass.h"
#include "zsmileyfavorites.h"
#include "zsmileyframe.h"
#include "zsmileypicker.h"

#include <QBuffer>
#include <QDir>
#include <QGridLayout>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

namespace {

QString addFavorite(int seed)
{
    QImage image(16 + seed % 8, 16, QImage::Format_ARGB32);
    image.fill(QColor(seed * 37 % 256, seed * 91 % 256, 120));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QString path = ZDir::smileysPath(true) + "/" + ZSmileyFavorites::checksumName(bytes) + ".png";
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

} // namespace

class tst_ZSmileyPicker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
        ZModalScript::instance()->setScripted(true);
        m_events = connect(ZHostEvents::instance(), &ZHostEvents::event, this,
                           [this](const QString &kind, const QVariantMap &fields) {
                               if (kind == QLatin1String("box"))
                                   m_boxes.append(fields.value(QStringLiteral("text")).toString());
                           });
    }

    void init()
    {
        QDir(ZDir::smileysPath(true)).removeRecursively();
        ZDir::smileysPath(true);
        ZModalScript::instance()->clear();
        m_boxes.clear();
    }

    void cleanup()
    {
        ZBalloonTip::hideBalloon();
    }

    void sectionsDefaultFirst()
    {
        ZSmileyPicker picker;
        ZSmileyArea *area = picker.popup()->area();
        const QList<ZSmileyFrame *> frames = area->frames();
        QVERIFY(frames.size() >= 3);
        QCOMPARE(frames.first(), area->defaultFrame());
        QCOMPARE(frames.first()->theme(), QStringLiteral("default"));
        QCOMPARE(frames.last(), area->favoritesFrame());
        QCOMPARE(area->favoritesFrame()->header()->text(), QStringLiteral("No Name"));
        QVERIFY(area->defaultFrame()->items().size() >= 40);
        // Ten to a row.
        QGridLayout *grid = area->defaultFrame()->grid();
        int row = -1, column = -1, span = 0;
        grid->getItemPosition(grid->indexOf(area->defaultFrame()->items().at(10)), &row, &column, &span, &span);
        QCOMPARE(row, 1);
        QCOMPARE(column, 0);
    }

    void texts()
    {
        ZSmileyPicker picker;
        QVERIFY(picker.isCheckable());
        QCOMPARE(picker.popup()->moreItem()->text(), QStringLiteral("Add an Emoticon... (F9)"));
        QCOMPARE(picker.popup()->setupItem()->text(), QStringLiteral("Setup Smileys"));
        QVERIFY(!picker.popup()->setupSmileys());
        ZSmiley *item = picker.popup()->area()->defaultFrame()->items().first();
        QVERIFY(!item->toolTipHeader().isEmpty());
        QVERIFY(!item->pixmap().isNull());
    }

    void lookupsFromDefaultTheme()
    {
        ZSmileyPicker picker;
        QCOMPARE(picker.smileyImage(QStringLiteral(":-)")), QStringLiteral(":/smileys/default/smile.png"));
        QCOMPARE(picker.smileyImage(QStringLiteral(":)")), picker.smileyImage(QStringLiteral(":-)")));
        QVERIFY(picker.smileyImage(QStringLiteral("(cat)")).isNull()); // second theme only
        QVERIFY(picker.smileyImage(QStringLiteral("nothing")).isNull());
        QCOMPARE(picker.smileySound(QStringLiteral(":/smileys/default/kiss.png")), QStringLiteral("kiss.wav"));
        QVERIFY(picker.smileySound(QStringLiteral(":/smileys/default/smile.png")).isNull());
        QCOMPARE(picker.smileyMap().value(QStringLiteral(";-)")), QStringLiteral(":/smileys/default/wink.gif"));
        // Answered without building the popup.
        QVERIFY(!picker.findChild<ZSmileyAreaReal *>());
    }

    void choosingItemEmitsPicture()
    {
        ZSmileyPicker picker;
        QSignalSpy chosen(&picker, &ZSmileyPicker::smiley);
        picker.setChecked(true);
        picker.slotSmileys();
        QVERIFY(picker.popup()->isVisible());
        ZSmiley *item = picker.popup()->area()->defaultFrame()->items().at(3);
        QTest::mouseClick(item, Qt::LeftButton);
        QVERIFY(chosen.wait(1000));
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toString(), item->res());
        QVERIFY(!picker.popup()->isVisible());
        QVERIFY(!picker.isChecked());
    }

    void moreLineRunsAddProcedure()
    {
        QImage image(30, 30, QImage::Format_ARGB32);
        image.fill(Qt::red);
        const QString file = m_pictures.path() + "/Mine.PNG";
        QVERIFY(image.save(file, "PNG"));
        ZModalScript::instance()->queue(QStringLiteral("file"), file);
        ZSmileyPicker picker;
        QSignalSpy chosen(&picker, &ZSmileyPicker::smiley);
        emit picker.popup()->moreItem()->clicked();
        QVERIFY(chosen.wait(1000));
        const QString stored = chosen.first().first().toString();
        QVERIFY(stored.startsWith(ZDir::smileysPath(false)));
        QVERIFY(ZSmileyFavorites::isAccepted(stored));
        QCOMPARE(ZSettings::instance()->get(QStringLiteral("extra_smiley_path"), QString(), QStringLiteral("zchat")).toString(),
                 m_pictures.path());
        // Shown among the favourites the next time the popup opens.
        picker.setChecked(true);
        picker.slotSmileys();
        QCOMPARE(picker.popup()->area()->favoritesFrame()->items().size(), 1);
        QCOMPARE(picker.popup()->area()->favoritesFrame()->header()->text(), QStringLiteral("My Emoticons"));
    }

    void addSmileyCancelled()
    {
        ZSmileyPicker picker;
        QSignalSpy chosen(&picker, &ZSmileyPicker::smiley);
        picker.addSmiley(); // scripted run without an answer: cancelled
        QCOMPARE(chosen.count(), 0);
        QVERIFY(m_boxes.isEmpty());
        QVERIFY(!picker.popup()->isVisible());
    }

    void addSmileyRefusedShowsBox()
    {
        const QString file = m_pictures.path() + "/broken.png";
        QFile broken(file);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("no picture at all");
        broken.close();
        ZModalScript::instance()->queue(QStringLiteral("file"), file);
        ZSmileyPicker picker;
        QSignalSpy chosen(&picker, &ZSmileyPicker::smiley);
        picker.addSmiley();
        QCOMPARE(chosen.count(), 0);
        QCOMPARE(m_boxes.size(), 1);
        QVERIFY(QDir(ZDir::smileysPath(true)).isEmpty());
    }

    void favoritesGrid_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lastRow");
        QTest::addColumn<int>("lastColumn");
        QTest::addColumn<bool>("spacer");
        QTest::newRow("three") << 3 << 0 << 2 << true;
        QTest::newRow("eleven") << 11 << 1 << 0 << false;
    }
    void favoritesGrid()
    {
        QFETCH(int, count);
        QFETCH(int, lastRow);
        QFETCH(int, lastColumn);
        QFETCH(bool, spacer);
        for (int i = 0; i < count; ++i)
            addFavorite(i);
        ZSmileyPicker picker;
        picker.setChecked(true);
        picker.slotSmileys();
        picker.slotSmileys(); // a second opening rebuilds, it does not add twice
        ZSmileyFrame *frame = picker.popup()->area()->favoritesFrame();
        QCOMPARE(frame->items().size(), count);
        QGridLayout *grid = frame->grid();
        int row = -1, column = -1, span = 0;
        grid->getItemPosition(grid->indexOf(frame->items().last()), &row, &column, &span, &span);
        QCOMPARE(row, lastRow);
        QCOMPARE(column, lastColumn);
        QCOMPARE(frame->spacer() != nullptr, spacer);
        if (spacer) {
            grid->getItemPosition(grid->indexOf(frame->spacer()), &row, &column, &span, &span);
            QCOMPARE(row, 0);
            QCOMPARE(column, count);
        }
        for (ZSmiley *item : frame->items())
            QVERIFY(item->toolTipHeader().isEmpty());
    }

    void vanishedFavoriteSkipped()
    {
        const QString a = addFavorite(1);
        addFavorite(2);
        ZSmileyPicker picker;
        picker.setChecked(true);
        picker.slotSmileys();
        QCOMPARE(picker.popup()->area()->favoritesFrame()->items().size(), 2);
        QFile::remove(a);
        picker.slotSmileys();
        QCOMPARE(picker.popup()->area()->favoritesFrame()->items().size(), 1);
    }

    void favoritesDisabled()
    {
        addFavorite(1);
        ZSmileyPicker picker;
        picker.setFavoritesEnabled(false);
        picker.setChecked(true);
        picker.slotSmileys();
        QVERIFY(!picker.popup()->area()->favoritesFrame()->isVisible());
        QVERIFY(!picker.popup()->moreItem()->isVisible());
        QVERIFY(!picker.popup()->moreSmileys());
        picker.setFavoritesEnabled(true);
        QVERIFY(picker.popup()->area()->favoritesFrame()->isVisible());
    }

    void headerFoldsSection()
    {
        ZSmileyPicker picker;
        picker.setChecked(true);
        picker.slotSmileys();
        ZSmileyFrame *frame = picker.popup()->area()->defaultFrame();
        QVERIFY(frame->header()->isOpen());
        QTest::mousePress(frame->header(), Qt::LeftButton);
        QVERIFY(!frame->header()->isOpen());
        QTRY_VERIFY(frame->container()->isHidden());
        QTest::mousePress(frame->header(), Qt::LeftButton);
        QVERIFY(frame->header()->isOpen());
        QTRY_VERIFY(!frame->container()->isHidden());
    }

    void balloonAfterDelay()
    {
        ZSmileyPicker picker;
        picker.setChecked(true);
        picker.slotSmileys();
        ZSmiley *item = picker.popup()->area()->defaultFrame()->items().first();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), item->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(item, &enter);
        QVERIFY(item->isMouseInside());
        QVERIFY(!ZBalloonTip::isActive());
        QTRY_VERIFY_WITH_TIMEOUT(ZBalloonTip::isActive(), 3000);
        QCOMPARE(ZBalloonTip::current()->title(), item->toolTipHeader());
        QCOMPARE(ZBalloonTip::current()->text(), item->toolTip());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(item, &leave);
        QVERIFY(!ZBalloonTip::isActive());
    }

    void removeFavorite()
    {
        const QString path = addFavorite(4);
        ZSmileyPicker picker;
        picker.setChecked(true);
        picker.slotSmileys();
        ZSmiley *item = picker.popup()->area()->favoritesFrame()->items().first();
        QSignalSpy hid(item, &ZSmiley::hid);
        item->slotRemoveSmiley();
        QCOMPARE(hid.count(), 1);
        QVERIFY(!QFile::exists(path));
        QVERIFY(!picker.popup()->isVisible());
        // A theme item is never deleted.
        ZSmiley *themed = picker.popup()->area()->defaultFrame()->items().first();
        themed->slotRemoveSmiley();
        QVERIFY(QFile::exists(themed->res()));
    }

    void popupClosingUnchecksButton()
    {
        ZSmileyPicker picker;
        picker.setChecked(true);
        picker.slotSmileys();
        QVERIFY(picker.popup()->isVisible());
        picker.popup()->close();
        QVERIFY(!picker.isChecked());
        picker.slotSmileys(); // unchecked: stays closed
        QVERIFY(!picker.popup()->isVisible());
    }

private:
    QTemporaryDir m_profile;
    QTemporaryDir m_pictures;
    QStringList m_boxes;
    QMetaObject::Connection m_events;
};

QTEST_MAIN(tst_ZSmileyPicker)
#include "tst_zsmileypicker.moc"
