#pragma once

#include <QByteArray>

#include <cstddef>

// The bytes every download route serves: a pure function of the absolute offset, so a client can
// check any slice of any size (resumed, ranged or past 4 GiB) without keeping a copy around.
namespace DemoPayload {

void fill(char *out, quint64 offset, std::size_t count);
QByteArray bytes(quint64 offset, qsizetype count);

} // namespace DemoPayload
