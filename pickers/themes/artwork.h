#pragma once
// Drawing of the generated emoticons: faces put together from eyes, mouth
// and extras, and a few objects, all on a 24 x 24 canvas.
#include <QColor>
#include <QImage>
#include <functional>

namespace zubrel::themes {

enum class Eyes { Dots, Happy, Wink, Wide, Shades, Hearts, Cross, Closed, Up, Angry, Glasses, Spiral };
enum class Mouth { Smile, Grin, Sad, O, Tongue, Flat, Kiss, Teeth, Wavy, Smirk, Shout, Zip, Laugh };

enum Extra {
    NoExtra = 0,
    Tear = 1,
    Sweat = 2,
    Blush = 4,
    Halo = 8,
    Horns = 16,
    Zzz = 32,
    Question = 64,
    CatEars = 128,
    BearEars = 256,
    BunnyEars = 512,
    Snout = 1024,
    Whiskers = 2048,
};

struct Face {
    QColor colour = QColor(255, 210, 60);
    Eyes eyes = Eyes::Dots;
    Mouth mouth = Mouth::Smile;
    int extras = NoExtra;
};

constexpr int canvas = 24;

using Painter = std::function<void(QPainter &, int frame)>;

// scale 2 draws the same picture for screens with two device pixels to the point.
QImage render(const Painter &paint, int frame = 0, int scale = 1);
Painter face(const Face &style);
// Animated faces: frame decides the pose.
Painter winkingFace();
Painter cryingFace();
Painter laughingFace();
Painter beatingHeart();
// Objects by name: heart, brokenheart, star, sun, moon, rain, flower,
// coffee, beer, cake, gift, thumbsup, thumbsdown, music, phone, skull.
Painter object(const QString &name);

} // namespace zubrel::themes
