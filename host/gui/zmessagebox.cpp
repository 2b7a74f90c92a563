#include "zmessagebox.h"

#include "zhostevents.h"
#include "zmodalscript.h"

namespace zubrel {

namespace {

struct ButtonName {
    QMessageBox::StandardButton button;
    const char *name;
};

constexpr ButtonName buttonNames[] = {
    {QMessageBox::Yes, "yes"},       {QMessageBox::No, "no"},
    {QMessageBox::Cancel, "cancel"}, {QMessageBox::Ok, "ok"},
    {QMessageBox::Abort, "abort"},   {QMessageBox::Retry, "retry"},
    {QMessageBox::Ignore, "ignore"}, {QMessageBox::Close, "close"},
    {QMessageBox::YesToAll, "yestoall"}, {QMessageBox::NoToAll, "notoall"},
    {QMessageBox::Save, "save"},     {QMessageBox::Discard, "discard"},
    {QMessageBox::Apply, "apply"},   {QMessageBox::Open, "open"},
};

// What pressing Escape on the real box would give.
QMessageBox::StandardButton escapeButton(QMessageBox::StandardButtons buttons)
{
    for (auto b : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Close, QMessageBox::Abort}) {
        if (buttons.testFlag(b))
            return b;
    }
    for (const auto &entry : buttonNames) {
        if (buttons.testFlag(entry.button))
            return entry.button;
    }
    return QMessageBox::NoButton;
}

void reportBox(const QString &kind, const QString &title, const QString &text, const QString &answer)
{
    ZHostEvents::instance()->report(QStringLiteral("box"), {{QStringLiteral("kind"), kind},
                                                            {QStringLiteral("title"), title},
                                                            {QStringLiteral("text"), text},
                                                            {QStringLiteral("answer"), answer}});
}

} // namespace

QString ZMessageBox::buttonName(QMessageBox::StandardButton button)
{
    for (const auto &entry : buttonNames) {
        if (entry.button == button)
            return QString::fromLatin1(entry.name);
    }
    return {};
}

QMessageBox::StandardButton ZMessageBox::buttonFromAnswer(const QVariant &answer)
{
    if (answer.typeId() == QMetaType::QString) {
        const QString name = answer.toString().trimmed().toLower();
        for (const auto &entry : buttonNames) {
            if (name == QLatin1String(entry.name))
                return entry.button;
        }
        return QMessageBox::NoButton;
    }
    bool ok = false;
    const int value = answer.toInt(&ok);
    if (!ok)
        return QMessageBox::NoButton;
    for (const auto &entry : buttonNames) {
        if (entry.button == value)
            return entry.button;
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButton ZMessageBox::information(QWidget *parent, const QString &title,
                                                     const QString &text)
{
    const QString kind = QStringLiteral("information");
    const auto next = ZModalScript::instance()->next(kind);
    switch (next.decision) {
    case ZModalScript::Decision::Answered:
        reportBox(kind, title, text, QStringLiteral("ok"));
        break;
    case ZModalScript::Decision::Cancelled:
        reportBox(kind, title, text, QStringLiteral("cancelled"));
        break;
    case ZModalScript::Decision::Interactive:
        QMessageBox::information(parent, title, text);
        reportBox(kind, title, text, QStringLiteral("ok"));
        break;
    }
    // Closing an information box any way at all still means "seen".
    return QMessageBox::Ok;
}

QMessageBox::StandardButton ZMessageBox::question(QWidget *parent, const QString &title,
                                                  const QString &text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    const QString kind = QStringLiteral("question");
    const auto next = ZModalScript::instance()->next(kind);
    QMessageBox::StandardButton result = QMessageBox::NoButton;
    bool cancelled = false;
    switch (next.decision) {
    case ZModalScript::Decision::Answered:
        result = buttonFromAnswer(next.answer);
        // An answer the box does not offer could never have been clicked.
        if (result == QMessageBox::NoButton || !buttons.testFlag(result)) {
            result = escapeButton(buttons);
            cancelled = true;
        }
        break;
    case ZModalScript::Decision::Cancelled:
        result = escapeButton(buttons);
        cancelled = true;
        break;
    case ZModalScript::Decision::Interactive:
        result = QMessageBox::question(parent, title, text, buttons, defaultButton);
        break;
    }
    reportBox(kind, title, text, cancelled ? QStringLiteral("cancelled") : buttonName(result));
    return result;
}

} // namespace zubrel
