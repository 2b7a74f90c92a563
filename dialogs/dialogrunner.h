#pragma once
// Runs one of the module's modal dialogs the way the host's other modals
// run: an answer queued with the host's modal script (kind "dialog") is
// applied to the dialog's own fields and decides its result, a scripted run
// without one cancels it, and only an interactive run enters exec(). Every
// run is reported to the host as a "dialog" event.

#include <QString>
#include <QVariantMap>

#include <functional>

class QDialog;

namespace zubrel {

class DialogRunner
{
public:
    struct Hooks {
        // Puts the field values of a queued answer into the dialog.
        std::function<void(const QVariantMap &fields)> apply;
        // The fields the dialog ended with, for the report.
        std::function<QVariantMap()> fields;
    };

    // Returns what exec() would: 1 accepted, 0 rejected.
    static int run(QDialog *dialog, const QString &className, const QString &text, const Hooks &hooks);

    // "result" of a queued answer: 1/0, true/false, or a button word.
    static int resultOf(const QVariant &answer);
};

} // namespace zubrel
