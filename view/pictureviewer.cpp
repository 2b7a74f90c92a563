#include "pictureviewer.h"

#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace zubrel {

PictureViewer::PictureViewer(const QImage &picture, QWidget *parent)
    : QDialog(parent)
    , m_picture(picture)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Picture"));
    auto *label = new QLabel;
    label->setPixmap(QPixmap::fromImage(picture));
    label->setAlignment(Qt::AlignCenter);
    label->setAccessibleName(tr("Picture at full size"));
    // Larger than the screen: scroll bars rather than a window off screen.
    auto *area = new QScrollArea;
    area->setWidget(label);
    area->setAlignment(Qt::AlignCenter);
    area->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    const QScreen *screen = parent ? parent->screen() : nullptr;
    const QSize room = screen ? screen->availableSize() * 9 / 10 : QSize(1200, 900);
    const QSize margin(2 * area->frameWidth() + 4, 2 * area->frameWidth() + 4);
    resize((picture.deviceIndependentSize().toSize() + margin).boundedTo(room));
}

} // namespace zubrel
