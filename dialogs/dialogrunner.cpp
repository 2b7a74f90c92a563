#include "dialogrunner.h"

#include "zhostevents.h"
#include "zmodalscript.h"

#include <QDialog>

namespace zubrel {

int DialogRunner::resultOf(const QVariant &answer)
{
    if (answer.typeId() == QMetaType::QString) {
        static const QStringList accepting = {QStringLiteral("ok"), QStringLiteral("yes"), QStringLiteral("accept"),
                                              QStringLiteral("accepted"), QStringLiteral("join"),
                                              QStringLiteral("send")};
        return accepting.contains(answer.toString().trimmed().toLower()) ? 1 : 0;
    }
    if (answer.typeId() == QMetaType::Bool)
        return answer.toBool() ? 1 : 0;
    bool ok = false;
    const int value = answer.toInt(&ok);
    return ok && value == 1 ? 1 : 0;
}

int DialogRunner::run(QDialog *dialog, const QString &className, const QString &text, const Hooks &hooks)
{
    const auto next = ZModalScript::instance()->next(QStringLiteral("dialog"));
    int result = 0;
    QString answer;
    switch (next.decision) {
    case ZModalScript::Decision::Answered: {
        // A bare value is only the result; an object also fills fields.
        QVariantMap fields = next.answer.toMap();
        if (next.answer.typeId() != QMetaType::QVariantMap)
            fields.insert(QStringLiteral("result"), next.answer);
        if (hooks.apply)
            hooks.apply(fields);
        result = resultOf(fields.value(QStringLiteral("result")));
        answer = result == 1 ? QStringLiteral("accepted") : QStringLiteral("rejected");
        break;
    }
    case ZModalScript::Decision::Cancelled:
        answer = QStringLiteral("cancelled");
        break;
    case ZModalScript::Decision::Interactive:
        result = dialog->exec() == QDialog::Accepted ? 1 : 0;
        answer = result == 1 ? QStringLiteral("accepted") : QStringLiteral("rejected");
        break;
    }
    QVariantMap report = hooks.fields ? hooks.fields() : QVariantMap();
    report.insert(QStringLiteral("class"), className);
    report.insert(QStringLiteral("title"), dialog->windowTitle());
    report.insert(QStringLiteral("text"), text);
    report.insert(QStringLiteral("result"), result);
    report.insert(QStringLiteral("answer"), answer);
    ZHostEvents::instance()->report(QStringLiteral("dialog"), report);
    return result;
}

} // namespace zubrel
