#include "zmodalscript.h"

namespace zubrel {

ZModalScript *ZModalScript::instance()
{
    static ZModalScript script;
    return &script;
}

void ZModalScript::setScripted(bool scripted)
{
    m_scripted = scripted;
}

bool ZModalScript::isScripted() const
{
    return m_scripted;
}

void ZModalScript::queue(const QString &kind, const QVariant &answer)
{
    m_answers[kind].append(answer);
}

std::optional<QVariant> ZModalScript::take(const QString &kind)
{
    auto it = m_answers.find(kind);
    if (it == m_answers.end() || it->isEmpty())
        return std::nullopt;
    return it->takeFirst();
}

int ZModalScript::pending(const QString &kind) const
{
    return m_answers.value(kind).size();
}

void ZModalScript::clear()
{
    m_answers.clear();
}

ZModalScript::Next ZModalScript::next(const QString &kind)
{
    if (auto answer = take(kind))
        return {Decision::Answered, *answer};
    return {m_scripted ? Decision::Cancelled : Decision::Interactive, {}};
}

} // namespace zubrel
