#pragma once
// What a message may make the module load. A contact writes the HTML, so a
// picture or background it names is loaded only from places the module
// itself filled: its own compiled-in pictures, the installed emoticon themes
// and favourites, push messages and the received files it wrote into the
// user's folder. Any other local file (/etc/passwd, /dev/zero, a relative
// path), any network address and any other qrc: path loads nothing.

#include <QString>
#include <QTextDocument>
#include <QVariant>

class QUrl;

namespace zubrel {

// A text document that loads resources only through the rule above; used for
// every document that shows or edits message HTML.
class GuardedTextDocument : public QTextDocument
{
    Q_OBJECT
public:
    explicit GuardedTextDocument(QObject *parent = nullptr) : QTextDocument(parent) {}

    // Largest picture file read: received pictures are far smaller; a bigger
    // file is not a picture a contact sent through the client.
    static constexpr qint64 MaxPictureBytes = 16 * 1024 * 1024;
    // Pixels a picture is decoded to at most (larger ones are scaled down
    // while decoding): a 4096 x 4096 picture still costs 64 MB.
    static constexpr qint64 MaxPicturePixels = 4096LL * 4096LL;

    // The local file a picture reference may load, or an empty string.
    static QString allowedFile(const QUrl &url);
    // The picture a reference names, or an empty picture.
    static QImage picture(const QUrl &url);

protected:
    // Never the base class's loader: it reads any file or device it is given.
    QVariant loadResource(int type, const QUrl &name) override;
};

} // namespace zubrel
