#include "MessageTable.h"

namespace hooks {

bool MessageTable::Add(qint32 message)
{
    if (message == AllMessages) {
        m_count = AllMessages;
        return true;
    }
    // A table that took every message becomes a table of this one message.
    const int used = m_count == AllMessages ? 0 : m_count;
    for (int i = 1;; ++i) {
        if (i > used) {
            if (i > Entries) {
                return false;
            }
            m_slots[i - 1] = quint32(message);
            m_count = i;
            return true;
        }
        if (m_slots[i - 1] == 0) {
            m_slots[i - 1] = quint32(message);
            return true;
        }
        if (m_slots[i - 1] == quint32(message)) {
            return true;
        }
    }
}

void MessageTable::Remove(qint32 message)
{
    if (message == AllMessages) {
        m_count = 0;
        return;
    }
    for (int i = 0; i < m_count; ++i) {
        if (m_slots[i] == quint32(message)) {
            m_slots[i] = 0;
            return;
        }
    }
}

bool MessageTable::Contains(quint32 message) const
{
    if (m_count == AllMessages) {
        return true;
    }
    if (message == 0) {
        return false; // 0 marks a free slot, not a message
    }
    for (int i = 0; i < m_count; ++i) {
        if (m_slots[i] == message) {
            return true;
        }
    }
    return false;
}

} // namespace hooks
