#pragma once
// Five stars showing a rating from 0 to 5. A click on a star sets the rating
// to that star; a click on the only lit star clears it again.

#include <QWidget>

namespace zubrel {

class ZRatingLabel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int maxRating = 5;

    explicit ZRatingLabel(QWidget *parent = nullptr);

    // Values outside 0..5 are clamped; ratings come from settings files
    // anyone can edit.
    void setRating(int rating);
    int rating() const { return m_rating; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }

    // The star (1..5) under a point of the widget, 0 left of the first.
    int starAt(const QPoint &pos) const;

    QSize sizeHint() const override;

signals:
    void ratingChanged(int rating);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    int m_rating = 0;
    bool m_readOnly = false;
};

} // namespace zubrel
