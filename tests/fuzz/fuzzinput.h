#pragma once

#include "common/datelists.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>

// Turns a fuzzer's bytes into the inputs of a reading: numbers, list entries
// or strays beyond the lists, and names of any characters.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_at >= m_size; }

    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }

    int number(int low, int high)
    {
        const unsigned span = unsigned(high - low) + 1;
        const unsigned value = unsigned(byte()) << 8 | byte();
        return low + int(value % span);
    }

    // Mostly an entry of the list, sometimes anything at all.
    QString entryOrStray(const QStringList &entries)
    {
        const uint8_t choice = byte();
        if (choice < 200 && !entries.isEmpty())
            return entries[qsizetype(choice) % entries.size()];
        return text(8);
    }

    // UTF-16 code units from the bytes, so any character (and any broken
    // surrogate) can occur; a length byte says how many.
    QString text(int maxUnits)
    {
        // Mostly everyday lengths; the top four length bytes reach up to maxUnits
        // (rare, as a very long name makes an input slow).
        const int lengthByte = byte();
        const int units = lengthByte < 252 ? qMin(lengthByte, maxUnits)
                                           : qMin(maxUnits, (lengthByte - 251) * (maxUnits / 4));
        QString result;
        for (int i = 0; i < units; ++i) {
            // Past the end of the input the name goes on in plain letters,
            // so a short input can still ask for a very long name.
            if (empty()) {
                result += QChar(u'A' + i % 26);
                continue;
            }
            const uint8_t kind = byte();
            if (kind < 160)
                result += QChar(u'A' + kind % 26); // letters, the common case
            else if (kind < 200)
                result += QChar(u' ');
            else
                result += QChar(char16_t(byte() << 8 | byte()));
        }
        return result;
    }

    QByteArrayView rest() const { return {m_data + qMin(m_at, m_size), qsizetype(m_size - qMin(m_at, m_size))}; }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};
