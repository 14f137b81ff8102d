#include "DemoPayload.h"

#include <QtEndian>
#include <cstring>

namespace {

// splitmix64: cheap, and without a short period, so a slice served from the wrong offset never
// happens to look right.
quint64 mixBlock(quint64 block)
{
    quint64 z = block + 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

void fillBytewise(char *out, quint64 offset, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const quint64 position = offset + i;
        out[i] = static_cast<char>(mixBlock(position >> 3) >> ((position & 7) * 8));
    }
}

} // namespace

namespace DemoPayload {

// Whole blocks are copied as words: the big route streams gigabytes through here, and the
// server must not be what a throughput measurement ends up timing.
void fill(char *out, quint64 offset, std::size_t count)
{
    const std::size_t head = std::min<std::size_t>(count, (8 - (offset & 7)) & 7);
    fillBytewise(out, offset, head);
    std::size_t done = head;
    for (; count - done >= 8; done += 8) {
        const quint64 word = qToLittleEndian(mixBlock((offset + done) >> 3));
        std::memcpy(out + done, &word, 8);
    }
    fillBytewise(out + done, offset + done, count - done);
}

QByteArray bytes(quint64 offset, qsizetype count)
{
    QByteArray result(count, Qt::Uninitialized);
    fill(result.data(), offset, static_cast<std::size_t>(count));
    return result;
}

} // namespace DemoPayload
