#pragma once
// A private PulseAudio server for machines without a sound card: a null
// sink as the default output and its monitor (remapped into an ordinary
// source, which the Qt audio back end lists as an input) as the default
// input. What is played is thus what a recording hears. Each server lives
// in a runtime folder of its own, so parallel tests do not hear each other,
// and dies with the process that started it.
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QProcess;

namespace zubrel {

class SoundServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int sampleRate = 8000;

    explicit SoundServer(QObject *parent = nullptr);
    ~SoundServer() override;

    // Starts the daemon and points this process's audio (PULSE_SERVER) at
    // it; must run before the first use of any audio device. False with a
    // reason when PulseAudio is missing or does not come up.
    bool start(QString *error = nullptr);
    void stop();
    bool isRunning() const;
    QString address() const { return m_address; }

    // 16-bit mono samples at sampleRate played into the null sink, as a
    // microphone would pick them up. The player stops with the server.
    bool play(const QByteArray &samples);
    void stopPlaying();
    // What the null sink plays during the next ms milliseconds, 16-bit mono
    // at sampleRate; runs the event loop meanwhile.
    QByteArray listen(int ms);

    // A sine of hz for ms milliseconds, 16-bit mono at sampleRate.
    static QByteArray tone(double hz, int ms, double amplitude = 0.5);

private:
    bool reachable() const;
    QStringList clientEnvironment() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QPointer<QProcess> m_daemon;
    QList<QPointer<QProcess>> m_players;
    QString m_address;
};

} // namespace zubrel
