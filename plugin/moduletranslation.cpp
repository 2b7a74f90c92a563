#include "moduletranslation.h"

#include <QCoreApplication>
#include <QTranslator>

#include "zdir.h"

namespace zubrel {

ModuleTranslation::ModuleTranslation()
    : m_translator(std::make_unique<QTranslator>())
{
}

ModuleTranslation::~ModuleTranslation()
{
    // The translator's code lives in the module library, which the host
    // may unload right after: it must leave the application's list first.
    if (m_installed)
        QCoreApplication::removeTranslator(m_translator.get());
}

bool ModuleTranslation::load(const QLocale &locale)
{
    if (m_installed)
        return true;
    // English is the source language: no file, and none of another
    // language picked by a loose match.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return false;
    if (!m_translator->load(locale, QStringLiteral("zubrel"), QStringLiteral("_"), folder()))
        return false;
    m_installed = QCoreApplication::installTranslator(m_translator.get());
    return m_installed;
}

QString ModuleTranslation::folder()
{
    return ZDir::applicationPath() + QLatin1String("/translations");
}

} // namespace zubrel
