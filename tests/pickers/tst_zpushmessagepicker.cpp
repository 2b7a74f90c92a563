// The push-message picker and the files behind it: numbering of new
// recordings, lengths from WAVE headers, saved push messages with their
// ratings, renaming and removing them, and what choosing an item sends.
#include "zdir.h"
#include "zmenuitem.h"
#include "zmodalscript.h"
#include "zpushmessage.h"
#include "zpushmessagearea.h"
#include "zpushmessageclass.h"
#include "zpushmessagefiles.h"
#include "zpushmessageframe.h"
#include "zpushmessagepicker.h"
#include "zratinglabel.h"
#include "zsettings.h"
#include "zwavwriter.h"

#include <QFile>
#include <QGridLayout>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

class tst_ZPushMessagePicker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
        ZModalScript::instance()->setScripted(true);
    }

    void init()
    {
        QDir(ZPushMessageFiles::folder()).removeRecursively();
        ZModalScript::instance()->clear();
    }

    void nextNumber_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<quint64>("next");
        QTest::newRow("empty") << QStringList() << quint64(100);
        QTest::newRow("100 and 107") << QStringList{"pushmsg100.wav", "pushmsg107.wav"} << quint64(108);
        QTest::newRow("99 and 100") << QStringList{"pushmsg100.wav", "pushmsg99.wav"} << quint64(101);
        QTest::newRow("999") << QStringList{"pushmsg999.wav"} << quint64(1000);
        // Sorted as text 999 comes last; the whole number must win.
        QTest::newRow("999 and 1000") << QStringList{"pushmsg1000.wav", "pushmsg999.wav"} << quint64(1001);
        QTest::newRow("gap") << QStringList{"pushmsg100.wav", "pushmsg5000.wav", "pushmsg101.wav"} << quint64(5001);
        QTest::newRow("others ignored") << QStringList{"pushmsgX.wav", "Pushmsg900.wav", "pushmsg900.WAV",
                                                       "pushmsg901.wav.bak", "pushmsg.wav", "pushmsg-902.wav"}
                                        << quint64(100);
    }
    void nextNumber()
    {
        QFETCH(QStringList, names);
        QFETCH(quint64, next);
        QCOMPARE(ZPushMessageFiles::nextNumber(names), next);
    }

    void nextPathSkipsExisting()
    {
        QTemporaryDir dir;
        for (const char *name : {"pushmsg0107.wav", "pushmsg108.wav"})
            QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
        QCOMPARE(ZPushMessageFiles::nextRecordingPath(dir.path()), dir.filePath("pushmsg109.wav"));
        QCOMPARE(ZPushMessageFiles::nextRecordingPath(dir.filePath("missing")), dir.filePath("missing/pushmsg100.wav"));
    }

    void length_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QString>("text");
        QTest::newRow("two seconds") << ZWavWriter::header(8000, 1, 8, 16000) << "00:00:02";
        QTest::newRow("just below two") << ZWavWriter::header(8000, 1, 8, 15999) << "00:00:01";
        QTest::newRow("one second") << ZWavWriter::header(8000, 1, 8, 8000) << "00:00:01";
        QTest::newRow("just below one") << ZWavWriter::header(8000, 1, 8, 7999) << "00:00:00";
        QTest::newRow("an hour and more") << ZWavWriter::header(8000, 1, 8, 8000 * 3725) << "01:02:05";
        QByteArray zeroRate = ZWavWriter::header(8000, 1, 8, 16000);
        zeroRate.replace(28, 4, QByteArray(4, '\0'));
        QTest::newRow("byte rate 0") << zeroRate << "00:00:00";
        QTest::newRow("short header") << ZWavWriter::header(8000, 1, 8, 16000).left(43) << "00:00:00";
        QTest::newRow("empty") << QByteArray() << "00:00:00";
    }
    void length()
    {
        QFETCH(QByteArray, header);
        QFETCH(QString, text);
        QTemporaryDir dir;
        QFile file(dir.filePath("clip.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(header);
        file.close();
        QCOMPARE(ZPushMessageFiles::lengthText(file.fileName()), text);
        ZPushMessage item;
        item.setRes(file.fileName());
        QCOMPARE(item.lengthText(), "Length: " + text);
        QCOMPARE(ZPushMessageFiles::lengthText(dir.filePath("missing.wav")), QStringLiteral("00:00:00"));
    }

    void renameAndRemove_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("renamed");
        QTest::newRow("plain") << "Hello" << true;
        QTest::newRow("taken") << "taken" << false;
        QTest::newRow("same") << "pushmsg100" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << "  " << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("up") << "../escape" << false;
        QTest::newRow("dots") << ".." << false;
    }
    void renameAndRemove()
    {
        QFETCH(QString, name);
        QFETCH(bool, renamed);
        const QString path = favorite("pushmsg100.wav");
        const QString taken = favorite("taken.wav", 2);
        ZPushMessageFiles::setRating("pushmsg100", 4);
        ZPushMessageFiles::setRating("taken", 2);
        // Through the item, as the user does: the dialog's answer is the name.
        ZPushMessage item;
        item.setRes(path);
        QSignalSpy hid(&item, &ZPushMessage::hid);
        ZModalScript::instance()->queue("input", name);
        item.slotRenamePushMessage();
        const QString target = ZPushMessageFiles::folder() + "/" + name + ".wav";
        QCOMPARE(QFile::exists(path), !renamed);
        QCOMPARE(QFile::exists(target), renamed || name == "taken" || name == "pushmsg100");
        QCOMPARE(ZPushMessageFiles::rating("pushmsg100"), renamed ? 0 : 4);
        if (renamed)
            QCOMPARE(ZPushMessageFiles::rating(name), 4);
        QCOMPARE(ZPushMessageFiles::rating("taken"), 2);
        QCOMPARE(QFileInfo(taken).size(), qint64(44 + 16000)); // never overwritten
        QVERIFY(!QFile::exists(m_profile.filePath("escape.wav")));

        // Removing acts only inside the favourites folder.
        QTemporaryDir outside;
        const QString stranger = outside.filePath("keep.wav");
        QFile(stranger).open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(stranger, ZPushMessageFiles::folder() + "/link.wav"));
        for (const QString &other : {stranger, ZPushMessageFiles::folder() + "/link.wav",
                                     ZPushMessageFiles::folder() + "/../" + QFileInfo(ZPushMessageFiles::folder()).fileName()
                                         + "/../settings.ini",
                                     QStringLiteral(":/pushmessages/default/fanfare.wav")})
            QVERIFY2(!ZPushMessageFiles::remove(other), qPrintable(other));
        QVERIFY(QFile::exists(stranger));
        QVERIFY(ZPushMessageFiles::remove(taken));
        QVERIFY(!QFile::exists(taken));
        QCOMPARE(ZPushMessageFiles::rating("taken"), 0);
    }

    void sectionsAndChoosing()
    {
        ZPushMessagePicker picker;
        ZPushMessageArea *area = picker.popup()->area();
        const QList<ZPushMessageFrame *> frames = area->frames();
        QVERIFY(frames.size() >= 2);
        QCOMPARE(frames.first(), area->defaultFrame());
        QCOMPARE(frames.last(), area->favoritesFrame());
        QCOMPARE(area->defaultFrame()->header()->text(), QStringLiteral("Push Messages - Zubrel"));
        QCOMPARE(picker.popup()->moreItem()->text(), QStringLiteral("Record Push Message (F2)"));
        QVERIFY(picker.popup()->morePushMessages());
        QVERIFY(!picker.popup()->setupPushMessages());

        const QList<ZPushMessage *> clips = area->defaultFrame()->items();
        QVERIFY(!clips.isEmpty());
        ZPushMessage *fanfare = clips.first();
        QCOMPARE(fanfare->res(), QStringLiteral(":/pushmessages/default/fanfare.wav"));
        QCOMPARE(fanfare->toolTip(), QStringLiteral("Fanfare"));
        QCOMPARE(fanfare->lengthText(), "Length: " + ZPushMessageFiles::lengthText(fanfare->res()));
        QVERIFY(QFile(fanfare->res()).size() > 1000); // the theme's resource file is registered
        QCOMPARE(fanfare->size(), QSize(126, 26));

        QSignalSpy sent(&picker, &ZPushMessagePicker::pushMessage);
        QSignalSpy record(&picker, &ZPushMessagePicker::record);
        picker.setChecked(true);
        picker.slotPushMessages();
        QVERIFY(QTest::qWaitForWindowExposed(picker.popup()));
        QTest::mouseClick(fanfare, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).at(0).toString(), fanfare->res());
        picker.slotPushMessageClicked("setup", "default");
        picker.slotPushMessageClicked("more", "default");
        QCOMPARE(record.size(), 1);
        QCOMPARE(sent.size(), 1);
    }

    void favoritesOnePerRow()
    {
        ZPushMessagePicker picker;
        ZPushMessageFrame *frame = picker.popup()->area()->favoritesFrame();
        frame->setTheme("favorites");
        QCOMPARE(frame->header()->text(), QStringLiteral("My Push Messages"));
        QVERIFY(frame->items().isEmpty());
        QVERIFY(frame->spacer());

        favorite("first.wav", 3);
        favorite("second.wav");
        QFile big(ZPushMessageFiles::folder() + "/big.wav");
        big.open(QIODevice::WriteOnly);
        big.write(QByteArray(99 * 1024, 'x')); // 99 KiB is over the limit
        big.close();
        ZPushMessageFiles::setRating("first", 3);
        frame->setTheme("favorites");
        QCOMPARE(frame->items().size(), 2);
        QVERIFY(!frame->spacer());
        for (ZPushMessage *item : frame->items()) {
            int row, column, rows, columns;
            frame->grid()->getItemPosition(frame->grid()->indexOf(item), &row, &column, &rows, &columns);
            QCOMPARE(column, 0);
            QCOMPARE(item->size(), QSize(176, 40));
            QCOMPARE(item->pixmap(), QStringLiteral(":/pushmessage-24"));
            if (item->nameText() == "first") {
                QCOMPARE(item->ratingLabel()->rating(), 3);
                QCOMPARE(item->lengthText(), QStringLiteral("Length: 00:00:03"));
                item->ratingLabel()->setRating(5);
                emit item->ratingLabel()->ratingChanged(5);
            }
        }
        QCOMPARE(ZSettings::instance()->get("first", 0, "pushmessage").toInt(), 5);
    }

private:
    QString favorite(const QString &name, int seconds = 1);
    QTemporaryDir m_profile;
};

QString tst_ZPushMessagePicker::favorite(const QString &name, int seconds)
{
    const QString path = ZPushMessageFiles::folder() + "/" + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(ZWavWriter::header(8000, 1, 8, quint32(8000 * seconds)) + QByteArray(8000 * seconds, '\x80'));
    return path;
}

QTEST_MAIN(tst_ZPushMessagePicker)
#include "tst_zpushmessagepicker.moc"
