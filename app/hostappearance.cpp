#include "hostappearance.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>

#include "zdir.h"

// The icon's resource lives in a static library: nothing else pulls it in.
static void initIconResource()
{
    Q_INIT_RESOURCE(hostappearance);
}

namespace zubrel {

namespace {

// Fusion draws every control from the palette, so the whole demo turns dark
// whatever the desktop's own style would do.
void useDarkPalette()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette dark;
    const QColor window(0x2b, 0x2d, 0x30);
    const QColor base(0x1e, 0x1f, 0x22);
    const QColor text(0xe6, 0xe6, 0xe6);
    const QColor disabled(0x80, 0x80, 0x80);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::ToolTipBase, window);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, disabled);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, window);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::BrightText, QColor(0xff, 0x6b, 0x6b));
    dark.setColor(QPalette::Light, QColor(0x45, 0x47, 0x4a));
    dark.setColor(QPalette::Midlight, QColor(0x3a, 0x3c, 0x3f));
    dark.setColor(QPalette::Mid, QColor(0x25, 0x26, 0x29));
    dark.setColor(QPalette::Dark, QColor(0x18, 0x19, 0x1b));
    dark.setColor(QPalette::Shadow, Qt::black);
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x7a, 0xd6));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Link, QColor(0x6c, 0xb4, 0xff));
    dark.setColor(QPalette::LinkVisited, QColor(0xb0, 0x8c, 0xff));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, disabled);
    QApplication::setPalette(dark);
}

} // namespace

HostAppearance::HostAppearance()
    : m_langOption(QStringLiteral("lang"),
                   QStringLiteral("Language of the chat module and the demo (\"de\", \"en\"); the system's by default."),
                   QStringLiteral("LANGUAGE"))
    , m_darkOption(QStringLiteral("dark"), QStringLiteral("Use a dark palette instead of the system's."))
{
}

HostAppearance::~HostAppearance()
{
    if (m_translatorInstalled)
        QCoreApplication::removeTranslator(&m_translator);
    if (m_qtTranslatorInstalled)
        QCoreApplication::removeTranslator(&m_qtTranslator);
}

void HostAppearance::addOptions(QCommandLineParser *parser) const
{
    parser->addOptions({m_langOption, m_darkOption});
}

bool HostAppearance::apply(const QCommandLineParser &parser, bool replay, QString *error)
{
    initIconResource();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zubrel-host/zubrel.svg")));

    if (parser.isSet(m_darkOption))
        useDarkPalette();

    QLocale locale;
    if (parser.isSet(m_langOption)) {
        locale = QLocale(parser.value(m_langOption));
        if (locale.language() == QLocale::C) {
            *error = QStringLiteral("--lang needs a language such as \"de\" or \"en\"");
            return false;
        }
    } else if (replay) {
        locale = QLocale::c();
    }
    // The module picks its translation from the default locale when it starts.
    QLocale::setDefault(locale);
    // English is the source language, C the replays': neither has files.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return true;
    if (m_translator.load(locale, QStringLiteral("zubrel"), QStringLiteral("_"),
                          ZDir::applicationPath() + QLatin1String("/translations")))
        m_translatorInstalled = QCoreApplication::installTranslator(&m_translator);
    if (m_qtTranslator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        m_qtTranslatorInstalled = QCoreApplication::installTranslator(&m_qtTranslator);
    return true;
}

} // namespace zubrel
