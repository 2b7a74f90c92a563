#pragma once
// Synthesised sounds for the emoticon themes and the push-message clips:
// 16-bit mono PCM WAVE files made of tones, chirps and noise bursts.
#include <QByteArray>
#include <QList>

namespace zubrel::themes {

constexpr int sampleRate = 22050;

struct Tone {
    double startHz = 440;
    double endHz = 440;  // a chirp when it differs from startHz
    int ms = 100;
    double noise = 0;    // 0..1 share of white noise
    double volume = 0.6;
};

// The tones one after another, each with a short fade in and out.
QByteArray synthesize(const QList<Tone> &tones);
QByteArray wavFile(const QByteArray &samples);

} // namespace zubrel::themes
