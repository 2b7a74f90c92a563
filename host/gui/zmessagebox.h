#pragma once
// The host's message boxes. Each box reports what it asked and the answer
// given ("box" event), and takes scripted answers from ZModalScript.

#include <QMessageBox>
#include <QString>

namespace zubrel {

class ZMessageBox
{
public:
    // Always answers Ok; reported answer "ok" (or "cancelled" when a
    // scripted run had no answer queued).
    static QMessageBox::StandardButton information(QWidget *parent, const QString &title,
                                                   const QString &text);

    // Scripted answers "yes", "no", "cancel", "ok" (or a StandardButton
    // number) pick a button; one the box does not offer, or none at all,
    // cancels: Cancel if offered, else No, else the first button offered.
    static QMessageBox::StandardButton question(QWidget *parent, const QString &title,
                                                const QString &text,
                                                QMessageBox::StandardButtons buttons
                                                = QMessageBox::Yes | QMessageBox::No,
                                                QMessageBox::StandardButton defaultButton
                                                = QMessageBox::NoButton);

    // "yes", "no", "cancel", "ok", ... and back; unknown maps to NoButton.
    static QString buttonName(QMessageBox::StandardButton button);
    static QMessageBox::StandardButton buttonFromAnswer(const QVariant &answer);
};

} // namespace zubrel
