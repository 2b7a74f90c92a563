#pragma once
// Answers for modal dialogs given in advance, so tests and the replay host
// never sit in a blocking dialog loop. Every modal stand-in (message boxes,
// input and file dialogs, the module's own dialogs) asks here first:
// a queued answer is used and consumed; in a scripted run without one the
// modal is cancelled; otherwise the real dialog is shown.

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace zubrel {

class ZModalScript
{
public:
    static ZModalScript *instance();

    // Scripted runs never show a real modal; unanswered ones are cancelled.
    void setScripted(bool scripted);
    bool isScripted() const;

    // kind: "question", "information", "input", "file" or "dialog".
    // Answers of one kind are used in the order they were queued.
    void queue(const QString &kind, const QVariant &answer);
    std::optional<QVariant> take(const QString &kind);
    int pending(const QString &kind) const;
    void clear();

    // What a stand-in should do for the next modal of a kind.
    enum class Decision { Answered, Cancelled, Interactive };
    struct Next {
        Decision decision = Decision::Interactive;
        QVariant answer;
    };
    Next next(const QString &kind);

    ZModalScript(const ZModalScript &) = delete;
    ZModalScript &operator=(const ZModalScript &) = delete;

private:
    ZModalScript() = default;

    bool m_scripted = false;
    QHash<QString, QList<QVariant>> m_answers;
};

} // namespace zubrel
