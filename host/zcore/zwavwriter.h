#pragma once
// Writes PCM samples into a RIFF/WAVE file. The header is written with empty
// sizes when the file is opened and patched on close(), so the recorder can
// stream samples without knowing the length in advance.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zubrel {

class ZWavWriter
{
public:
    static constexpr int headerSize = 44;

    ZWavWriter() = default;
    ~ZWavWriter(); // closes (and patches) an open file
    ZWavWriter(const ZWavWriter &) = delete;
    ZWavWriter &operator=(const ZWavWriter &) = delete;

    // The canonical 44-byte PCM header for dataSize bytes of samples.
    static QByteArray header(int sampleRate, int channels, int bits, quint32 dataSize);

    // Replaces path; false (and nothing open) on bad format or I/O error.
    bool open(const QString &path, int sampleRate, int channels, int bits);
    bool isOpen() const;
    // Appends samples; false once the file failed or the 4 GiB RIFF limit
    // would be passed (nothing of that block is written then).
    bool write(const QByteArray &samples);
    // Pads odd data to an even length, writes the final sizes and closes.
    bool close();
    quint32 dataSize() const;
    QString fileName() const;

private:
    QFile m_file;
    int m_sampleRate = 0;
    int m_channels = 0;
    int m_bits = 0;
    quint32 m_dataSize = 0;
    bool m_failed = false;
};

} // namespace zubrel
