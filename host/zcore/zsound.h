#pragma once
// Sound playback (WAV files, also from resources) and microphone recording.
// A recording is captured from the system's default input into memory;
// createFile() then writes what was captured as a WAVE file, so the caller
// picks the file name after it knows the recording is wanted. Where the
// machine has no audio device, isAvailable() is false and every call is a
// harmless no-op. Every play/record/stop/save is reported through
// ZHostEvents.

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
    // True when the system offers an input to record from.
    bool canRecord() const;
    void play(const QString &path);
    // Starts capturing from the input (device 0 is the system default);
    // a running capture is restarted.
    void record();
    // Stops every playing sound and the capture; the captured samples stay
    // until the next record().
    void stop();
    // Writes the last capture to path as a WAVE file. False, and no file,
    // when nothing was captured or the file cannot be written.
    bool createFile(const QString &path);
    void setDevice(int device);
    void setBits(int bits);
    void setChannels(int channels);
    void setSampleRate(int rate);
    // The capture stops by itself after this many milliseconds.
    void setRecordTime(int milliseconds);
    bool isRecording() const;
    // Current input level 0..100 while recording.
    int level() const;
    // Bytes captured by the last record().
    qsizetype capturedBytes() const;

signals:
    // The input level in percent, for every block of captured samples.
    void pegelChanged(int pegel);
    void recordingFinished();

private:
    ZSound();
    ~ZSound() override;
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace zubrel
