#pragma once
// One push message of the picker: its picture, name, length and rating.
// Saved push messages (not theme clips) offer a menu to play, rename,
// remove and record.
#include <QFrame>

class QLabel;

namespace zubrel {

class ZRatingLabel;

class ZPushMessage : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString res READ res WRITE setRes)
    Q_PROPERTY(QString pixmap READ pixmap WRITE setPixmap)

public:
    static constexpr int pictureSize = 26;

    explicit ZPushMessage(QWidget *parent = nullptr);

    QString res() const { return m_res; }
    // Also shows the name and the length read from the file.
    void setRes(const QString &res);
    QString pixmap() const { return m_pixmap; }
    void setPixmap(const QString &pixmap);
    bool isFavorite() const { return !m_res.isEmpty() && !m_res.startsWith(QLatin1String(":/")); }
    ZRatingLabel *ratingLabel() const { return m_rating; }
    QString lengthText() const;
    QString nameText() const;

signals:
    void add();
    void clicked();
    void hid();

public slots:
    void slotContextMenu(const QPoint &pos);
    void slotPlayPushMessage();
    void slotRenamePushMessage();
    void slotRemovePushMessage();
    void slotRatingChanged(int rating);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_res;
    QString m_pixmap;
    QLabel *m_picture = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_length = nullptr;
    ZRatingLabel *m_rating = nullptr;
};

} // namespace zubrel
