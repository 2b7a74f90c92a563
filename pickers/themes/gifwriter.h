#pragma once
// A small GIF89a writer for the generated emoticons: Qt reads GIF but has
// no writer. One global palette for all frames, full transparency only.
#include <QByteArray>
#include <QImage>
#include <QList>

namespace zubrel::themes {

struct GifFrame {
    QImage image;
    int delayMs = 100;
};

// Frames of equal size; loops forever. Empty result when frames is empty.
QByteArray writeGif(const QList<GifFrame> &frames);
// The LZW stream of GIF image data (without the leading code size byte).
QByteArray lzwEncode(const QByteArray &indices, int minCodeSize);

} // namespace zubrel::themes
