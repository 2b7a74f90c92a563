#include "zhostevents.h"
#include "zsound.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

// The build machines have no audio devices: these tests pin down that every
// call stays harmless there and still tells the trace what was asked for.
class tst_ZSound : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_hasOutput = !QMediaDevices::audioOutputs().isEmpty();
        m_hasInput = !QMediaDevices::audioInputs().isEmpty();
    }

    void playReports()
    {
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        const QString path = m_dir.filePath("does-not-exist.wav");
        ZSound::instance()->play(path);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events.at(0).at(0).toString(), QStringLiteral("sound"));
        QCOMPARE(events.at(0).at(1).toMap(), QVariantMap({{"op", "play"}, {"path", path}}));
        ZSound::instance()->play(QString());
        QCOMPARE(lastSound(events), QVariantMap({{"op", "play"}, {"path", QString()}}));
    }

    void recordWithoutInputIsNoOp()
    {
        if (m_hasInput)
            QSKIP("this machine has an audio input");
        ZSound *sound = ZSound::instance();
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        QSignalSpy finished(sound, &ZSound::recordingFinished);
        const QString path = m_dir.filePath("pushmsg1.wav");
        sound->setDevice(0);
        sound->setChannels(1);
        sound->setSampleRate(8000);
        sound->setRecordTime(10000);
        sound->setBits(8);
        sound->record();
        QCOMPARE(lastSound(events), QVariantMap({{"op", "record"}, {"path", QString()}}));
        QVERIFY(!sound->isRecording());
        QVERIFY(!sound->canRecord());
        QCOMPARE(sound->level(), 0);
        sound->stop();
        // Nothing was captured: no half-made file for the recorder to send.
        QVERIFY(!sound->createFile(path));
        QCOMPARE(lastSound(events), QVariantMap({{"op", "save"}, {"path", path}}));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(finished.size(), 0);
    }

    void stopReportsFilePath()
    {
        ZSound *sound = ZSound::instance();
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        QSignalSpy finished(sound, &ZSound::recordingFinished);
        sound->stop();
        sound->stop(); // stopping twice is harmless
        QCOMPARE(events.size(), 2);
        QCOMPARE(lastSound(events), QVariantMap({{"op", "stop"}, {"path", QString()}}));
        // Nothing was recording, so nothing finished.
        QCOMPARE(finished.size(), 0);
        QVERIFY(!sound->isRecording());
    }

    void badFormatValuesAreSafe()
    {
        ZSound *sound = ZSound::instance();
        sound->setDevice(-3);
        sound->setDevice(1000);
        sound->setBits(13);
        sound->setChannels(0);
        sound->setSampleRate(-1);
        sound->setRecordTime(-100);
        sound->record();
        sound->stop();
        QVERIFY(!sound->createFile(m_dir.filePath("pushmsg3.wav")) || sound->canRecord());
        QVERIFY(!sound->isRecording());
        sound->setDevice(0);
    }

private:
    static QVariantMap lastSound(const QSignalSpy &spy);
    QTemporaryDir m_dir;
    bool m_hasOutput = false;
    bool m_hasInput = false;
};

QVariantMap tst_ZSound::lastSound(const QSignalSpy &spy)
{
    for (qsizetype i = spy.size() - 1; i >= 0; --i) {
        if (spy.at(i).at(0).toString() == QLatin1String("sound"))
            return spy.at(i).at(1).toMap();
    }
    return {};
}

QTEST_GUILESS_MAIN(tst_ZSound)
#include "tst_zsound.moc"
