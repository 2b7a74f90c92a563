#include "heightindex.h"

namespace zubrel {

namespace {
int lowBit(int k) { return k & -k; }
} // namespace

void HeightIndex::clear()
{
    m_tree.assign(1, 0);
    m_values.clear();
    m_total = 0;
}

void HeightIndex::append(int height)
{
    if (m_tree.empty())
        m_tree.assign(1, 0);
    m_values.push_back(height);
    const int k = int(m_values.size());
    // The new node covers (k - lowBit(k), k]: the new value plus the values
    // already present in that range.
    m_tree.push_back(height + prefix(k - 1) - prefix(k - lowBit(k)));
    m_total += height;
}

void HeightIndex::prepend(const std::vector<int> &heights)
{
    // Every running sum changes: rebuild in linear time.
    m_values.insert(m_values.begin(), heights.begin(), heights.end());
    const int n = int(m_values.size());
    m_tree.assign(n + 1, 0);
    m_total = 0;
    for (int k = 1; k <= n; ++k) {
        m_tree[k] += m_values[k - 1];
        m_total += m_values[k - 1];
        const int parent = k + lowBit(k);
        if (parent <= n)
            m_tree[parent] += m_tree[k];
    }
}

void HeightIndex::set(int index, int height)
{
    const int delta = height - m_values[index];
    if (delta == 0)
        return;
    m_values[index] = height;
    m_total += delta;
    for (int k = index + 1; k < int(m_tree.size()); k += lowBit(k))
        m_tree[k] += delta;
}

int HeightIndex::prefix(int index) const
{
    int sum = 0;
    for (int k = index; k > 0; k -= lowBit(k))
        sum += m_tree[k];
    return sum;
}

int HeightIndex::indexAt(int y) const
{
    const int n = count();
    if (n == 0)
        return -1;
    if (y <= 0)
        return 0;
    int step = 1;
    while (step * 2 <= n)
        step *= 2;
    int pos = 0;
    int rest = y;
    // Descend to the largest pos whose running sum does not pass y.
    for (; step > 0; step /= 2) {
        if (pos + step <= n && m_tree[pos + step] <= rest) {
            pos += step;
            rest -= m_tree[pos];
        }
    }
    return pos < n ? pos : n - 1;
}

} // namespace zubrel
