#include "zinputdialog.h"

#include "zhostevents.h"
#include "zmodalscript.h"

#include <QInputDialog>

namespace zubrel {

QString ZInputDialog::getText(QWidget *parent, const QString &title, const QString &label,
                              QLineEdit::EchoMode mode, const QString &text, bool *ok)
{
    const auto next = ZModalScript::instance()->next(QStringLiteral("input"));
    bool accepted = false;
    QString result;
    switch (next.decision) {
    case ZModalScript::Decision::Answered:
        // A bool true keeps the initial text, as pressing OK at once would.
        if (next.answer.typeId() == QMetaType::Bool) {
            accepted = next.answer.toBool();
            result = accepted ? text : QString();
        } else if (next.answer.isValid() && !next.answer.isNull()) {
            accepted = true;
            result = next.answer.toString();
        }
        break;
    case ZModalScript::Decision::Cancelled:
        break;
    case ZModalScript::Decision::Interactive:
        result = QInputDialog::getText(parent, title, label, mode, text, &accepted);
        if (!accepted)
            result.clear();
        break;
    }
    if (ok)
        *ok = accepted;

    // Never put a typed password into a trace.
    const bool secret = mode != QLineEdit::Normal;
    QString answer = QStringLiteral("cancelled");
    if (accepted)
        answer = secret ? QStringLiteral("***") : result;
    ZHostEvents::instance()->report(QStringLiteral("input"),
                                    {{QStringLiteral("class"), QStringLiteral("ZInputDialog")},
                                     {QStringLiteral("title"), title},
                                     {QStringLiteral("text"), label},
                                     {QStringLiteral("initial"), secret ? QString() : text},
                                     {QStringLiteral("ok"), accepted},
                                     {QStringLiteral("answer"), answer}});
    return result;
}

} // namespace zubrel
