// Which pictures of the favourites folder are shown, the open-file filter,
// and how a picture the user picks is checked and stored.
#include "zsmileyfavorites.h"

#include "zdir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

namespace {

QByteArray encode(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage picture(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(QColor(200, 120, 40));
    return image;
}

} // namespace

class tst_ZSmileyFavorites : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
    }

    void init()
    {
        QDir(ZDir::smileysPath(true)).removeRecursively();
        QDir(m_work.path()).removeRecursively();
        QDir().mkpath(m_work.path());
    }

    void checksumIsIso3309()
    {
        // CRC-16/X-25 of "123456789" is 0x906E.
        QCOMPARE(ZSmileyFavorites::checksumName("123456789"), QString::number(0x906E));
    }

    void nameMustBeChecksum()
    {
        const QByteArray png = encode(picture(24, 24), "png");
        const QString good = ZSmileyFavorites::checksumName(png);
        QString wrong = QString::number((good.toInt() + 1) % 65536);
        QVERIFY(!ZSmileyFavorites::isAccepted(write(wrong + ".png", png)));
        QVERIFY(ZSmileyFavorites::isAccepted(write(good + ".png", png)));
        // Only the part up to the first dot counts.
        QVERIFY(ZSmileyFavorites::isAccepted(write(good + ".x.png", png)));
        QVERIFY(!ZSmileyFavorites::isAccepted(write("0" + good + ".png", png)));
    }

    // What the favourites folder may show: at most 200 x 200 pixels and
    // under 99 KiB (a valid picture padded with bytes the decoder ignores).
    void accepted_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("bytes"); // 0 = as encoded
        QTest::addColumn<bool>("accepted");
        QTest::newRow("200x200") << QSize(200, 200) << 0 << true;
        QTest::newRow("201 wide") << QSize(201, 10) << 0 << false;
        QTest::newRow("201 high") << QSize(10, 201) << 0 << false;
        QTest::newRow("99 KiB less one byte") << QSize(24, 24) << 99 * 1024 - 1 << true;
        QTest::newRow("99 KiB") << QSize(24, 24) << 99 * 1024 << false;
        QTest::newRow("98 KiB") << QSize(24, 24) << 98 * 1024 << true;
        QTest::newRow("not a picture") << QSize() << 0 << false;
    }
    void accepted()
    {
        QFETCH(QSize, size);
        QFETCH(int, bytes);
        QFETCH(bool, accepted);
        QByteArray png = size.isValid() ? encode(picture(size.width(), size.height()), "png") : "just some text";
        if (bytes > 0)
            png.append(QByteArray(bytes - png.size(), '\0'));
        QCOMPARE(ZSmileyFavorites::isAccepted(write(ZSmileyFavorites::checksumName(png) + ".png", png)), accepted);
        QVERIFY(!ZSmileyFavorites::isAccepted(m_work.path() + "/missing.png"));
    }

    void scanListsAcceptedOnly()
    {
        const QString folder = ZSmileyFavorites::folder();
        const QByteArray a = encode(picture(20, 20), "png");
        const QByteArray b = encode(picture(30, 30), "png");
        QFile::copy(write("a", a), folder + "/" + ZSmileyFavorites::checksumName(a) + ".png");
        QFile::copy(write("b", b), folder + "/1.png");
        QDir(folder).mkdir(QStringLiteral("12345.png"));
        const QStringList found = ZSmileyFavorites::scan(folder);
        QCOMPARE(found, QStringList({folder + "/" + ZSmileyFavorites::checksumName(a) + ".png"}));
    }

    void filterHasEachFormatOnce()
    {
        const QString filter = ZSmileyFavorites::fileFilter({"bmp", "jpeg", "jpg", "png", "pbm", "ppm", "tif", "tiff", "png"});
        const QStringList lines = filter.split(QStringLiteral(";;"));
        QCOMPARE(lines.first(), QStringLiteral("All Supported Types (*.bmp *.jpeg *.jpg *.png *.pbm *.ppm *.tif *.tiff)"));
        QCOMPARE(lines.mid(1), QStringList({"Windows Bitmap (*.bmp)", "Joint Photographic Experts Group (*.jpeg *.jpg)",
                                            "Portable Network Graphics (*.png)", "Portable Bitmap (*.pbm *.ppm)",
                                            "Tagged Image File Format (*.tif *.tiff)"}));
    }

    void filterUnknownFormats()
    {
        // A format whose name is part of another line's text still gets its own.
        const QString filter = ZSmileyFavorites::fileFilter({"svg", "svgz", "wbmp", "bmp"});
        const QStringList lines = filter.split(QStringLiteral(";;"));
        QCOMPARE(lines.mid(1), QStringList({"Scaleable Vector Graphics (*.svg)", "Unknown Format (*.svgz)",
                                            "Unknown Format (*.wbmp)", "Windows Bitmap (*.bmp)"}));
        // The real reader's formats: no line twice.
        const QStringList real = ZSmileyFavorites::fileFilter().split(QStringLiteral(";;"));
        QCOMPARE(QSet<QString>(real.cbegin(), real.cend()).size(), real.size());
    }

    void add_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size"); // invalid: a file that is no picture
        QTest::addColumn<QString>("error");
        QTest::addColumn<QSize>("stored");
        QTest::newRow("png") << "face.png" << QSize(40, 30) << "" << QSize(40, 30);
        QTest::newRow("upper-case suffix") << "FACE.PNG" << QSize(40, 30) << "" << QSize(40, 30);
        QTest::newRow("big picture shrinks") << "big.png" << QSize(800, 400) << "" << QSize(200, 100);
        QTest::newRow("not a picture") << "fake.png" << QSize() << "*" << QSize();
        // Loads by content, but no writer exists for the suffix.
        QTest::newRow("no writer for the suffix") << "face.notaformat" << QSize(20, 20)
                                                  << "The selected picture could not be converted into an emoticon."
                                                  << QSize();
    }
    void add()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(QString, error);
        QFETCH(QSize, stored);
        const QByteArray bytes = size.isValid() ? encode(picture(size.width(), size.height()), "png") : "not a picture";
        const ZSmileyFavorites::Result result = ZSmileyFavorites::addPicture(write(name, bytes));
        if (error.isEmpty()) {
            QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
            QVERIFY(result.path.startsWith(ZDir::smileysPath(false)));
            QVERIFY(ZSmileyFavorites::isAccepted(result.path));
            QCOMPARE(QImage(result.path).size(), stored);
            QCOMPARE(ZSmileyFavorites::scan(ZSmileyFavorites::folder()), QStringList({result.path}));
        } else {
            QVERIFY(result.path.isEmpty());
            QVERIFY(!result.error.isEmpty());
            if (error != u"*")
                QCOMPARE(result.error, error);
            QVERIFY(QDir(ZDir::smileysPath(true)).isEmpty());
        }
    }

    void addKeepsGifButLimitsEdge_data()
    {
        QTest::addColumn<int>("edge");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("199") << 199 << true;
        QTest::newRow("200") << 200 << false;
    }
    void addKeepsGifButLimitsEdge()
    {
        QFETCH(int, edge);
        QFETCH(bool, accepted);
        // Qt writes no GIF; a TIFF follows the same keep-as-is rule.
        const QByteArray tiff = encode(picture(edge, edge).convertToFormat(QImage::Format_Mono), "tiff");
        QVERIFY(!tiff.isEmpty());
        const ZSmileyFavorites::Result result = ZSmileyFavorites::addPicture(write("pic.tiff", tiff));
        if (accepted) {
            QVERIFY(result.error.isEmpty());
            QFile stored(result.path);
            QVERIFY(stored.open(QIODevice::ReadOnly));
            QCOMPARE(stored.readAll(), tiff);
        } else {
            QCOMPARE(result.error, QStringLiteral("The selected pixmap is bigger than 200x200 pixel."));
            QVERIFY(result.path.isEmpty());
            QVERIFY(ZSmileyFavorites::scan(ZSmileyFavorites::folder()).isEmpty());
        }
    }

    void addRefusesTooBig()
    {
        // Noise does not compress: 200 x 200 BMP is about 117 KiB.
        QImage noise(200, 200, QImage::Format_RGB32);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                noise.setPixel(x, y, qRgb((x * 7919 + y * 104729) % 251, (x * y) % 253, (x + y * 31) % 255));
        const ZSmileyFavorites::Result result = ZSmileyFavorites::addPicture(write("noise.bmp", encode(noise, "bmp")));
        QCOMPARE(result.error, QStringLiteral("The selected pixmap is bigger than 100kb and will not be selected."));
        QVERIFY(QDir(ZDir::smileysPath(true)).isEmpty());
    }

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_profile;
    QTemporaryDir m_work;
};

QString tst_ZSmileyFavorites::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_work.path() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

QTEST_MAIN(tst_ZSmileyFavorites)
#include "tst_zsmileyfavorites.moc"
