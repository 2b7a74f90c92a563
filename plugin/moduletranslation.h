#pragma once
// The module's texts in the user's language: zubrel_<language>.qm from the
// application's translations/ folder for QLocale() (the system's unless the
// host chose another), installed for as long as this object lives.

#include <QLocale>
#include <memory>

class QTranslator;

namespace zubrel {

class ModuleTranslation
{
public:
    ModuleTranslation();
    ~ModuleTranslation();
    ModuleTranslation(const ModuleTranslation &) = delete;
    ModuleTranslation &operator=(const ModuleTranslation &) = delete;

    // False when no translation matches (English texts stay).
    bool load(const QLocale &locale = QLocale());
    static QString folder();

private:
    std::unique_ptr<QTranslator> m_translator;
    bool m_installed = false;
};

} // namespace zubrel
