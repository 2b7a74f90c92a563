// Recording and playing push messages for real, through a private sound
// server whose null sink is also the microphone: a tone played into it must
// come out of the recorder's clip, and a received clip must be heard there.
#include "soundserver.h"
#include "zchatpushtoolbar.h"
#include "zchattab.h"
#include "zdir.h"
#include "zsettings.h"
#include "zsound.h"
#include "ztextedit.h"
#include "zwavwriter.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QToolButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>

using namespace zubrel;

namespace {

// Frequency of the loud part of a signal from the spacing of its zero
// crossings; gaps (silence, a drop-out) between crossings are left out.
double frequency(const QList<double> &samples, int rate, double *peak)
{
    *peak = 0;
    for (double s : samples)
        *peak = std::max(*peak, std::abs(s));
    qsizetype lastCrossing = -1, halfPeriods = 0, span = 0;
    int sign = 0;
    for (qsizetype i = 0; i < samples.size(); ++i) {
        const double s = samples.at(i);
        if (std::abs(s) < *peak * 0.3)
            continue;
        const int now = s > 0 ? 1 : -1;
        if (sign != 0 && now != sign) {
            if (lastCrossing >= 0 && i - lastCrossing < rate / 50) {
                ++halfPeriods;
                span += i - lastCrossing;
            }
            lastCrossing = i;
        }
        sign = now;
    }
    return span > 0 ? halfPeriods / 2.0 * rate / double(span) : 0;
}

QList<double> unsigned8(const QByteArray &data)
{
    QList<double> out;
    for (char c : data)
        out.append((int(uchar(c)) - 128) / 128.0);
    return out;
}

QList<double> signed16(const QByteArray &data)
{
    QList<double> out;
    for (qsizetype i = 0; i + 1 < data.size(); i += 2)
        out.append(qFromLittleEndian<qint16>(data.constData() + i) / 32768.0);
    return out;
}

} // namespace

class tst_PushRecording : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
        // Typewriter clicks would land in the recording.
        ZSettings::instance()->set("sound", false, "zchat");
        QString error;
        // Before any audio device is looked at: the back end connects once.
        if (!m_server.start(&error))
            QFAIL(qPrintable("no sound server: " + error));
        QVERIFY(ZSound::instance()->canRecord());
    }

    void init()
    {
        m_server.stopPlaying();
        QDir(ZDir::pushMessagesTempPath(true)).removeRecursively();
    }

    void levelPictures_data()
    {
        QTest::addColumn<int>("pegel");
        QTest::addColumn<int>("picture");
        const QList<QPair<int, int>> table{{0, 0}, {1, 0}, {2, 1}, {16, 1}, {17, 2}, {33, 2}, {34, 3}, {49, 3},
                                           {50, 4}, {66, 4}, {67, 5}, {83, 5}, {84, 6}, {98, 6}, {99, 7},
                                           {100, 7}, {-1, 3}};
        for (const auto &[pegel, picture] : table)
            QTest::addRow("%d", pegel) << pegel << picture;
    }
    void levelPictures()
    {
        QFETCH(int, pegel);
        QFETCH(int, picture);
        ZChatPushToolBar bar;
        bar.slotPegel(40); // level 3 before: a value that is no level leaves it
        bar.slotPegel(pegel);
        QCOMPARE(bar.levelIndex(), picture);
        QVERIFY(!bar.unavailableLabel()->isVisibleTo(&bar));
    }

    void recordsToneAndKeepsTyping()
    {
        ZChatTab tab;
        tab.resize(700, 500);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        QSignalSpy sent(&tab, &ZChatTab::sendPushMessage);
        QVERIFY(m_server.play(SoundServer::tone(440, 6000)));
        QTest::keyClick(tab.input, Qt::Key_F2);
        QTRY_VERIFY(tab.isRecorderShown());
        QVERIFY(tab.pushMessageButton()->isChecked());
        QVERIFY(ZSound::instance()->isRecording());
        // Typing while the recorder holds the keyboard still reaches the input.
        QTest::keyClicks(tab.pushToolBar(), "hi");
        QCOMPARE(tab.input->toPlainText(), QStringLiteral("hi"));
        QTRY_VERIFY_WITH_TIMEOUT(ZSound::instance()->capturedBytes() > 16000, 15000);
        tab.pushToolBar()->stopAction()->trigger();
        QTRY_COMPARE(sent.size(), 1);
        const QString clip = sent.at(0).at(0).toString();
        QCOMPARE(clip, ZDir::pushMessagesTempPath(true) + "/pushmsg100.wav");
        QFile file(clip);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.left(ZWavWriter::headerSize).mid(20, 16), ZWavWriter::header(8000, 1, 8, 0).mid(20, 16));
        double peak = 0;
        const double hz = frequency(unsigned8(bytes.mid(ZWavWriter::headerSize)), 8000, &peak);
        QVERIFY2(peak > 0.2, qPrintable(QString::number(peak)));
        QVERIFY2(std::abs(hz - 440) < 440 * 0.03, qPrintable(QString::number(hz)));
        QCOMPARE(tab.input->toPlainText(), QStringLiteral("hi"));
        QTRY_VERIFY(tab.recorderToolBar()->isHidden());
        QVERIFY(!ZSound::instance()->isRecording());
    }

    void abortSendsNothing()
    {
        ZChatTab tab;
        tab.resize(700, 500);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        QSignalSpy sent(&tab, &ZChatTab::sendPushMessage);
        QSignalSpy hid(tab.pushToolBar(), &ZChatPushToolBar::hid);
        for (const bool escape : {true, false}) {
            QTest::keyClick(tab.input, Qt::Key_F2);
            QTRY_VERIFY(tab.isRecorderShown());
            QVERIFY(ZSound::instance()->isRecording());
            if (escape)
                QTest::keyClick(tab.pushToolBar(), Qt::Key_Escape);
            else
                tab.pushToolBar()->abortAction()->trigger();
            QTRY_VERIFY(!tab.isRecorderShown());
            QVERIFY(!ZSound::instance()->isRecording());
            QTRY_VERIFY(tab.recorderToolBar()->isHidden());
        }
        QCOMPARE(hid.size(), 2);
        QCOMPARE(sent.size(), 0);
        QVERIFY(QDir(ZDir::pushMessagesTempPath(true)).isEmpty());
    }

    void savesOnTheTwentySixthTick()
    {
        ZChatPushToolBar bar;
        QSignalSpy sent(&bar, &ZChatPushToolBar::sendPushMessage);
        QSignalSpy hid(&bar, &ZChatPushToolBar::hid);
        bar.startRecording();
        QTRY_VERIFY_WITH_TIMEOUT(ZSound::instance()->capturedBytes() > 800, 15000);
        // The bar's own timer ticked while the capture started.
        for (int tick = bar.progress() / ZChatPushToolBar::stepPerTick + 1; tick <= 25; ++tick)
            bar.slotRecord();
        QCOMPARE(bar.progress(), 100);
        QCOMPARE(sent.size(), 0);
        bar.slotRecord();
        QCOMPARE(sent.size(), 1);
        QCOMPARE(hid.size(), 1);
        QVERIFY(!bar.isRunning());
        // The next clip takes the next number; a late stop sends nothing more.
        bar.slotEmitStop();
        QCOMPARE(sent.size(), 1);
        bar.startRecording();
        QTRY_VERIFY_WITH_TIMEOUT(ZSound::instance()->capturedBytes() > 800, 15000);
        bar.slotEmitStop();
        QCOMPARE(sent.size(), 2);
        QCOMPARE(QFileInfo(sent.at(1).at(0).toString()).fileName(), QStringLiteral("pushmsg101.wav"));
    }

    void receivedClipIsHeard()
    {
        QTemporaryDir dir;
        const QString clip = dir.filePath("received.wav");
        ZWavWriter writer;
        QVERIFY(writer.open(clip, 8000, 1, 8));
        QByteArray samples;
        for (double s : signed16(SoundServer::tone(660, 3000)))
            samples.append(char(qBound(0, int(std::lround(s * 127 + 128)), 255)));
        writer.write(samples);
        QVERIFY(writer.close());
        ZSettings::instance()->set("sound", true, "zchat");
        ZChatTab tab;
        tab.appendReceivedPushMessage(clip);
        double peak = 0;
        const QByteArray heard = m_server.listen(3000);
        const double hz = frequency(signed16(heard), SoundServer::sampleRate, &peak);
        QVERIFY2(peak > 0.2, qPrintable(QStringLiteral("peak %1 of %2 bytes").arg(peak).arg(heard.size())));
        QVERIFY2(std::abs(hz - 660) < 660 * 0.03, qPrintable(QString::number(hz)));
    }

private:
    QTemporaryDir m_profile;
    SoundServer m_server;
};

QTEST_MAIN(tst_PushRecording)
#include "tst_pushrecording.moc"
