#include "zfiledialog.h"

#include "zhostevents.h"
#include "zmodalscript.h"

namespace zubrel {

namespace {

enum class Op { Open, OpenMany, Save };

QString opName(Op op)
{
    switch (op) {
    case Op::Open: return QStringLiteral("open");
    case Op::OpenMany: return QStringLiteral("openMany");
    case Op::Save: return QStringLiteral("save");
    }
    return {};
}

// A scripted answer as the list of chosen paths; empty means cancelled.
QStringList scriptedPaths(const QVariant &answer, Op op)
{
    QStringList paths;
    if (answer.typeId() == QMetaType::QString) {
        paths << answer.toString();
    } else if (answer.typeId() == QMetaType::QStringList || answer.typeId() == QMetaType::QVariantList) {
        paths = answer.toStringList();
    }
    paths.removeAll(QString());
    // A single-file chooser cannot return several files.
    if (op != Op::OpenMany && paths.size() != 1)
        return {};
    return paths;
}

QStringList choose(Op op, QWidget *parent, const QString &caption, const QString &dir,
                   const QString &filter)
{
    const auto next = ZModalScript::instance()->next(QStringLiteral("file"));
    QStringList paths;
    switch (next.decision) {
    case ZModalScript::Decision::Answered:
        paths = scriptedPaths(next.answer, op);
        break;
    case ZModalScript::Decision::Cancelled:
        break;
    case ZModalScript::Decision::Interactive:
        if (op == Op::OpenMany)
            paths = QFileDialog::getOpenFileNames(parent, caption, dir, filter);
        else if (op == Op::Open)
            paths << QFileDialog::getOpenFileName(parent, caption, dir, filter);
        else
            paths << QFileDialog::getSaveFileName(parent, caption, dir, filter);
        paths.removeAll(QString());
        break;
    }

    QVariant answer = QStringLiteral("cancelled");
    if (!paths.isEmpty())
        answer = op == Op::OpenMany ? QVariant(paths) : QVariant(paths.first());
    ZHostEvents::instance()->report(QStringLiteral("fileDialog"),
                                    {{QStringLiteral("op"), opName(op)},
                                     {QStringLiteral("title"), caption},
                                     {QStringLiteral("dir"), dir},
                                     {QStringLiteral("filter"), filter},
                                     {QStringLiteral("answer"), answer}});
    return paths;
}

} // namespace

QString ZFileDialog::getOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QString &filter)
{
    return choose(Op::Open, parent, caption, dir, filter).value(0);
}

QStringList ZFileDialog::getOpenFileNames(QWidget *parent, const QString &caption,
                                          const QString &dir, const QString &filter)
{
    return choose(Op::OpenMany, parent, caption, dir, filter);
}

QString ZFileDialog::getSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QString &filter)
{
    return choose(Op::Save, parent, caption, dir, filter).value(0);
}

} // namespace zubrel
