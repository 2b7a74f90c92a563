#pragma once
// The header of one picker section: an open/closed arrow and the theme's
// title. A press folds or unfolds the section.
#include <QFrame>

class QLabel;

namespace zubrel {

class ZSmileyClass : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(bool isOpen READ isOpen WRITE setOpen)

public:
    static constexpr int headerHeight = 24;

    explicit ZSmileyClass(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    bool isOpen() const { return m_open; }
    void setOpen(bool open);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool m_open = true;
    QLabel *m_arrow = nullptr;
    QLabel *m_text = nullptr;
};

} // namespace zubrel
