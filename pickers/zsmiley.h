#pragma once
// One emoticon of the picker: a 26 x 26 label with the picture, a frame
// under the mouse and, after a second of hovering, a balloon with its name
// and shortcuts (or a large preview for the user's own pictures).
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include "zavatar.h"

namespace zubrel {



class ZSmiley : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString toolTipHeader READ toolTipHeader WRITE setToolTipHeader)
    Q_PROPERTY(QString res READ res WRITE setRes)

public:
    static constexpr int itemSize = 26;
    static constexpr int pictureSize = 24;
    static constexpr int helpDelay = 1000;
    static constexpr int balloonTime = 2000;

    explicit ZSmiley(QWidget *parent = nullptr);

    QString toolTipHeader() const { return m_toolTipHeader; }
    void setToolTipHeader(const QString &header) { m_toolTipHeader = header; }
    QString res() const { return m_res; }
    void setRes(const QString &res) { m_res = res; }
    // Scaled to fit 24 x 24, aspect kept.
    void setPicture(const QImage &image);
    // A picture already at the item size, shared with other items.
    void setPicture(const QPixmap &pixmap) { setPixmap(pixmap); }
    bool isMouseInside() const { return m_mouseInside; }
    ZAvatar *preview() const { return m_preview; }

signals:
    void add();
    void clicked();
    void hid();

public slots:
    void slotToolTip();
    void slotContextMenu(const QPoint &pos);
    void slotRemoveSmiley();

protected:
    bool event(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void showPreview();

    QString m_toolTipHeader;
    QString m_res;
    bool m_mouseInside = false;
    QTimer m_helpTimer;
    QPointer<ZAvatar> m_preview;
};

} // namespace zubrel
