#include "gifwriter.h"

#include <QHash>
#include <QMap>

namespace zubrel::themes {

namespace {

class BitWriter
{
public:
    void put(int code, int bits)
    {
        m_acc |= quint32(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes.append(char(m_acc & 0xff));
            m_acc >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes.append(char(m_acc & 0xff));
        m_acc = 0;
        m_count = 0;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_acc = 0;
    int m_count = 0;
};

void putShort(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

// Reduces colour depth until the frames fit in 255 colours (one index is
// left for transparency).
QRgb quantize(QRgb c, int shift)
{
    const int mask = 0xff << shift & 0xff;
    return qRgb(qRed(c) & mask, qGreen(c) & mask, qBlue(c) & mask);
}

} // namespace

QByteArray lzwEncode(const QByteArray &indices, int minCodeSize)
{
    const int clear = 1 << minCodeSize;
    const int eoi = clear + 1;
    int codeSize = minCodeSize + 1;
    int next = eoi + 1;
    QHash<quint32, int> table;
    BitWriter bits;
    bits.put(clear, codeSize);
    if (indices.isEmpty()) {
        bits.put(eoi, codeSize);
        return bits.finish();
    }
    int prefix = quint8(indices.at(0));
    for (qsizetype i = 1; i < indices.size(); ++i) {
        const int k = quint8(indices.at(i));
        const quint32 key = (quint32(prefix) << 8) | quint32(k);
        const auto it = table.constFind(key);
        if (it != table.constEnd()) {
            prefix = *it;
            continue;
        }
        bits.put(prefix, codeSize);
        const int code = next++;
        table.insert(key, code);
        // The decoder widens its codes one entry later than we add them,
        // hence ">=" on the entry just added.
        if (code >= (1 << codeSize) && codeSize < 12)
            ++codeSize;
        if (code == 4095) {
            bits.put(clear, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            next = eoi + 1;
        }
        prefix = k;
    }
    bits.put(prefix, codeSize);
    bits.put(eoi, codeSize);
    return bits.finish();
}

QByteArray writeGif(const QList<GifFrame> &frames)
{
    if (frames.isEmpty())
        return {};
    const int width = frames.first().image.width();
    const int height = frames.first().image.height();
    QList<QImage> images;
    for (const GifFrame &frame : frames)
        images.append(frame.image.convertToFormat(QImage::Format_ARGB32));

    int shift = 0;
    QMap<QRgb, int> palette;
    for (;; ++shift) {
        palette.clear();
        for (const QImage &image : images) {
            for (int y = 0; y < height; ++y) {
                const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
                for (int x = 0; x < width; ++x) {
                    if (qAlpha(line[x]) >= 128)
                        palette.insert(quantize(line[x], shift), 0);
                }
            }
        }
        if (palette.size() <= 255)
            break;
    }
    int index = 1; // 0 is transparent
    for (auto it = palette.begin(); it != palette.end(); ++it)
        it.value() = index++;
    int depth = 1;
    while ((1 << depth) < index)
        ++depth;

    QByteArray out("GIF89a");
    putShort(out, width);
    putShort(out, height);
    out.append(char(0x80 | ((depth - 1) << 4) | (depth - 1)));
    out.append(char(0)); // background index
    out.append(char(0)); // aspect
    QList<QRgb> colours(1 << depth, qRgb(0, 0, 0));
    for (auto it = palette.cbegin(); it != palette.cend(); ++it)
        colours[it.value()] = it.key();
    for (QRgb c : colours) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    // Loop forever.
    out.append("\x21\xff\x0bNETSCAPE2.0\x03\x01", 16);
    putShort(out, 0);
    out.append(char(0));

    const int minCodeSize = qMax(2, depth);
    for (int f = 0; f < images.size(); ++f) {
        const QImage &image = images.at(f);
        out.append("\x21\xf9\x04", 3);
        out.append(char((2 << 2) | 1)); // restore background, transparency on
        putShort(out, qMax(2, frames.at(f).delayMs / 10));
        out.append(char(0));
        out.append(char(0));
        out.append(char(0x2c));
        putShort(out, 0);
        putShort(out, 0);
        putShort(out, width);
        putShort(out, height);
        out.append(char(0));
        QByteArray indices;
        indices.reserve(width * height);
        for (int y = 0; y < height; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < width; ++x)
                indices.append(char(qAlpha(line[x]) >= 128 ? palette.value(quantize(line[x], shift)) : 0));
        }
        out.append(char(minCodeSize));
        const QByteArray data = lzwEncode(indices, minCodeSize);
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const qsizetype n = qMin<qsizetype>(255, data.size() - at);
            out.append(char(n));
            out.append(data.mid(at, n));
        }
        out.append(char(0));
    }
    out.append(char(0x3b));
    return out;
}

} // namespace zubrel::themes
