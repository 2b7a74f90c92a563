#pragma once
// The host's read-only rich text view. With saveable images on, the context
// menu over a picture offers to save it to a file.

#include <QTextBrowser>
#include <memory>

class QMenu;

class QTextDocument;

namespace zubrel {

class ZTextBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit ZTextBrowser(QWidget *parent = nullptr);

    bool saveableImages() const { return m_saveableImages; }
    void setSaveableImages(bool on);

    // The name of the image drawn at a point in viewport coordinates, "" when
    // there is none.
    virtual QString imageAt(const QPoint &pos) const;
    // The name of the picture under a point given in document coordinates,
    // empty where there is none: shared by every view that lays out rich
    // text, however it scrolls.
    static QString imageAt(const QTextDocument *document, const QPointF &point);
    // Asks for a file name and writes the image there. False when cancelled,
    // when the image cannot be found or the file cannot be written.
    bool saveImage(const QString &name);
    // Standard entries, plus "Save Image As..." over an image when saveable
    // images are on. The caller owns the menu.
    virtual std::unique_ptr<QMenu> createContextMenu(const QPoint &pos);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool m_saveableImages = false;
};

} // namespace zubrel
