#include "multichatopen.h"

#include "dialogrunner.h"
#include "multichatform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedPointer>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zubrel {

MultichatOpen::MultichatOpen(QWidget *parent)
    : ZDialog2(parent)
{
    setObjectName(QStringLiteral("MultichatOpen"));
    Internal::MultichatForm form = Internal::buildMultichatForm(this);
    vboxLayout = form.vboxLayout;
    hboxLayout = form.hboxLayout;
    vboxLayout1 = form.vboxLayout1;
    hboxLayout1 = form.hboxLayout1;
    imgMultichat = form.imgMultichat;

    txtTitle = new QLabel(tr("Multi Chat Topic"), this);
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    inputName = new QTextEdit(this);
    inputName->setObjectName(QStringLiteral("inputName"));
    inputName->setMaximumHeight(50);
    inputName->setTabChangesFocus(true);
    vboxLayout1->addStretch(1);
    vboxLayout1->addWidget(txtTitle);
    vboxLayout1->addWidget(inputName);
    vboxLayout1->addStretch(1);

    btnInvite = Internal::addFormButton(form, this, "btnInvite", tr("&Send Invitation"),
                                        QStringLiteral(":/profile-32"));
    btnAdd = Internal::addFormButton(form, this, "btnAdd", tr("&Add"), QStringLiteral(":/addmulti-32"));
    btnAdd->hide();
    btnClose = Internal::addFormButton(form, this, "btnClose", tr("&Close"), QStringLiteral(":/delete-32"));

    setWindowTitle(tr("Open Multi Chat"));
    connect(btnInvite, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    resize(440, 200);
}

QString MultichatOpen::topic(QWidget *parent)
{
    QScopedPointer<MultichatOpen> dialog(new MultichatOpen(parent));
    dialog->inputName->setFocus();
    MultichatOpen *d = dialog.data();
    DialogRunner::Hooks hooks;
    hooks.apply = [d](const QVariantMap &fields) {
        const auto it = fields.find(QStringLiteral("topic"));
        if (it != fields.end())
            d->inputName->setPlainText(it->toString());
    };
    hooks.fields = [d] { return QVariantMap{{QStringLiteral("topic"), d->inputName->toPlainText()}}; };
    const int result = DialogRunner::run(d, QStringLiteral("MultichatOpen"), d->txtTitle->text(), hooks);
    return result == 1 ? d->inputName->toHtml() : QString();
}

} // namespace zubrel
