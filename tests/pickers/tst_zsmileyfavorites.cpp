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
    void initTestCase();
    void init();
    void checksumIsIso3309();
    void nameMustBeChecksum();
    void edgeLimits_data();
    void edgeLimits();
    void sizeLimits_data();
    void sizeLimits();
    void notAPicture();
    void scanListsAcceptedOnly();
    void filterHasEachFormatOnce();
    void filterUnknownFormats();
    void addReencodesAndStores();
    void addUpperCaseSuffix();
    void addShrinksBigPicture();
    void addKeepsGifButLimitsEdge_data();
    void addKeepsGifButLimitsEdge();
    void addRefusesNonPicture();
    void addRefusesUnwritableFormat();
    void addRefusesTooBig();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_profile;
    QTemporaryDir m_work;
};

void tst_ZSmileyFavorites::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    qputenv("ZUBREL_PROFILE", m_profile.path().toUtf8());
}

void tst_ZSmileyFavorites::init()
{
    QDir(ZDir::smileysPath(true)).removeRecursively();
    QDir(m_work.path()).removeRecursively();
    QDir().mkpath(m_work.path());
}

QString tst_ZSmileyFavorites::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_work.path() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

void tst_ZSmileyFavorites::checksumIsIso3309()
{
    // CRC-16/X-25 of "123456789" is 0x906E.
    QCOMPARE(ZSmileyFavorites::checksumName("123456789"), QString::number(0x906E));
}

void tst_ZSmileyFavorites::nameMustBeChecksum()
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

void tst_ZSmileyFavorites::edgeLimits_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("200x200") << 200 << 200 << true;
    QTest::newRow("201 wide") << 201 << 10 << false;
    QTest::newRow("201 high") << 10 << 201 << false;
}

void tst_ZSmileyFavorites::edgeLimits()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(bool, accepted);
    const QByteArray png = encode(picture(w, h), "png");
    QCOMPARE(ZSmileyFavorites::isAccepted(write(ZSmileyFavorites::checksumName(png) + ".png", png)), accepted);
}

void tst_ZSmileyFavorites::sizeLimits_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("99 KiB less one byte") << 99 * 1024 - 1 << true;
    QTest::newRow("99 KiB") << 99 * 1024 << false;
    QTest::newRow("98 KiB") << 98 * 1024 << true;
}

void tst_ZSmileyFavorites::sizeLimits()
{
    QFETCH(int, size);
    QFETCH(bool, accepted);
    // A valid picture padded with trailing bytes the decoder ignores.
    QByteArray png = encode(picture(24, 24), "png");
    png.append(QByteArray(size - png.size(), '\0'));
    QCOMPARE(png.size(), size);
    QCOMPARE(ZSmileyFavorites::isAccepted(write(ZSmileyFavorites::checksumName(png) + ".png", png)), accepted);
}

void tst_ZSmileyFavorites::notAPicture()
{
    const QByteArray text("just some text, no picture");
    QVERIFY(!ZSmileyFavorites::isAccepted(write(ZSmileyFavorites::checksumName(text) + ".png", text)));
    QVERIFY(!ZSmileyFavorites::isAccepted(m_work.path() + "/missing.png"));
}

void tst_ZSmileyFavorites::scanListsAcceptedOnly()
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

void tst_ZSmileyFavorites::filterHasEachFormatOnce()
{
    const QString filter = ZSmileyFavorites::fileFilter({"bmp", "jpeg", "jpg", "png", "pbm", "ppm", "tif", "tiff", "png"});
    const QStringList lines = filter.split(QStringLiteral(";;"));
    QCOMPARE(lines.first(), QStringLiteral("All Supported Types (*.bmp *.jpeg *.jpg *.png *.pbm *.ppm *.tif *.tiff)"));
    QCOMPARE(lines.mid(1), QStringList({"Windows Bitmap (*.bmp)", "Joint Photographic Experts Group (*.jpeg *.jpg)",
                                        "Portable Network Graphics (*.png)", "Portable Bitmap (*.pbm *.ppm)",
                                        "Tagged Image File Format (*.tif *.tiff)"}));
}

void tst_ZSmileyFavorites::filterUnknownFormats()
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

void tst_ZSmileyFavorites::addReencodesAndStores()
{
    const QString file = write("face.png", encode(picture(40, 30), "png"));
    const ZSmileyFavorites::Result result = ZSmileyFavorites::addPicture(file);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QVERIFY(result.path.startsWith(ZDir::smileysPath(false)));
    QVERIFY(result.path.endsWith(QLatin1String(".png")));
    QVERIFY(ZSmileyFavorites::isAccepted(result.path));
    QCOMPARE(ZSmileyFavorites::scan(ZSmileyFavorites::folder()), QStringList({result.path}));
}

void tst_ZSmileyFavorites::addUpperCaseSuffix()
{
    const QString file = write("FACE.PNG", encode(picture(40, 30), "png"));
    const ZSmileyFavorites::Result result = ZSmileyFavorites::addPicture(file);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QVERIFY(ZSmileyFavorites::isAccepted(result.path));
    // A GIF named in capitals is kept as it is, like any GIF.
    const QByteArray gif = encode(picture(250, 20), "gif");
    if (!gif.isEmpty()) {
        const ZSmileyFavorites::Result big = ZSmileyFavorites::addPicture(write("BIG.GIF", gif));
        QCOMPARE(big.error, QStringLiteral("The selected pixmap is bigger than 200x200 pixel."));
    }
}

void tst_ZSmileyFavorites::addShrinksBigPicture()
{
    const QString file = write("big.png", encode(picture(800, 400), "png"));
    const ZSmileyFavorites::Result result = ZSmileyFavorites::addPicture(file);
    QVERIFY(result.error.isEmpty());
    QCOMPARE(QImage(result.path).size(), QSize(200, 100));
}

void tst_ZSmileyFavorites::addKeepsGifButLimitsEdge_data()
{
    QTest::addColumn<int>("edge");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("199") << 199 << true;
    QTest::newRow("200") << 200 << false;
}

void tst_ZSmileyFavorites::addKeepsGifButLimitsEdge()
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

void tst_ZSmileyFavorites::addRefusesNonPicture()
{
    const ZSmileyFavorites::Result result = ZSmileyFavorites::addPicture(write("fake.png", "not a picture"));
    QVERIFY(result.path.isEmpty());
    QVERIFY(!result.error.isEmpty());
    QVERIFY(QDir(ZDir::smileysPath(true)).isEmpty());
}

void tst_ZSmileyFavorites::addRefusesUnwritableFormat()
{
    // Loads by content, but no writer exists for the suffix: nothing stored.
    const ZSmileyFavorites::Result result = ZSmileyFavorites::addPicture(
        write("face.notaformat", encode(picture(20, 20), "png")));
    QVERIFY(result.path.isEmpty());
    QCOMPARE(result.error, QStringLiteral("The selected picture could not be converted into an emoticon."));
    QVERIFY(QDir(ZDir::smileysPath(true)).isEmpty());
}

void tst_ZSmileyFavorites::addRefusesTooBig()
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

QTEST_MAIN(tst_ZSmileyFavorites)
#include "tst_zsmileyfavorites.moc"
