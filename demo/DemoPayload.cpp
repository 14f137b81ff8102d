#include "DemoPayload.h"

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

} // namespace

namespace DemoPayload {

void fill(char *out, quint64 offset, std::size_t count)
{
    quint64 block = offset >> 3;
    quint64 word = mixBlock(block);
    for (std::size_t i = 0; i < count; ++i) {
        const quint64 position = offset + i;
        if ((position >> 3) != block) {
            block = position >> 3;
            word = mixBlock(block);
        }
        out[i] = static_cast<char>(word >> ((position & 7) * 8));
    }
}

QByteArray bytes(quint64 offset, qsizetype count)
{
    QByteArray result(count, Qt::Uninitialized);
    fill(result.data(), offset, static_cast<std::size_t>(count));
    return result;
}

} // namespace DemoPayload
