// Builds the emoticon themes, their sounds and the push-message theme into
// the application folder:
//   themegen <app dir> <staging dir> <rcc>
// Everything is drawn and synthesised here, so the build ships no foreign
// artwork or recordings.
#include "artwork.h"
#include "gifwriter.h"
#include "wavsynth.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextStream>

using namespace zubrel::themes;

namespace {

struct Emoticon {
    QString file;      // without suffix
    QString tr;        // balloon header
    QString shortcut;
    QString shortcutex;
    QString sound;
    Painter paint;
    int frames = 1;    // more than one: an animated GIF
    int delayMs = 150;
};

struct Clip {
    QString file;
    QString title;
    QList<Tone> tones;
};

Face f(Eyes e, Mouth m, int extras = NoExtra, QColor colour = QColor(255, 210, 60))
{
    return Face{colour, e, m, extras};
}

QList<Emoticon> defaultTheme()
{
    const QColor red(240, 90, 60);
    const QColor green(170, 210, 90);
    const QColor blue(150, 200, 250);
    return {
        {"smile", "Smile", ":-) :)", ":o) (:", "", face(f(Eyes::Dots, Mouth::Smile))},
        {"sad", "Sad", ":-( :(", ":o(", "", face(f(Eyes::Dots, Mouth::Sad))},
        {"wink", "Wink", ";-) ;)", "", "", winkingFace(), 3, 400},
        {"grin", "Big grin", ":-D :D", ":oD", "laugh.wav", face(f(Eyes::Dots, Mouth::Grin))},
        {"tongue", "Sticking out tongue", ":-P :P", ":-p", "", face(f(Eyes::Dots, Mouth::Tongue))},
        {"surprise", "Surprised", ":-O :O", ":-o", "boing.wav", face(f(Eyes::Wide, Mouth::O))},
        {"angry", "Angry", ">:( >:-(", "", "grr.wav", face(f(Eyes::Angry, Mouth::Sad, NoExtra, red))},
        {"cool", "Cool", "8-) B-)", "", "", face(f(Eyes::Shades, Mouth::Smile))},
        {"cry", "Crying", ":'( ;-(", ":'-(", "sob.wav", cryingFace(), 4, 150},
        {"kiss", "Kiss", ":-* :*", "", "kiss.wav", face(f(Eyes::Closed, Mouth::Kiss, Blush))},
        {"heart", "Heart", "<3", "(L)", "", beatingHeart(), 4, 120},
        {"brokenheart", "Broken heart", "</3", "(U)", "", object("brokenheart")},
        {"confused", "Confused", ":-S :S", "", "", face(f(Eyes::Dots, Mouth::Wavy))},
        {"neutral", "Speechless", ":-| :|", "", "", face(f(Eyes::Dots, Mouth::Flat))},
        {"blush", "Embarrassed", ":-$ :$", "", "", face(f(Eyes::Happy, Mouth::Flat, Blush))},
        {"angel", "Angel", "O:-) O:)", "(A)", "", face(f(Eyes::Happy, Mouth::Smile, Halo))},
        {"devil", "Devil", "3:-) >:-)", "", "", face(f(Eyes::Angry, Mouth::Smirk, Horns, red))},
        {"sleepy", "Sleepy", "|-) (sleep)", "", "", face(f(Eyes::Closed, Mouth::Flat, Zzz))},
        {"sick", "Sick", ":-& (sick)", "", "", face(f(Eyes::Spiral, Mouth::Wavy, NoExtra, green))},
        {"laugh", "Laughing", "xD XD", "", "laugh.wav", laughingFace(), 2, 200},
        {"eyeroll", "Rolling eyes", "8-| (eyeroll)", "", "", face(f(Eyes::Up, Mouth::Flat))},
        {"nerd", "Nerd", "8-B (nerd)", "", "", face(f(Eyes::Glasses, Mouth::Teeth))},
        {"smirk", "Smirk", ":-> :>", "", "", face(f(Eyes::Dots, Mouth::Smirk))},
        {"shout", "Shouting", ":-@ :@", "", "", face(f(Eyes::Angry, Mouth::Shout, NoExtra, red))},
        {"thinking", "Thinking", ":-? (think)", "", "", face(f(Eyes::Up, Mouth::Flat, Question))},
        {"sweat", "Phew", "(sweat)", "^^;", "", face(f(Eyes::Happy, Mouth::Smile, Sweat))},
        {"teeth", "Showing teeth", ":-# (teeth)", "", "", face(f(Eyes::Dots, Mouth::Teeth))},
        {"inlove", "In love", "(inlove)", "*-*", "", face(f(Eyes::Hearts, Mouth::Smile, Blush))},
        {"dead", "Knocked out", "X-( (dead)", "", "", face(f(Eyes::Cross, Mouth::O))},
        {"cold", "Freezing", ":-! (cold)", "", "", face(f(Eyes::Closed, Mouth::Zip, NoExtra, blue))},
        {"zipped", "Lips sealed", ":-X :X", "", "", face(f(Eyes::Dots, Mouth::Zip))},
        {"star", "Star", "(*) (star)", "", "", object("star")},
        {"sun", "Sunshine", "(sun)", "(#)", "", object("sun")},
        {"moon", "Good night", "(moon)", "(S)", "", object("moon")},
        {"rain", "Rain", "(rain)", "(st)", "", object("rain")},
        {"flower", "Flower", "@}-;-- (flower)", "(F)", "", object("flower")},
        {"coffee", "Coffee", "(coffee)", "(C)", "", object("coffee")},
        {"beer", "Beer", "(beer)", "(B)", "", object("beer")},
        {"cake", "Birthday cake", "(cake)", "(^)", "", object("cake")},
        {"gift", "Present", "(gift)", "(G)", "", object("gift")},
        {"thumbsup", "Thumbs up", "(y) (ok)", "", "", object("thumbsup")},
        {"thumbsdown", "Thumbs down", "(n)", "", "", object("thumbsdown")},
        {"music", "Music", "(music)", "(8)", "", object("music")},
        {"phone", "Call me", "(phone)", "(mp)", "", object("phone")},
        {"skull", "Skull", "(skull)", "", "", object("skull")},
    };
}

QList<Emoticon> critterTheme()
{
    const QColor cat(250, 170, 80);
    const QColor bear(170, 120, 70);
    const QColor frog(120, 200, 90);
    const QColor pig(250, 170, 190);
    const QColor bunny(235, 235, 240);
    return {
        {"cat-smile", "Happy cat", "(cat)", "=^.^=", "", face(f(Eyes::Happy, Mouth::Smile, CatEars | Whiskers, cat))},
        {"cat-sad", "Sad cat", "(sadcat)", "", "", face(f(Eyes::Dots, Mouth::Sad, CatEars | Whiskers | Tear, cat))},
        {"cat-wink", "Cheeky cat", "(winkcat)", "", "", face(f(Eyes::Wink, Mouth::Tongue, CatEars | Whiskers, cat))},
        {"bear", "Bear", "(bear)", "", "", face(f(Eyes::Dots, Mouth::Smile, BearEars | Snout, bear))},
        {"bear-sleepy", "Sleepy bear", "(sleepybear)", "", "", face(f(Eyes::Closed, Mouth::O, BearEars | Snout | Zzz, bear))},
        {"frog", "Frog", "(frog)", "", "", face(f(Eyes::Wide, Mouth::Grin, NoExtra, frog))},
        {"pig", "Pig", "(pig)", "", "", face(f(Eyes::Dots, Mouth::Flat, BearEars | Snout, pig))},
        {"bunny", "Bunny", "(bunny)", "", "", face(f(Eyes::Dots, Mouth::Teeth, BunnyEars | Blush, bunny))},
        {"owl", "Owl", "(owl)", "", "", face(f(Eyes::Glasses, Mouth::Kiss, CatEars, bear))},
        {"alien", "Alien", "(alien)", "", "", face(f(Eyes::Shades, Mouth::Flat, NoExtra, frog))},
    };
}

QList<Clip> pushClips()
{
    return {
        {"fanfare", "Fanfare",
         {{523, 523, 150}, {659, 659, 150}, {784, 784, 150}, {1047, 1047, 450}}},
        {"doorbell", "Door bell", {{880, 880, 350, 0, 0.5}, {698, 698, 600, 0, 0.5}}},
        {"applause", "Applause",
         {{1000, 1000, 90, 0.95}, {900, 900, 70, 0.9, 0.3}, {1200, 1200, 110, 0.95},
          {800, 800, 60, 0.9, 0.3}, {1100, 1100, 120, 0.95}, {1000, 1000, 90, 0.95, 0.4}}},
        {"drumroll", "Drum roll",
         {{110, 90, 60, 0.7}, {110, 90, 60, 0.7}, {110, 90, 60, 0.7}, {110, 90, 60, 0.7},
          {110, 90, 60, 0.7}, {110, 90, 60, 0.7}, {220, 80, 400, 0.5, 0.8}}},
        {"whistle", "Whistle", {{1200, 2400, 350}, {2400, 1000, 450}}},
    };
}

QMap<QString, QList<Tone>> smileySounds()
{
    return {
        {"laugh.wav", {{600, 500, 120}, {0, 0, 60, 0, 0}, {600, 500, 120}, {0, 0, 60, 0, 0}, {650, 450, 180}}},
        {"kiss.wav", {{3000, 1500, 60, 0.7}, {400, 300, 40, 0.2}}},
        {"grr.wav", {{90, 110, 500, 0.4, 0.7}}},
        {"sob.wav", {{500, 350, 300}, {480, 330, 350}}},
        {"boing.wav", {{200, 900, 250}, {900, 400, 200}}},
    };
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QString escape(const QString &text)
{
    return text.toHtmlEscaped();
}

QByteArray picture(const Emoticon &e, int scale, QString *suffix)
{
    if (e.frames > 1) {
        QList<GifFrame> frames;
        for (int i = 0; i < e.frames; ++i)
            frames.append({render(e.paint, i, scale), i == 0 ? e.delayMs * 3 : e.delayMs});
        *suffix = QStringLiteral("gif");
        return writeGif(frames);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    render(e.paint, 0, scale).save(&buffer, "PNG");
    *suffix = QStringLiteral("png");
    return png;
}

// Writes one theme: pictures and qrc into the staging folder, the XML and
// the compiled resource file into the application folder.
bool writeTheme(const QString &app, const QString &stage, const QString &rcc, const QString &theme,
                const QString &title, const QList<Emoticon> &emoticons, const QList<Clip> &clips)
{
    const QString dir = QStringLiteral("%1/%2").arg(stage, theme);
    QDir(dir).removeRecursively();
    QString qrc = QStringLiteral("<RCC>\n  <qresource prefix=\"/smileys/%1\">\n").arg(theme);
    QString xml;
    QTextStream out(&xml);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<smileys>\n  <name>" << escape(title)
        << "</name>\n  <author>Zubrel</author>\n";
    int id = 0;
    for (const Emoticon &e : emoticons) {
        QString suffix;
        const QByteArray data = picture(e, 1, &suffix);
        const QString file = e.file + QLatin1Char('.') + suffix;
        // <name>@2x beside each picture: Qt shows it on screens with two
        // device pixels to the point instead of enlarging the first.
        const QString sharp = e.file + QStringLiteral("@2x.") + suffix;
        if (!writeFile(dir + QLatin1Char('/') + file, data)
            || !writeFile(dir + QLatin1Char('/') + sharp, picture(e, 2, &suffix)))
            return false;
        qrc += QStringLiteral("    <file>%1</file>\n    <file>%2</file>\n").arg(file, sharp);
        out << "  <image id=\"" << ++id << "\" name=\":/smileys/" << theme << '/' << file << "\" tr=\""
            << escape(e.tr) << "\" shortcut=\"" << escape(e.shortcut) << "\"";
        if (!e.shortcutex.isEmpty())
            out << " shortcutex=\"" << escape(e.shortcutex) << "\"";
        if (!e.sound.isEmpty())
            out << " sound=\"" << e.sound << "\"";
        out << " />\n";
    }
    out << "</smileys>\n";
    qrc += QStringLiteral("  </qresource>\n");
    if (!clips.isEmpty()) {
        qrc += QStringLiteral("  <qresource prefix=\"/pushmessages/%1\">\n").arg(theme);
        QString push;
        QTextStream pout(&push);
        pout << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<pushmessages>\n  <name>Push Messages</name>\n"
             << "  <author>Zubrel</author>\n";
        int clipId = 0;
        for (const Clip &clip : clips) {
            const QString file = clip.file + QStringLiteral(".wav");
            if (!writeFile(dir + QStringLiteral("/clips/") + file, wavFile(synthesize(clip.tones))))
                return false;
            qrc += QStringLiteral("    <file alias=\"%1\">clips/%1</file>\n").arg(file);
            pout << "  <image id=\"" << ++clipId << "\" name=\":/pushmessages/" << theme << '/' << file
                 << "\" shortcut=\"" << escape(clip.title) << "\" />\n";
        }
        pout << "</pushmessages>\n";
        qrc += QStringLiteral("  </qresource>\n");
        if (!writeFile(QStringLiteral("%1/pushmessages/%2/pushmessages.xml").arg(app, theme), push.toUtf8()))
            return false;
    }
    qrc += QStringLiteral("</RCC>\n");
    if (!writeFile(dir + QStringLiteral("/smileys.qrc"), qrc.toUtf8())
        || !writeFile(QStringLiteral("%1/smileys/%2/smileys.xml").arg(app, theme), xml.toUtf8()))
        return false;
    const QString res = QStringLiteral("%1/smileys/%2/smileys.res").arg(app, theme);
    return QProcess::execute(rcc, {QStringLiteral("--binary"), QStringLiteral("-o"), res,
                                   dir + QStringLiteral("/smileys.qrc")})
           == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: themegen <app dir> <staging dir> <rcc>\n";
        return 2;
    }
    const QString appDir = args.at(1);
    const QString stage = args.at(2);
    const QString rcc = args.at(3);
    if (!writeTheme(appDir, stage, rcc, QStringLiteral("default"), QStringLiteral("Zubrel Classics"),
                    defaultTheme(), pushClips())
        || !writeTheme(appDir, stage, rcc, QStringLiteral("critters"), QStringLiteral("Critters"),
                       critterTheme(), {})) {
        QTextStream(stderr) << "themegen: could not write the themes\n";
        return 1;
    }
    const QMap<QString, QList<Tone>> sounds = smileySounds();
    for (auto it = sounds.cbegin(); it != sounds.cend(); ++it) {
        if (!writeFile(QStringLiteral("%1/sounds/standard/smilies/%2").arg(appDir, it.key()),
                       wavFile(synthesize(it.value()))))
            return 1;
    }
    return 0;
}
