#include "zsearchfield.h"

#include <QKeyEvent>

namespace zubrel {

ZSearchField::ZSearchField(QWidget *parent)
    : QLineEdit(parent)
{
    setClearButtonEnabled(true);
}

void ZSearchField::setDefaultText(const QString &text)
{
    // A placeholder, never real text: text() stays empty so filters do not
    // match against the hint.
    setPlaceholderText(text);
}

QString ZSearchField::defaultText() const
{
    return placeholderText();
}

void ZSearchField::keyPressEvent(QKeyEvent *event)
{
    // Escape empties the filter first; only an empty field lets it through
    // (to close the dialog).
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace zubrel
