#include "qtbuttonnames.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QWidget>

namespace zubrel {

void nameQtButtons(QWidget *root)
{
    for (QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (!button->accessibleName().isEmpty() || !button->text().isEmpty())
            continue;
        const QString name = button->objectName();
        if (name == QLatin1String("qt_toolbar_ext_button"))
            button->setAccessibleName(QCoreApplication::translate("zubrel::QtButtonNames", "More tools"));
        else if (name == QLatin1String("qt_menubar_ext_button"))
            button->setAccessibleName(QCoreApplication::translate("zubrel::QtButtonNames", "More menus"));
        else if (button->inherits("QLineEditIconButton"))
            button->setAccessibleName(QCoreApplication::translate("zubrel::QtButtonNames", "Clear"));
    }
}

} // namespace zubrel
