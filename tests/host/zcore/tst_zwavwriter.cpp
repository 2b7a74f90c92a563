#include "zwavwriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

class tst_ZWavWriter : public QObject
{
    Q_OBJECT
private slots:
    void header_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("bits");
        QTest::addColumn<quint32>("dataSize");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("recorder default, empty")
            << 8000 << 1 << 8 << 0u
            << QByteArray::fromHex("52494646" "24000000" "57415645" "666d7420" "10000000"
                                   "0100" "0100" "401f0000" "401f0000" "0100" "0800"
                                   "64617461" "00000000");
        QTest::newRow("cd stereo, 1000 bytes")
            << 44100 << 2 << 16 << 1000u
            << QByteArray::fromHex("52494646" "0c040000" "57415645" "666d7420" "10000000"
                                   "0100" "0200" "44ac0000" "10b10200" "0400" "1000"
                                   "64617461" "e8030000");
        // The RIFF size counts the pad byte, the data size does not.
        QTest::newRow("odd data")
            << 8000 << 1 << 8 << 3u
            << QByteArray::fromHex("52494646" "28000000" "57415645" "666d7420" "10000000"
                                   "0100" "0100" "401f0000" "401f0000" "0100" "0800"
                                   "64617461" "03000000");
    }
    void header()
    {
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, bits);
        QFETCH(quint32, dataSize);
        QFETCH(QByteArray, expected);
        const QByteArray header = ZWavWriter::header(rate, channels, bits, dataSize);
        QCOMPARE(header.size(), ZWavWriter::headerSize);
        QCOMPARE(header.toHex(), expected.toHex());
    }

    void patchesSizesOnClose()
    {
        const QString path = m_dir.filePath("even.wav");
        ZWavWriter writer;
        QVERIFY(writer.open(path, 8000, 1, 8));
        QVERIFY(writer.write(QByteArray(100, '\x80')));
        QVERIFY(writer.write(QByteArray(60, '\x7f')));
        QCOMPARE(writer.dataSize(), 160u);
        QVERIFY(writer.close());
        QVERIFY(!writer.isOpen());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QCOMPARE(content.size(), 44 + 160);
        QCOMPARE(content.left(44).toHex(), ZWavWriter::header(8000, 1, 8, 160).toHex());
        QCOMPARE(content.mid(44), QByteArray(100, '\x80') + QByteArray(60, '\x7f'));
    }

    void padsOddData()
    {
        const QString path = m_dir.filePath("odd.wav");
        {
            ZWavWriter writer;
            QVERIFY(writer.open(path, 8000, 1, 8));
            QVERIFY(writer.write("abc"));
            // The destructor finishes the file like close().
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QCOMPARE(content.size(), 48);
        QCOMPARE(content.left(44).toHex(), ZWavWriter::header(8000, 1, 8, 3).toHex());
        QCOMPARE(content.mid(44), QByteArray("abc\0", 4));
    }

    void reopenReplacesFile()
    {
        const QString path = m_dir.filePath("again.wav");
        ZWavWriter writer;
        QVERIFY(writer.open(path, 8000, 1, 8));
        QVERIFY(writer.write(QByteArray(1000, 'x')));
        QVERIFY(writer.close());
        QVERIFY(writer.open(path, 16000, 1, 16));
        QCOMPARE(writer.dataSize(), 0u);
        QVERIFY(writer.write(QByteArray(4, 'y')));
        QVERIFY(writer.close());
        QCOMPARE(QFileInfo(path).size(), 48);
    }

    void rejectsBadFormat_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("bits");
        QTest::newRow("zero rate") << 0 << 1 << 8;
        QTest::newRow("negative rate") << -8000 << 1 << 8;
        QTest::newRow("no channels") << 8000 << 0 << 8;
        QTest::newRow("12 bits") << 8000 << 1 << 12;
        QTest::newRow("0 bits") << 8000 << 1 << 0;
    }
    void rejectsBadFormat()
    {
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, bits);
        const QString path = m_dir.filePath("bad.wav");
        ZWavWriter writer;
        QVERIFY(!writer.open(path, rate, channels, bits));
        QVERIFY(!writer.isOpen());
        QVERIFY(!QFile::exists(path));
    }

    void writeWithoutOpenFails()
    {
        ZWavWriter writer;
        QVERIFY(!writer.write("data"));
        QVERIFY(!writer.close());
        QVERIFY(!writer.open(m_dir.filePath("missing/folder/x.wav"), 8000, 1, 8));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_ZWavWriter)
#include "tst_zwavwriter.moc"
