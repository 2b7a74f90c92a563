#include "soundserver.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <cmath>
#include <csignal>
#include <sys/prctl.h>

namespace zubrel {

namespace {

const QString sinkName = QStringLiteral("zubrel_null");
const QString sourceName = QStringLiteral("zubrel_mic");
constexpr int startTimeoutMs = 10000;

// The daemon must not outlive its parent, even one that crashed or was
// killed by a test timeout.
void dieWithParent()
{
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
}

} // namespace

SoundServer::SoundServer(QObject *parent)
    : QObject(parent)
{
}

SoundServer::~SoundServer()
{
    stop();
}

QStringList SoundServer::clientEnvironment() const
{
    QStringList env = QProcess::systemEnvironment();
    env.append(QStringLiteral("PULSE_SERVER=") + m_address);
    return env;
}

bool SoundServer::reachable() const
{
    QProcess pactl;
    pactl.setEnvironment(clientEnvironment());
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("info")});
    return pactl.waitForFinished(2000) && pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0;
}

bool SoundServer::start(QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        stop();
        return false;
    };
    if (isRunning())
        return true;
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid())
        return fail(QStringLiteral("no folder for the sound server"));
    const QString dir = m_dir->path();
    m_address = QStringLiteral("unix:%1/native").arg(dir);
    QFile config(dir + QStringLiteral("/server.pa"));
    if (!config.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write the sound server's configuration"));
    config.write(QStringLiteral(
        "load-module module-native-protocol-unix auth-anonymous=1 socket=%1/native\n"
        "load-module module-null-sink sink_name=%2 rate=%4 sink_properties=device.description=Speakers\n"
        "load-module module-remap-source master=%2.monitor source_name=%3 "
        "source_properties=device.description=Microphone\n"
        "set-default-sink %2\n"
        "set-default-source %3\n").arg(dir, sinkName, sourceName).arg(sampleRate).toUtf8());
    config.close();

    m_daemon = new QProcess(this);
    QStringList env = QProcess::systemEnvironment();
    env.append(QStringLiteral("HOME=") + dir);
    env.append(QStringLiteral("XDG_CONFIG_HOME=%1/config").arg(dir));
    env.append(QStringLiteral("PULSE_RUNTIME_PATH=%1/runtime").arg(dir));
    env.append(QStringLiteral("PULSE_STATE_PATH=%1/state").arg(dir));
    m_daemon->setEnvironment(env);
    m_daemon->setProcessChannelMode(QProcess::MergedChannels);
    m_daemon->setStandardOutputFile(dir + QStringLiteral("/server.log"));
    m_daemon->setChildProcessModifier(dieWithParent);
    m_daemon->start(QStringLiteral("pulseaudio"),
                    {QStringLiteral("-n"), QStringLiteral("-F"), config.fileName(),
                     QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                     QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-target=stderr")});
    if (!m_daemon->waitForStarted(startTimeoutMs))
        return fail(QStringLiteral("PulseAudio is not installed"));
    const QDeadlineTimer deadline(startTimeoutMs);
    while (!reachable()) {
        if (m_daemon->state() != QProcess::Running || deadline.hasExpired())
            return fail(QStringLiteral("PulseAudio did not start"));
        QThread::msleep(50);
    }
    qputenv("PULSE_SERVER", m_address.toUtf8());
    return true;
}

void SoundServer::stopPlaying()
{
    for (const QPointer<QProcess> &player : std::as_const(m_players)) {
        if (player) {
            player->kill();
            player->waitForFinished(2000);
            delete player.data();
        }
    }
    m_players.clear();
}

void SoundServer::stop()
{
    stopPlaying();
    if (m_daemon) {
        m_daemon->terminate();
        if (!m_daemon->waitForFinished(5000)) {
            m_daemon->kill();
            m_daemon->waitForFinished(2000);
        }
        delete m_daemon.data();
    }
    m_dir.reset();
}

bool SoundServer::isRunning() const
{
    return m_daemon && m_daemon->state() == QProcess::Running;
}

bool SoundServer::play(const QByteArray &samples)
{
    if (!isRunning())
        return false;
    auto *player = new QProcess(this);
    player->setEnvironment(clientEnvironment());
    player->setChildProcessModifier(dieWithParent);
    player->setStandardErrorFile(QProcess::nullDevice());
    // A short latency: a long one makes the null sink render in blocks of
    // seconds, and a recording would miss the start of the sound.
    player->start(QStringLiteral("pacat"),
                  {QStringLiteral("--playback"), QStringLiteral("--device=") + sinkName,
                   QStringLiteral("--latency-msec=30"), QStringLiteral("--format=s16le"),
                   QStringLiteral("--rate=%1").arg(sampleRate), QStringLiteral("--channels=1"),
                   QStringLiteral("--raw")});
    if (!player->waitForStarted(5000)) {
        delete player;
        return false;
    }
    player->write(samples);
    player->closeWriteChannel();
    connect(player, &QProcess::finished, player, &QObject::deleteLater);
    m_players.removeAll(nullptr);
    m_players.append(player);
    return true;
}

QByteArray SoundServer::listen(int ms)
{
    if (!isRunning())
        return {};
    QProcess recorder;
    recorder.setEnvironment(clientEnvironment());
    recorder.setChildProcessModifier(dieWithParent);
    recorder.setStandardErrorFile(QProcess::nullDevice());
    recorder.start(QStringLiteral("parec"),
                   {QStringLiteral("--device=") + sinkName + QStringLiteral(".monitor"),
                    QStringLiteral("--latency-msec=30"), QStringLiteral("--format=s16le"),
                    QStringLiteral("--rate=%1").arg(sampleRate), QStringLiteral("--channels=1"),
                    QStringLiteral("--raw")});
    if (!recorder.waitForStarted(5000))
        return {};
    QByteArray heard;
    QObject::connect(&recorder, &QProcess::readyReadStandardOutput, &recorder,
                     [&] { heard.append(recorder.readAllStandardOutput()); });
    // The event loop runs meanwhile: what this process plays goes on.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    recorder.terminate();
    recorder.waitForFinished(2000);
    heard.append(recorder.readAllStandardOutput());
    return heard;
}

QByteArray SoundServer::tone(double hz, int ms, double amplitude)
{
    const int count = sampleRate * ms / 1000;
    QByteArray samples(count * 2, Qt::Uninitialized);
    for (int i = 0; i < count; ++i) {
        const double value = amplitude * 32767.0 * std::sin(2.0 * M_PI * hz * i / sampleRate);
        qToLittleEndian(qint16(std::lround(value)), samples.data() + 2 * i);
    }
    return samples;
}

} // namespace zubrel
