#include "demopush.h"

#include "soundserver.h"
#include "zhostevents.h"
#include "zwavwriter.h"

#include <QtEndian>

#include <cmath>

namespace zubrel {

namespace {

// Notes in Hz, each followed by its length in milliseconds.
const QList<QList<int>> melodies{
    {523, 150, 659, 150, 784, 150, 1047, 300},
    {784, 200, 659, 200, 523, 400},
    {440, 120, 440, 120, 660, 240, 550, 300},
};

} // namespace

DemoPush::DemoPush(SoundServer *server, QObject *parent)
    : QObject(parent), m_server(server)
{
    connect(ZHostEvents::instance(), &ZHostEvents::event, this, [this](const QString &kind, const QVariantMap &fields) {
        if (m_server && kind == QLatin1String("sound") && fields.value(QStringLiteral("op")) == QLatin1String("record"))
            m_server->play(tune());
    });
}

QByteArray DemoPush::clip(int number)
{
    const QList<int> &melody = melodies.at(qAbs(number) % melodies.size());
    QByteArray samples;
    for (qsizetype i = 0; i + 1 < melody.size(); i += 2) {
        const int count = 8000 * melody.at(i + 1) / 1000;
        for (int n = 0; n < count; ++n) {
            // A soft start and end per note keeps it from clicking.
            const double envelope = std::min({1.0, n / 200.0, (count - n) / 200.0});
            const double value = 0.6 * envelope * std::sin(2 * M_PI * melody.at(i) * n / 8000.0);
            samples.append(char(qBound(0, int(std::lround(128 + 127 * value)), 255)));
        }
    }
    return ZWavWriter::header(8000, 1, 8, quint32(samples.size())) + samples;
}

QByteArray DemoPush::tune()
{
    QByteArray samples;
    for (const int hz : {392, 440, 494, 523, 587, 659, 698, 784})
        samples += SoundServer::tone(hz, 350, 0.4);
    return samples;
}

} // namespace zubrel
