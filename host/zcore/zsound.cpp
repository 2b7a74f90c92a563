#include "zsound.h"

#include "zhostevents.h"
#include "zwavwriter.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

namespace zubrel {

namespace {

void reportSound(const QString &op, const QString &path)
{
    ZHostEvents::instance()->report(QStringLiteral("sound"),
        {{QStringLiteral("op"), op}, {QStringLiteral("path"), path}});
}

// Peak of one block of samples as 0..100.
int peakLevel(const QByteArray &data, int bits)
{
    int peak = 0;
    if (bits == 8) {
        for (const char c : data)
            peak = std::max(peak, std::abs(int(uchar(c)) - 128));
        return peak * 100 / 128;
    }
    if (bits == 16) {
        const auto *samples = reinterpret_cast<const qint16 *>(data.constData());
        const qsizetype count = data.size() / 2;
        for (qsizetype i = 0; i < count; ++i)
            peak = std::max(peak, std::abs(int(samples[i])));
        return peak * 100 / 32768;
    }
    const auto *samples = reinterpret_cast<const qint32 *>(data.constData());
    const qsizetype count = data.size() / 4;
    qint64 peak32 = 0;
    for (qsizetype i = 0; i < count; ++i)
        peak32 = std::max(peak32, std::abs(qint64(samples[i])));
    return int(peak32 * 100 / 2147483648LL);
}

QAudioFormat::SampleFormat sampleFormat(int bits)
{
    switch (bits) {
    case 8: return QAudioFormat::UInt8; // WAVE stores 8-bit samples unsigned
    case 16: return QAudioFormat::Int16;
    case 32: return QAudioFormat::Int32;
    default: return QAudioFormat::Unknown;
    }
}

} // namespace

class ZSound::Private
{
public:
    QList<QPointer<QSoundEffect>> effects;
    std::unique_ptr<QAudioSource> source;
    QPointer<QIODevice> input;
    ZWavWriter writer;
    QTimer stopTimer;
    QString filePath;
    int device = 0;
    int bits = 8;
    int channels = 1;
    int sampleRate = 8000;
    int recordTime = 10000;
    int level = 0;
};

ZSound::ZSound()
    : d(std::make_unique<Private>())
{
    d->stopTimer.setSingleShot(true);
    connect(&d->stopTimer, &QTimer::timeout, this, &ZSound::stop);
}

ZSound::~ZSound()
{
    // Finish the file so a recording cut short by the process end stays valid.
    if (d->source)
        d->source->stop();
    d->writer.close();
}

// Owned by the application object: the audio back end must be gone before
// the application is, which a function-static object would not guarantee.
ZSound *ZSound::instance()
{
    static QPointer<ZSound> sound;
    if (!sound) {
        sound = new ZSound;
        sound->setParent(QCoreApplication::instance());
    }
    return sound;
}

// True when either playing or recording can work; each operation then checks
// for the device kind it needs itself.
bool ZSound::isAvailable() const
{
    return !QMediaDevices::audioOutputs().isEmpty() || !QMediaDevices::audioInputs().isEmpty();
}

void ZSound::play(const QString &path)
{
    reportSound(QStringLiteral("play"), path);
    if (path.isEmpty() || QMediaDevices::audioOutputs().isEmpty())
        return;
    auto *effect = new QSoundEffect(this);
    // Each sound plays to its end on its own effect, so sounds may overlap.
    connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying() && effect->status() != QSoundEffect::Loading)
            effect->deleteLater();
    });
    connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error)
            effect->deleteLater();
    });
    effect->setSource(QUrl::fromLocalFile(path));
    effect->play();
    d->effects.removeAll(nullptr);
    d->effects.append(effect);
}

void ZSound::record()
{
    reportSound(QStringLiteral("record"), d->filePath);
    if (isRecording() || d->filePath.isEmpty())
        return;
    const QList<QAudioDevice> inputs = QMediaDevices::audioInputs();
    if (inputs.isEmpty())
        return;
    const QAudioDevice device = d->device >= 0 && d->device < inputs.size()
        ? inputs.at(d->device) : QMediaDevices::defaultAudioInput();

    QAudioFormat format;
    format.setSampleRate(d->sampleRate);
    format.setChannelCount(d->channels);
    format.setSampleFormat(sampleFormat(d->bits));
    if (!device.isFormatSupported(format))
        return;
    if (!d->writer.open(d->filePath, d->sampleRate, d->channels, d->bits))
        return;

    d->level = 0;
    d->source = std::make_unique<QAudioSource>(device, format);
    d->input = d->source->start();
    if (!d->input) {
        d->source.reset();
        d->writer.close();
        return;
    }
    connect(d->input, &QIODevice::readyRead, this, [this] {
        const QByteArray data = d->input->readAll();
        d->level = peakLevel(data, d->bits);
        // Disk full or size limit: keep what was written. Queued, because
        // stopping deletes the device that is emitting right now.
        if (!d->writer.write(data))
            QMetaObject::invokeMethod(this, &ZSound::stop, Qt::QueuedConnection);
    });
    if (d->recordTime > 0)
        d->stopTimer.start(d->recordTime);
}

void ZSound::stop()
{
    reportSound(QStringLiteral("stop"), d->filePath);
    for (const QPointer<QSoundEffect> &effect : std::as_const(d->effects)) {
        if (effect) {
            effect->stop();
            effect->deleteLater();
        }
    }
    d->effects.clear();
    if (!isRecording())
        return;
    d->stopTimer.stop();
    if (d->input) {
        // Samples still buffered belong to the recording.
        d->input->disconnect(this);
        d->writer.write(d->input->readAll());
    }
    d->source->stop();
    d->source.reset();
    d->level = 0;
    const QString path = d->writer.fileName();
    d->writer.close();
    emit recordingFinished(path);
}

void ZSound::createFile(const QString &path)
{
    d->filePath = path;
}

void ZSound::setDevice(int device)
{
    d->device = device;
}

// Formats the WAVE writer and the audio back end cannot both handle are
// ignored; the previous value stays.
void ZSound::setBits(int bits)
{
    if (sampleFormat(bits) != QAudioFormat::Unknown)
        d->bits = bits;
}

void ZSound::setChannels(int channels)
{
    if (channels >= 1 && channels <= 8)
        d->channels = channels;
}

void ZSound::setSampleRate(int rate)
{
    if (rate >= 1000 && rate <= 384000)
        d->sampleRate = rate;
}

void ZSound::setRecordTime(int milliseconds)
{
    d->recordTime = std::max(0, milliseconds);
}

bool ZSound::isRecording() const
{
    return d->source != nullptr;
}

int ZSound::level() const
{
    return d->level;
}

} // namespace zubrel
