#include "zdialog2.h"

#include <QCoreApplication>

namespace zubrel {

ZDialog2::ZDialog2(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void ZDialog2::setWindowTitle(const QString &title)
{
    QDialog::setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
}

} // namespace zubrel
