// Pictures shown scaled down, at full size on a click.
#include "zmessageview.h"

#include "messagelayout.h"
#include "messageviewmodel.h"
#include "pictureviewer.h"

namespace zubrel {

bool ZMessageView::showFullPicture(const QPoint &viewportPos)
{
    const int index = entryAt(viewportPos);
    if (index < 0)
        return false;
    const QImage picture
        = m_layout->fullPictureAt(index, m_model->entry(index), viewportPos - entryRect(index).topLeft());
    if (picture.isNull())
        return false;
    // One window at a time: a second click shows the new picture in place
    // of the first.
    if (m_pictureViewer)
        m_pictureViewer->close();
    auto *viewer = new PictureViewer(picture, this); // deletes itself on close
    m_pictureViewer = viewer;
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return true;
}

} // namespace zubrel
