#pragma once
// Status bar of the client's windows: one permanent message label on the left
// (status texts that stay until replaced), temporary messages still work as
// in QStatusBar.

#include <QPointer>
#include <QStatusBar>

#include <QLabel>

namespace zubrel {

class ZStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit ZStatusBar(QWidget *parent = nullptr);

    void setMessage(const QString &text);
    QString message() const;
    QLabel *messageLabel() const { return m_label; }

private:
    QPointer<QLabel> m_label;
};

} // namespace zubrel
