#pragma once
// A push button that picks a colour from a popup grid of named swatches,
// with an optional "More..." entry that opens the full colour dialog. The
// current colour is shown as a bar along the bottom of the button, so the
// button can still carry its own icon or text.

#include <QColor>
#include <QFrame>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <QString>



class QtColorPicker : public QPushButton
{
    Q_OBJECT
public:
    // columns = -1 lays the grid out about square.
    explicit QtColorPicker(QWidget *parent = nullptr, int columns = -1,
                           bool enableColorDialog = true);
    ~QtColorPicker() override;

    // Adds a named swatch (index -1 = at the end). A colour already present
    // only gets the new name. The first colour added becomes the current
    // one when there is none yet.
    void insertColor(const QColor &color, const QString &name = QString(), int index = -1);
    // The seventeen standard colours, in their usual order.
    void setStandardColors();

    QColor currentColor() const { return m_current; }
    int colorCount() const { return int(m_colors.size()); }
    QColor color(int index) const;
    QString colorName(int index) const;

    void setColorDialogEnabled(bool enabled) { m_colorDialog = enabled; }
    bool colorDialogEnabled() const { return m_colorDialog; }

    // The grid while it is open, nullptr otherwise.
    QFrame *popup() const { return m_popup; }

public slots:
    // A colour not in the grid is added as "Custom" when the colour dialog
    // is allowed (it could have been picked there), else ignored.
    void setCurrentColor(const QColor &color);
    void showPopup();

signals:
    void colorChanged(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Entry {
        QColor color;
        QString name;
    };
    int indexOf(const QColor &color) const;
    int columnCount() const;
    void pickFromDialog();

    QList<Entry> m_colors;
    QColor m_current;
    int m_columns = -1;
    bool m_colorDialog = true;
    QPointer<QFrame> m_popup;
};
