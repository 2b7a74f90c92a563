#include "zwavwriter.h"

#include <QtEndian>

namespace zubrel {

namespace {

// Largest data chunk whose RIFF size (36 + data + pad) still fits 32 bits.
constexpr quint32 maxDataSize = 0xFFFFFFFFu - 36 - 1;

void putU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void putU16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

bool validFormat(int sampleRate, int channels, int bits)
{
    return sampleRate > 0 && channels > 0 && channels <= 0xFFFF
        && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

} // namespace

ZWavWriter::~ZWavWriter()
{
    close();
}

QByteArray ZWavWriter::header(int sampleRate, int channels, int bits, quint32 dataSize)
{
    const quint32 blockAlign = quint32(channels) * quint32(bits / 8);
    const quint32 padded = dataSize + (dataSize & 1u); // RIFF chunks are word-aligned
    QByteArray out;
    out.reserve(headerSize);
    out.append("RIFF", 4);
    putU32(out, 36 + padded);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    putU32(out, 16);          // size of the PCM format chunk
    putU16(out, 1);           // WAVE_FORMAT_PCM
    putU16(out, quint16(channels));
    putU32(out, quint32(sampleRate));
    putU32(out, quint32(sampleRate) * blockAlign); // bytes per second
    putU16(out, quint16(blockAlign));
    putU16(out, quint16(bits));
    out.append("data", 4);
    putU32(out, dataSize);
    return out;
}

bool ZWavWriter::open(const QString &path, int sampleRate, int channels, int bits)
{
    close();
    if (!validFormat(sampleRate, channels, bits))
        return false;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    m_sampleRate = sampleRate;
    m_channels = channels;
    m_bits = bits;
    m_dataSize = 0;
    m_failed = m_file.write(header(sampleRate, channels, bits, 0)) != headerSize;
    return !m_failed;
}

bool ZWavWriter::isOpen() const
{
    return m_file.isOpen();
}

bool ZWavWriter::write(const QByteArray &samples)
{
    if (!m_file.isOpen() || m_failed)
        return false;
    if (quint64(m_dataSize) + quint64(samples.size()) > maxDataSize) {
        m_failed = true;
        return false;
    }
    if (m_file.write(samples) != samples.size()) {
        m_failed = true;
        return false;
    }
    m_dataSize += quint32(samples.size());
    return true;
}

bool ZWavWriter::close()
{
    if (!m_file.isOpen())
        return false;
    bool ok = true;
    if (m_dataSize & 1u)
        ok = m_file.write("\0", 1) == 1;
    // The sizes describe what actually reached the file, also after a failure.
    ok = m_file.seek(0) && ok;
    ok = ok && m_file.write(header(m_sampleRate, m_channels, m_bits, m_dataSize)) == headerSize;
    m_file.close();
    return ok && !m_failed;
}

quint32 ZWavWriter::dataSize() const
{
    return m_dataSize;
}

QString ZWavWriter::fileName() const
{
    return m_file.fileName();
}

} // namespace zubrel
