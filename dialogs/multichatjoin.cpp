#include "multichatjoin.h"

#include "dialogrunner.h"
#include "multichatform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace zubrel {

MultichatJoin::MultichatJoin(QWidget *parent)
    : ZDialog2(parent)
{
    setObjectName(QStringLiteral("MultichatJoin"));
    Internal::MultichatForm form = Internal::buildMultichatForm(this);
    vboxLayout = form.vboxLayout;
    hboxLayout = form.hboxLayout;
    vboxLayout1 = form.vboxLayout1;
    hboxLayout1 = form.hboxLayout1;
    imgMultichat = form.imgMultichat;

    txtTitle = new QLabel(tr("<b>%1</b>"), this);
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    txtTitle->setTextFormat(Qt::RichText);
    txtJoin = new QLabel(tr("has invited you to a Multi Chat session.<br><br>Do you want to join?"), this);
    txtJoin->setObjectName(QStringLiteral("txtJoin"));
    txtJoin->setTextFormat(Qt::RichText);
    txtJoin->setWordWrap(true);
    vboxLayout1->addStretch(1);
    vboxLayout1->addWidget(txtTitle);
    vboxLayout1->addWidget(txtJoin);
    vboxLayout1->addStretch(1);

    btnJoin = Internal::addFormButton(form, this, "btnJoin", tr("&Join"), QStringLiteral(":/addmulti-32"));
    btnList = Internal::addFormButton(form, this, "btnList", tr("&List Members"), QStringLiteral(":/profile-32"));
    btnList->hide();
    btnReject = Internal::addFormButton(form, this, "btnReject", tr("&Decline"), QStringLiteral(":/delete-32"));
    btnJoin->setDefault(true);

    setWindowTitle(tr("Join Multi Chat"));
    connect(btnJoin, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnReject, &QPushButton::clicked, this, &QDialog::reject);
    resize(440, 200);
}

int MultichatJoin::ask()
{
    // The inviter's name as the user reads it, rich text removed.
    const QString inviter = QTextDocumentFragment::fromHtml(txtTitle->text()).toPlainText();
    return DialogRunner::run(this, QStringLiteral("MultichatJoin"), inviter, {});
}

} // namespace zubrel
