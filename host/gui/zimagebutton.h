#pragma once
// Flat button that is nothing but a picture: drawn as is, a little lighter
// under the mouse and shifted by a pixel while pressed. Checkable buttons show
// their checked state with a thin frame.

#include <QAbstractButton>
#include <QPixmap>

namespace zubrel {

class ZImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit ZImageButton(QWidget *parent = nullptr);
    explicit ZImageButton(const QPixmap &pixmap, QWidget *parent = nullptr);

    void setPixmap(const QPixmap &pixmap);
    QPixmap pixmap() const { return m_pixmap; }
    // Optional picture for the hover state; without one the normal picture
    // is lightened.
    void setHoverPixmap(const QPixmap &pixmap);
    bool isHovered() const { return m_hovered; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPixmap currentPixmap() const;

    QPixmap m_pixmap;
    QPixmap m_hoverPixmap;
    bool m_hovered = false;
};

} // namespace zubrel
