// zubrel-dictionary-server: serves the dictionaries built from the system's
// hunspell packages on the loopback interface, for the demo host's
// dictionary installer.

#include "dictionaryserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

using namespace zubrel;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zubrel-dictionary-server"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Loopback dictionary download server of the zubrel demo"));
    parser.addHelpOption();
    const QCommandLineOption rootOption(QStringLiteral("root"), QStringLiteral("Folder with <code>/content listings."),
                                        QStringLiteral("DIR"),
                                        QCoreApplication::applicationDirPath() + QStringLiteral("/../dictionary-server"));
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Port on 127.0.0.1 (0: any free one)."),
                                        QStringLiteral("PORT"), QStringLiteral("0"));
    const QCommandLineOption portFileOption(QStringLiteral("port-file"),
                                            QStringLiteral("Write the chosen port to FILE once listening."),
                                            QStringLiteral("FILE"));
    parser.addOptions({rootOption, portOption, portFileOption});
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        qCritical("--port needs a number from 0 to 65535");
        return 64;
    }
    const QString root = QDir(parser.value(rootOption)).absolutePath();
    if (!QDir(root).exists()) {
        qCritical("no dictionary folder %s", qPrintable(root));
        return 1;
    }

    DictionaryServer server;
    server.setRoot(root);
    QString error;
    if (!server.listen(quint16(port), &error)) {
        qCritical("cannot listen: %s", qPrintable(error));
        return 1;
    }
    if (parser.isSet(portFileOption)) {
        // Written whole or not at all: a script polls for this file.
        QSaveFile file(parser.value(portFileOption));
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray::number(server.port()) + '\n') < 0
            || !file.commit()) {
            qCritical("cannot write %s", qPrintable(parser.value(portFileOption)));
            return 1;
        }
    }
    qInfo("Serving %s on %s", qPrintable(root), qPrintable(server.url()));
    return QCoreApplication::exec();
}
