#pragma once

#include <QtGlobal>
#include <array>

namespace hooks {

// A fixed table of messages: count 0 delivers nothing, ALL_MESSAGES (-1) delivers everything,
// otherwise slots 1..count hold message numbers and a slot holding 0 is free for reuse.
class MessageTable {
public:
    static constexpr qint32 AllMessages = -1;
    static constexpr int Entries = 32;

    // False when the table is full (the caller reports the overflow).
    bool Add(qint32 message);
    void Remove(qint32 message);
    void Clear() { m_count = 0; }
    bool Contains(quint32 message) const;

    qint32 Count() const { return m_count; }
    quint32 Slot(int index) const { return m_slots[index - 1]; }

private:
    qint32 m_count = 0;
    std::array<quint32, Entries> m_slots{};
};

} // namespace hooks
