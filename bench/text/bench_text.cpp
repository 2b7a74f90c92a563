// Prints "BENCH <name> <value> <unit>" lines:
//   links_99k_ms        send conversion (shortcuts, links, body) of 99 KiB
//   emoticon_typing_ms  replacement after a blank typed at the end of 10,000 characters
//   picker_open_ms      building and first opening of the picker (2 themes, 50 favourites)
#include "texttohtml.h"
#include "zdir.h"
#include "zsmileyfavorites.h"
#include "zsmileypicker.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTextStream>
#include <algorithm>

using namespace zubrel;

namespace {

QString sampleText(int size, quint32 seed)
{
    static const QStringList pieces{
        "hello", "world", "www.zubrel.de", "anna@zubrel.com", "+49-30/1234567", "01.02.2003",
        "0301234567", "10880", "412345", "http://example.org/a?b=1&c=2", "meeting", "tomorrow",
        "at", "12:30", "bring", "the", "report.", "zubrel.com", "mailto:bob@zubrel.de", "1234567"};
    QRandomGenerator random(seed);
    QString text;
    text.reserve(size + 64);
    while (text.size() < size) {
        text += pieces.at(random.bounded(pieces.size()));
        text += random.bounded(12) == 0 ? QLatin1Char('\n') : QLatin1Char(' ');
    }
    text.truncate(size);
    return text;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void print(const char *name, double value)
{
    QTextStream(stdout) << "BENCH " << name << ' ' << QString::number(value, 'f', 2) << " ms\n";
}

double linksRun(ZSmileyPicker *picker)
{
    QTextEdit input;
    TextToHtml convert(&input);
    convert.setPicker(picker);
    input.setPlainText(sampleText(99 * 1024 - 1, 7));
    input.moveCursor(QTextCursor::End);
    QElapsedTimer timer;
    timer.start();
    const QString html = convert.sendHtml();
    const double ms = timer.nsecsElapsed() / 1e6;
    if (!html.contains(QLatin1String("<a href=")))
        qFatal("no links made");
    return ms;
}

double typingRun(ZSmileyPicker *picker, int run)
{
    QTextEdit input;
    TextToHtml convert(&input);
    convert.setPicker(picker);
    input.setPlainText(sampleText(10000 - 3, 11) + (run % 2 ? QStringLiteral(" :)") : QStringLiteral(" ok")));
    input.moveCursor(QTextCursor::End);
    input.insertPlainText(QStringLiteral(" "));
    QElapsedTimer timer;
    timer.start();
    convert.replaceEmoticonShortcuts(true);
    return timer.nsecsElapsed() / 1e6;
}

void makeFavorites(int count)
{
    for (int i = 0; i < count; ++i) {
        QImage image(24, 24, QImage::Format_ARGB32);
        image.fill(QColor::fromHsv(i * 7 % 360, 200, 230));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        QFile file(ZDir::smileysPath(true) + QLatin1Char('/') + ZSmileyFavorites::checksumName(bytes)
                   + QStringLiteral(".png"));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir profile;
    qputenv("ZUBREL_PROFILE", profile.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("ZUBREL_APP_DIR"))
        qputenv("ZUBREL_APP_DIR", ZUBREL_BENCH_APP_DIR);
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    makeFavorites(50);

    QElapsedTimer timer;
    timer.start();
    ZSmileyPicker picker;
    picker.setChecked(true);
    picker.slotSmileys();
    const double open = timer.nsecsElapsed() / 1e6;
    picker.popup()->close();

    QList<double> links;
    for (int i = 0; i < 7; ++i)
        links.append(linksRun(&picker));
    QList<double> typing;
    for (int i = 0; i < 21; ++i)
        typing.append(typingRun(&picker, i));

    print("links_99k_ms", median(links));
    print("emoticon_typing_ms", median(typing));
    print("picker_open_ms", open);
    return 0;
}
