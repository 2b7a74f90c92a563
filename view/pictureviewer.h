#pragma once
// A window showing one picture of the conversation at its full size, for
// pictures the view shows scaled down to fit. Escape closes it.

#include <QDialog>
#include <QImage>

namespace zubrel {

class PictureViewer : public QDialog
{
    Q_OBJECT
public:
    // Deletes itself when closed.
    PictureViewer(const QImage &picture, QWidget *parent);

    QImage picture() const { return m_picture; }

private:
    QImage m_picture;
};

} // namespace zubrel
