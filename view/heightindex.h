#pragma once
// Heights of the view's entries with running sums (a Fenwick tree), so that
// "where does entry i start" and "which entry lies at y" stay logarithmic
// however long the conversation grows.

#include <vector>

namespace zubrel {

class HeightIndex
{
public:
    void clear();
    void append(int height);
    void set(int index, int height);
    // Heights placed before the first entry.
    void prepend(const std::vector<int> &heights);
    int value(int index) const { return m_values[index]; }
    int count() const { return int(m_values.size()); }
    // Sum of the heights of the entries before `index`.
    int prefix(int index) const;
    int total() const { return m_total; }
    // The entry that covers offset y (clamped to the first/last entry), -1
    // when there are none.
    int indexAt(int y) const;

private:
    std::vector<int> m_tree;   // 1-based Fenwick sums; m_tree[0] unused
    std::vector<int> m_values;
    int m_total = 0;
};

} // namespace zubrel
