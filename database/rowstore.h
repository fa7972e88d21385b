#pragma once

#include <QList>
#include <QVariant>

namespace tv::db {

// The rows of a record set, kept in blocks so that a large result costs memory only for the rows read so far.
// A block is read whole or not at all; a block not read yet knows only how many rows it stands for. Rows are
// numbered across blocks, and removing a row shifts the ones after it, as the rows of the file shift.
class RowStore
{
public:
    // The store holds exactly these rows, all read.
    void reset(QList<QVariantList> rows);
    // Adds rows not read yet, in blocks of blockSize, until the store stands for total rows.
    void extendTo(int total, int blockSize);

    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    bool isRead(int row) const;
    // The row, or an empty list for a row not read yet.
    const QVariantList& at(int row) const;

    int blockOf(int row) const;
    int blockStart(int block) const;
    int blockSize(int block) const { return m_blocks.at(block).size; }
    // Fills a block not read yet; rows missing at the end are left without values.
    void fillBlock(int block, QList<QVariantList> rows, int columns);

    // Replaces a row that has been read.
    void set(int row, QVariantList values);
    void append(QVariantList values);
    void removeAt(int row);

private:
    struct Block
    {
        int size = 0;
        QList<QVariantList> rows; // empty while the block is not read
    };
    void indexStarts() const;

    QList<Block> m_blocks;
    int m_size = 0;
    mutable QList<int> m_starts;
    mutable bool m_startsValid = false;
};

} // namespace tv::db
