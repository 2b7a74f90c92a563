#include "zsound.h"

#include "zhostevents.h"
#include "zwavwriter.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QCoreApplication>
#include <QFile>
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
    QByteArray captured;
    bool hasCapture = false;
    QTimer stopTimer;
    int device = 0;
    int bits = 8;
    int channels = 1;
    int sampleRate = 8000;
    int recordTime = 10000;
    // Recorded format, fixed when the capture started.
    int capturedBits = 8;
    int capturedChannels = 1;
    int capturedRate = 8000;
    int level = 0;
};

ZSound::ZSound()
    : d(std::make_unique<Private>())
{
    d->stopTimer.setSingleShot(true);
    connect(&d->stopTimer, &QTimer::timeout, this, [this] {
        if (!d->source)
            return;
        if (d->input)
            d->captured.append(d->input->readAll());
        d->input = nullptr;
        d->source->stop();
        d->source.reset();
        d->level = 0;
        emit recordingFinished();
    });
}

ZSound::~ZSound()
{
    if (d->source)
        d->source->stop();
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

bool ZSound::canRecord() const
{
    return !QMediaDevices::audioInputs().isEmpty();
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
    // Theme clips live in registered resources.
    effect->setSource(path.startsWith(QLatin1String(":/")) ? QUrl(QStringLiteral("qrc") + path)
                                                           : QUrl::fromLocalFile(path));
    effect->play();
    d->effects.removeAll(nullptr);
    d->effects.append(effect);
}

void ZSound::record()
{
    reportSound(QStringLiteral("record"), QString());
    if (d->source) {
        d->stopTimer.stop();
        d->source->stop();
        d->source.reset();
    }
    d->captured.clear();
    d->hasCapture = false;
    d->level = 0;
    if (QMediaDevices::audioInputs().isEmpty())
        return;
    const QList<QAudioDevice> inputs = QMediaDevices::audioInputs();
    // Device 0 is whatever the system calls its default input.
    const QAudioDevice device = d->device > 0 && d->device <= inputs.size()
        ? inputs.at(d->device - 1) : QMediaDevices::defaultAudioInput();

    QAudioFormat format;
    format.setSampleRate(d->sampleRate);
    format.setChannelCount(d->channels);
    format.setSampleFormat(sampleFormat(d->bits));
    if (device.isNull() || !device.isFormatSupported(format))
        return;

    d->source = std::make_unique<QAudioSource>(device, format);
    // A tenth of a second per block keeps the level display lively.
    d->source->setBufferSize(qMax(256, d->sampleRate * d->channels * d->bits / 8 / 10));
    d->input = d->source->start();
    if (!d->input) {
        d->source.reset();
        return;
    }
    d->hasCapture = true;
    d->capturedBits = d->bits;
    d->capturedChannels = d->channels;
    d->capturedRate = d->sampleRate;
    connect(d->input, &QIODevice::readyRead, this, [this] {
        if (!d->input)
            return;
        const QByteArray data = d->input->readAll();
        if (data.isEmpty())
            return;
        // Never more than the WAVE format can hold.
        if (d->captured.size() + data.size() < qsizetype(0x7FFFFFFF) - ZWavWriter::headerSize)
            d->captured.append(data);
        d->level = peakLevel(data, d->capturedBits);
        emit pegelChanged(d->level);
    });
    if (d->recordTime > 0)
        d->stopTimer.start(d->recordTime);
}

void ZSound::stop()
{
    reportSound(QStringLiteral("stop"), QString());
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
        d->captured.append(d->input->readAll());
    }
    d->input = nullptr;
    d->source->stop();
    d->source.reset();
    d->level = 0;
    emit recordingFinished();
}

bool ZSound::createFile(const QString &path)
{
    reportSound(QStringLiteral("save"), path);
    if (isRecording() || !d->hasCapture || d->captured.isEmpty() || path.isEmpty())
        return false;
    ZWavWriter writer;
    if (!writer.open(path, d->capturedRate, d->capturedChannels, d->capturedBits))
        return false;
    const bool ok = writer.write(d->captured);
    if (!writer.close() || !ok) {
        QFile::remove(path);
        return false;
    }
    return true;
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

qsizetype ZSound::capturedBytes() const
{
    return d->captured.size();
}

} // namespace zubrel
