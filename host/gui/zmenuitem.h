#pragma once
// One row for a menu built from widgets (QWidgetAction): icon, text and a
// highlight under the mouse, clickable like a normal menu entry.

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <QLabel>

namespace zubrel {

class ZMenuItem : public QWidget
{
    Q_OBJECT
public:
    explicit ZMenuItem(QWidget *parent = nullptr);
    ZMenuItem(const QIcon &icon, const QString &text, QWidget *parent = nullptr);

    void setIcon(const QIcon &icon);
    // Also accepts a resource name (":/addsmiley-16") for convenience.
    void setIcon(const QString &resource);
    QIcon icon() const { return m_icon; }
    void setText(const QString &text);
    QString text() const;

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QIcon m_icon;
    QPointer<QLabel> m_iconLabel;
    QPointer<QLabel> m_textLabel;
    bool m_hovered = false;
};

} // namespace zubrel
