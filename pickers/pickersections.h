#pragma once
// The parts the emoticon and push-message pickers share: the scrolling list
// of sections, a section's header above its grid of items, and where the
// popup opens under its button.
#include <QPoint>
#include <QSize>

class QGridLayout;
class QScrollArea;
class QWidget;

namespace zubrel::PickerSections {

// Gives the area its content: a widget tinted like the theme with an empty,
// gapless column layout for the sections. Returns the content widget.
QWidget *makeList(QScrollArea *area);

// Lays out a section: the header above a container of items whose grid
// starts top left. Returns the grid; the container is the grid's widget.
QGridLayout *makeSection(QWidget *section, QWidget *header);

// Top left corner for a popup of popupSize opened under button: lined up
// with the button's right edge, or above it, where it would leave the screen.
QPoint popupPosition(const QWidget *button, const QSize &popupSize);

} // namespace zubrel::PickerSections
