#include "zstatusbar.h"

#include <QLabel>

namespace zubrel {

ZStatusBar::ZStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("statusMessage"));
    m_label->setTextFormat(Qt::PlainText);
    addWidget(m_label, 1);
    setSizeGripEnabled(false);
}

void ZStatusBar::setMessage(const QString &text)
{
    if (m_label)
        m_label->setText(text);
}

QString ZStatusBar::message() const
{
    return m_label ? m_label->text() : QString();
}

} // namespace zubrel
