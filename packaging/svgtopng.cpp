// svgtopng SVG PNG SIZE [SIZE ...]: draws a picture at each size; with more
// than one size, PNG is a pattern in which %1 is replaced by the size.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: svgtopng SVG PNG SIZE [SIZE ...]\n");
        return 64;
    }
    QSvgRenderer svg(args.at(1));
    if (!svg.isValid()) {
        std::fprintf(stderr, "svgtopng: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    for (qsizetype i = 3; i < args.size(); ++i) {
        const int size = args.at(i).toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString out = args.size() > 4 ? args.at(2).arg(size) : args.at(2);
        if (!image.save(out)) {
            std::fprintf(stderr, "svgtopng: cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
