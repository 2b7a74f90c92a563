#include "qtcolorpicker.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

QIcon swatchIcon(const QColor &color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

} // namespace

QtColorPicker::QtColorPicker(QWidget *parent, int columns, bool enableColorDialog)
    : QPushButton(parent)
    , m_columns(columns)
    , m_colorDialog(enableColorDialog)
{
    connect(this, &QPushButton::clicked, this, &QtColorPicker::showPopup);
}

QtColorPicker::~QtColorPicker() = default;

void QtColorPicker::insertColor(const QColor &color, const QString &name, int index)
{
    if (!color.isValid())
        return;
    const QString label = name.isEmpty() ? color.name() : name;
    const int existing = indexOf(color);
    if (existing >= 0) {
        m_colors[existing].name = label;
        return;
    }
    if (index < 0 || index > m_colors.size())
        index = int(m_colors.size());
    m_colors.insert(index, {color, label});
    if (!m_current.isValid()) {
        m_current = color;
        update();
    }
}

void QtColorPicker::setStandardColors()
{
    insertColor(Qt::black, tr("Black"));
    insertColor(Qt::white, tr("White"));
    insertColor(Qt::red, tr("Red"));
    insertColor(Qt::darkRed, tr("Dark red"));
    insertColor(Qt::green, tr("Green"));
    insertColor(Qt::darkGreen, tr("Dark green"));
    insertColor(Qt::blue, tr("Blue"));
    insertColor(Qt::darkBlue, tr("Dark blue"));
    insertColor(Qt::cyan, tr("Cyan"));
    insertColor(Qt::darkCyan, tr("Dark cyan"));
    insertColor(Qt::magenta, tr("Magenta"));
    insertColor(Qt::darkMagenta, tr("Dark magenta"));
    insertColor(Qt::yellow, tr("Yellow"));
    insertColor(Qt::darkYellow, tr("Dark yellow"));
    insertColor(Qt::gray, tr("Gray"));
    insertColor(Qt::darkGray, tr("Dark gray"));
    insertColor(Qt::lightGray, tr("Light gray"));
}

QColor QtColorPicker::color(int index) const
{
    return index >= 0 && index < m_colors.size() ? m_colors.at(index).color : QColor();
}

QString QtColorPicker::colorName(int index) const
{
    return index >= 0 && index < m_colors.size() ? m_colors.at(index).name : QString();
}

void QtColorPicker::setCurrentColor(const QColor &color)
{
    if (!color.isValid() || color == m_current)
        return;
    if (indexOf(color) < 0) {
        if (!m_colorDialog)
            return;
        insertColor(color, tr("Custom"));
    }
    m_current = color;
    update();
    emit colorChanged(color);
}

int QtColorPicker::indexOf(const QColor &color) const
{
    // Compare as RGB so the same colour built another way still matches.
    for (int i = 0; i < m_colors.size(); ++i) {
        if (m_colors.at(i).color.rgba() == color.rgba())
            return i;
    }
    return -1;
}

int QtColorPicker::columnCount() const
{
    if (m_columns > 0)
        return m_columns;
    return qMax(1, int(std::ceil(std::sqrt(double(qMax<qsizetype>(1, m_colors.size()))))));
}

void QtColorPicker::showPopup()
{
    if (m_popup)
        m_popup->close();

    // Rebuilt on each opening so it always shows the current list.
    auto *popup = new QFrame(this, Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setFrameShape(QFrame::StyledPanel);
    popup->setObjectName(QStringLiteral("QtColorPickerPopup"));
    m_popup = popup;

    auto *layout = new QVBoxLayout(popup);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *grid = new QGridLayout;
    grid->setSpacing(2);
    layout->addLayout(grid);
    const int columns = columnCount();
    for (int i = 0; i < m_colors.size(); ++i) {
        const Entry entry = m_colors.at(i);
        auto *swatch = new QToolButton(popup);
        swatch->setAutoRaise(true);
        swatch->setIcon(swatchIcon(entry.color));
        swatch->setToolTip(entry.name);
        swatch->setObjectName(entry.name);
        swatch->setCheckable(true);
        swatch->setChecked(entry.color == m_current);
        connect(swatch, &QToolButton::clicked, this, [this, popup, color = entry.color] {
            popup->close();
            setCurrentColor(color);
        });
        grid->addWidget(swatch, i / columns, i % columns);
    }
    if (m_colorDialog) {
        auto *more = new QPushButton(tr("More..."), popup);
        more->setObjectName(QStringLiteral("more"));
        connect(more, &QPushButton::clicked, this, [this, popup] {
            popup->close();
            pickFromDialog();
        });
        layout->addWidget(more);
    }

    popup->adjustSize();
    QPoint pos = mapToGlobal(QPoint(0, height()));
    if (const QScreen *s = screen()) {
        const QRect area = s->availableGeometry();
        pos.setX(qBound(area.left(), pos.x(), qMax(area.left(), area.right() - popup->width())));
        if (pos.y() + popup->height() > area.bottom())
            pos.setY(mapToGlobal(QPoint(0, 0)).y() - popup->height());
    }
    popup->move(pos);
    popup->show();
}

void QtColorPicker::pickFromDialog()
{
    // The picker may be gone when the dialog's own event loop returns.
    QPointer<QtColorPicker> self(this);
    const QColor chosen = QColorDialog::getColor(m_current, this);
    if (self && chosen.isValid())
        setCurrentColor(chosen);
}

void QtColorPicker::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    if (!m_current.isValid())
        return;
    QPainter painter(this);
    const QRect bar(4, height() - 7, width() - 8, 4);
    painter.fillRect(bar, m_current);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
}
