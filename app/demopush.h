#pragma once
// Push messages in the demo: the bots' short generated clips, and a tune
// played into the demo's private sound server while the user records, so
// that the recording has something to hear on a machine without a
// microphone.
#include <QByteArray>
#include <QObject>
#include <QPointer>

namespace zubrel {

class SoundServer;

class DemoPush : public QObject
{
    Q_OBJECT
public:
    // With a server, every recording the module starts hears a tune.
    explicit DemoPush(SoundServer *server, QObject *parent = nullptr);

    // A short WAVE clip (8 kHz, 8-bit, mono): a few notes, different for
    // each number.
    static QByteArray clip(int number);
    // The tune played into the server: 16-bit mono samples.
    static QByteArray tune();

private:
    QPointer<SoundServer> m_server;
};

} // namespace zubrel
