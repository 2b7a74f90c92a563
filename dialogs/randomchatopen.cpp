#include "randomchatopen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

#include "dialogrunner.h"

namespace zubrel {

namespace {

constexpr int labelWidth = 80;
constexpr int comboHeight = 22;

// One criteria row: a fixed-width label and its combo box.
QHBoxLayout *criteriaRow(const char *layoutName, QLabel *label, QComboBox *combo)
{
    auto *row = new QHBoxLayout;
    row->setObjectName(QString::fromLatin1(layoutName));
    label->setFixedWidth(labelWidth);
    combo->setFixedHeight(comboHeight);
    row->addWidget(label);
    row->addWidget(combo);
    return row;
}

} // namespace

RandomChatOpen::RandomChatOpen(QWidget *parent)
    : ZDialog2(parent)
{
    setupUi();

    setWindowTitle(tr("Create Random Chat"));
    setWindowIcon(QIcon(QStringLiteral(":/zubrel_me-48")));
    imgRandomChat->setPixmap(QPixmap(QStringLiteral(":/zubrel_me-48")));
    txtTitle->setText(
        tr("<b>What is \"Random Chat\"?</b><br><br>Random Chat is a fun way to get to know new people! You will be "
           "connected randomly to other zubrel users and can start chatting immediately. Throughout the session, "
           "your identity remains anonymous. Just give it a try!"));

    // The server matches without criteria, and the dialog closes before the
    // search starts: neither the rows nor the searching notice are shown.
    for (QWidget *hidden : {static_cast<QWidget *>(label), static_cast<QWidget *>(inputGender),
                            static_cast<QWidget *>(label_2), static_cast<QWidget *>(inputLanguage),
                            static_cast<QWidget *>(txtTitle_2)})
        hidden->hide();

    btnSearch->setIcon(QIcon(QStringLiteral(":/search-16")));
    connect(btnSearch, &QPushButton::clicked, this, &QDialog::accept);
    resize(350, 200);
}

int RandomChatOpen::ask()
{
    // Nothing to fill in: a script's answer is only Search or not.
    const QString text = QTextDocumentFragment::fromHtml(txtTitle->text()).toPlainText();
    return DialogRunner::run(this, QStringLiteral("RandomChatOpen"), text, {});
}

void RandomChatOpen::setupUi()
{
    setObjectName(QStringLiteral("RandomChatOpen"));
    QDialog::setWindowTitle(tr("Instant Chat Search"));

    auto *top = new QVBoxLayout(this);
    top->setSpacing(6);
    top->setContentsMargins(9, 9, 9, 9);

    auto *hboxLayout = new QHBoxLayout;
    hboxLayout->setObjectName(QStringLiteral("hboxLayout"));
    imgRandomChat = new QLabel(this);
    imgRandomChat->setObjectName(QStringLiteral("imgRandomChat"));
    imgRandomChat->setFixedSize(80, 55);
    hboxLayout->addWidget(imgRandomChat, 0, Qt::AlignTop);

    auto *vboxLayout = new QVBoxLayout;
    vboxLayout->setObjectName(QStringLiteral("vboxLayout"));
    vboxLayout->setSpacing(6);
    vboxLayout->setContentsMargins(0, 0, 0, 0);
    txtTitle = new QLabel(this);
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    txtTitle->setWordWrap(true);
    txtTitle->setTextFormat(Qt::RichText);
    vboxLayout->addWidget(txtTitle);

    label = new QLabel(tr("Gender:"), this);
    label->setObjectName(QStringLiteral("label"));
    inputGender = new QComboBox(this);
    inputGender->setObjectName(QStringLiteral("inputGender"));
    inputGender->addItems({tr("Female"), tr("Male"), tr("Ignore or select one")});
    vboxLayout->addLayout(criteriaRow("hboxLayout1", label, inputGender));

    label_2 = new QLabel(tr("Language:"), this);
    label_2->setObjectName(QStringLiteral("label_2"));
    inputLanguage = new QComboBox(this);
    inputLanguage->setObjectName(QStringLiteral("inputLanguage"));
    inputLanguage->addItems({tr("German"), tr("Ignore or select one")});
    vboxLayout->addLayout(criteriaRow("hboxLayout2", label_2, inputLanguage));
    vboxLayout->addStretch();
    // The explanation takes the width the picture leaves.
    hboxLayout->addLayout(vboxLayout, 1);
    top->addLayout(hboxLayout, 1);

    auto *hboxLayout3 = new QHBoxLayout;
    hboxLayout3->setObjectName(QStringLiteral("hboxLayout3"));
    txtTitle_2 = new QLabel(tr("Searching ..."), this);
    txtTitle_2->setObjectName(QStringLiteral("txtTitle_2"));
    hboxLayout3->addWidget(txtTitle_2);
    hboxLayout3->addStretch();
    btnSearch = new QPushButton(tr("&Search"), this);
    btnSearch->setObjectName(QStringLiteral("btnSearch"));
    btnSearch->setDefault(true);
    hboxLayout3->addWidget(btnSearch);
    top->addLayout(hboxLayout3);
}

} // namespace zubrel
