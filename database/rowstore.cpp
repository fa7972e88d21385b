#include "database/rowstore.h"

#include <algorithm>

namespace tv::db {

void RowStore::reset(QList<QVariantList> rows)
{
    m_blocks.clear();
    m_size = int(rows.size());
    if (m_size > 0)
        m_blocks.append(Block{m_size, std::move(rows)});
    m_startsValid = false;
}

void RowStore::extendTo(int total, int blockSize)
{
    while (m_size < total) {
        const int size = std::min(blockSize, total - m_size);
        m_blocks.append(Block{size, {}});
        m_size += size;
    }
    m_startsValid = false;
}

void RowStore::indexStarts() const
{
    if (m_startsValid)
        return;
    m_starts.resize(m_blocks.size());
    int start = 0;
    for (int b = 0; b < m_blocks.size(); ++b) {
        m_starts[b] = start;
        start += m_blocks.at(b).size;
    }
    m_startsValid = true;
}

int RowStore::blockOf(int row) const
{
    indexStarts();
    const auto it = std::upper_bound(m_starts.cbegin(), m_starts.cend(), row);
    return int(it - m_starts.cbegin()) - 1;
}

int RowStore::blockStart(int block) const
{
    indexStarts();
    return m_starts.at(block);
}

bool RowStore::isRead(int row) const
{
    if (row < 0 || row >= m_size)
        return false;
    return !m_blocks.at(blockOf(row)).rows.isEmpty();
}

const QVariantList& RowStore::at(int row) const
{
    static const QVariantList notRead;
    if (row < 0 || row >= m_size)
        return notRead;
    const int b = blockOf(row);
    const Block& block = m_blocks.at(b);
    return block.rows.isEmpty() ? notRead : block.rows.at(row - m_starts.at(b));
}

void RowStore::fillBlock(int block, QList<QVariantList> rows, int columns)
{
    Block& target = m_blocks[block];
    if (!target.rows.isEmpty())
        return;
    rows.resize(std::min(int(rows.size()), target.size));
    while (rows.size() < target.size)
        rows.append(QVariantList(columns));
    target.rows = std::move(rows);
}

void RowStore::set(int row, QVariantList values)
{
    if (row < 0 || row >= m_size)
        return;
    const int b = blockOf(row);
    Block& block = m_blocks[b];
    if (!block.rows.isEmpty())
        block.rows[row - m_starts.at(b)] = std::move(values);
}

void RowStore::append(QVariantList values)
{
    if (m_blocks.isEmpty() || m_blocks.last().rows.isEmpty())
        m_blocks.append(Block{0, {}});
    Block& last = m_blocks.last();
    last.rows.append(std::move(values));
    ++last.size;
    ++m_size;
    m_startsValid = false;
}

void RowStore::removeAt(int row)
{
    if (row < 0 || row >= m_size)
        return;
    const int b = blockOf(row);
    Block& block = m_blocks[b];
    if (!block.rows.isEmpty())
        block.rows.removeAt(row - m_starts.at(b));
    --block.size;
    if (block.size == 0)
        m_blocks.removeAt(b);
    --m_size;
    m_startsValid = false;
}

} // namespace tv::db
