#pragma once
// Sound playback (WAV files) and microphone recording into a WAV file. Where
// the machine has no audio device, isAvailable() is false and every call is a
// harmless no-op. Every play/record/stop is reported through ZHostEvents.

#include <QObject>
#include <QString>
#include <memory>

namespace zubrel {

class ZSound : public QObject
{
    Q_OBJECT
public:
    static ZSound *instance();

    bool isAvailable() const;
    void play(const QString &path);
    void record();
    void stop();
    // Where the next record() writes its WAV file.
    void createFile(const QString &path);
    void setDevice(int device);
    void setBits(int bits);
    void setChannels(int channels);
    void setSampleRate(int rate);
    // Recording stops by itself after this many milliseconds.
    void setRecordTime(int milliseconds);
    bool isRecording() const;
    // Current input level 0..100 while recording.
    int level() const;

signals:
    void recordingFinished(const QString &path);

private:
    ZSound();
    ~ZSound() override;
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace zubrel
