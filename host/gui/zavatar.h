#pragma once
// Short-lived popup with a contact's picture in large. It closes and deletes
// itself on a click, when the mouse leaves it or when it loses focus, so
// callers create it with new and forget it.

#include <QPixmap>
#include <QWidget>

namespace zubrel {

class ZAvatar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int maxEdge = 200;

    explicit ZAvatar(const QPixmap &pixmap, QWidget *parent = nullptr);
    // A picture file; an unreadable file shows the skin's default avatar.
    explicit ZAvatar(const QString &path, QWidget *parent = nullptr);

    QPixmap pixmap() const { return m_pixmap; }

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setPicture(const QPixmap &pixmap);

    QPixmap m_pixmap;
};

} // namespace zubrel
