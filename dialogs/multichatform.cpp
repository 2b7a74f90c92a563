#include "multichatform.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace zubrel::Internal {

MultichatForm buildMultichatForm(QDialog *dialog)
{
    MultichatForm form;
    form.vboxLayout = new QVBoxLayout(dialog);
    form.vboxLayout->setObjectName(QStringLiteral("vboxLayout"));
    form.vboxLayout->setSpacing(16);
    form.hboxLayout = new QHBoxLayout;
    form.hboxLayout->setObjectName(QStringLiteral("hboxLayout"));
    form.hboxLayout->setSpacing(16);
    form.imgMultichat = new QLabel(dialog);
    form.imgMultichat->setObjectName(QStringLiteral("imgMultichat"));
    form.imgMultichat->setFixedSize(186, 106);
    form.imgMultichat->setAlignment(Qt::AlignCenter);
    form.imgMultichat->setPixmap(QPixmap(QStringLiteral(":/multichat-logo")));
    form.hboxLayout->addWidget(form.imgMultichat);
    form.vboxLayout1 = new QVBoxLayout;
    form.vboxLayout1->setObjectName(QStringLiteral("vboxLayout1"));
    form.vboxLayout1->setSpacing(16);
    form.hboxLayout->addLayout(form.vboxLayout1);
    form.vboxLayout->addLayout(form.hboxLayout);
    form.hboxLayout1 = new QHBoxLayout;
    form.hboxLayout1->setObjectName(QStringLiteral("hboxLayout1"));
    form.hboxLayout1->setSpacing(16);
    form.hboxLayout1->addStretch(1);
    form.vboxLayout->addLayout(form.hboxLayout1);
    return form;
}

QPushButton *addFormButton(MultichatForm &form, QDialog *dialog, const char *name, const QString &text,
                           const QString &icon)
{
    auto *button = new QPushButton(QIcon(icon), text, dialog);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(110, 26);
    form.hboxLayout1->addWidget(button);
    return button;
}

} // namespace zubrel::Internal
