#pragma once
// The host's one-line text question. Reports an "input" event and takes
// scripted answers (kind "input") from ZModalScript: a text is typed and
// confirmed; null or false cancels.

#include <QLineEdit>
#include <QString>

namespace zubrel {

class ZInputDialog
{
public:
    static QString getText(QWidget *parent, const QString &title, const QString &label,
                           QLineEdit::EchoMode mode = QLineEdit::Normal,
                           const QString &text = QString(), bool *ok = nullptr);
};

} // namespace zubrel
