#pragma once
// A memo of values worked out from keys that repeat (senders' styles, names,
// times). Once it holds `most` values it starts afresh, so odd input cannot
// grow it; values are handed out as copies, as the next call may forget them.

#include <QHash>

namespace zubrel {

template <typename Key, typename Value>
class BoundedCache
{
public:
    explicit BoundedCache(qsizetype most)
        : m_most(most)
    {
    }

    // The value remembered for `key`, or make()'s, remembered from now on.
    template <typename Make>
    Value value(const Key &key, Make &&make)
    {
        if (const auto found = m_known.constFind(key); found != m_known.constEnd())
            return *found;
        if (m_known.size() >= m_most)
            m_known.clear();
        return *m_known.insert(key, make());
    }
    void clear() { m_known.clear(); }

private:
    QHash<Key, Value> m_known;
    qsizetype m_most;
};

} // namespace zubrel
