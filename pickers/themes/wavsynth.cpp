#include "wavsynth.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <cmath>

namespace zubrel::themes {

QByteArray synthesize(const QList<Tone> &tones)
{
    QByteArray out;
    // A fixed seed keeps the generated files identical from build to build.
    QRandomGenerator random(20061);
    double phase = 0;
    for (const Tone &tone : tones) {
        const int count = sampleRate * tone.ms / 1000;
        const int fade = qMin(count / 4, sampleRate / 200);
        for (int i = 0; i < count; ++i) {
            const double t = double(i) / count;
            const double hz = tone.startHz + (tone.endHz - tone.startHz) * t;
            phase += 2 * M_PI * hz / sampleRate;
            double value = std::sin(phase) * (1 - tone.noise)
                           + (random.generateDouble() * 2 - 1) * tone.noise;
            double envelope = 1;
            if (i < fade)
                envelope = double(i) / fade;
            else if (i > count - fade)
                envelope = double(count - i) / fade;
            const auto sample = qint16(qBound(-1.0, value * envelope * tone.volume, 1.0) * 32000);
            out.append(char(sample & 0xff));
            out.append(char((sample >> 8) & 0xff));
        }
    }
    return out;
}

QByteArray wavFile(const QByteArray &samples)
{
    QByteArray out;
    auto put32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto put16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    out.append("RIFF");
    put32(36 + samples.size());
    out.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(sampleRate);
    put32(sampleRate * 2);
    put16(2);
    put16(16);
    out.append("data");
    put32(samples.size());
    out.append(samples);
    return out;
}

} // namespace zubrel::themes
