#include "pickersections.h"

#include "palettecolours.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace zubrel::PickerSections {

QWidget *makeList(QScrollArea *area)
{
    area->setFrameShape(QFrame::NoFrame);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    auto *content = new QWidget(area);
    content->setAutoFillBackground(true);
    QPalette pal = content->palette();
    // The theme tint of a light window; a dark palette gets its dark counterpart.
    pal.setColor(QPalette::Window, PaletteColours::band(QColor(QStringLiteral("#ffffff")), pal));
    content->setPalette(pal);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return content;
}

QGridLayout *makeSection(QWidget *section, QWidget *header)
{
    auto *layout = new QVBoxLayout(section);
    layout->setSpacing(2);
    layout->setContentsMargins(3, 3, 3, 3);
    auto *container = new QWidget(section);
    auto *grid = new QGridLayout(container);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(header);
    layout->addWidget(container);
    return grid;
}

QPoint popupPosition(const QWidget *button, const QSize &popupSize)
{
    QPoint point = button->mapToGlobal(button->rect().bottomLeft());
    point.setX(qMax(0, point.x()));
    point.setY(qMax(0, point.y()));
    const QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        if (area.width() < point.x() + popupSize.width())
            point.rx() -= popupSize.width() - button->width();
        if (area.height() < point.y() + popupSize.height() + 2)
            point.ry() -= popupSize.height() + button->height() - 2;
    }
    return point;
}

} // namespace zubrel::PickerSections
