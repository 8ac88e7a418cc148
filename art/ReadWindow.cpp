#include "art/ReadWindow.h"

#include "platform/SharedReadFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t FirstFill = 16 * 1024;
constexpr std::size_t MostFill = 256 * 1024;

} // namespace

TReadWindow::TReadWindow(const SharedReadFile &File)
    : FFile(File)
{
}

std::size_t TReadWindow::ReadAt(std::int64_t Position, void *Buffer, std::size_t Length)
{
    if (Position < 0)
        return 0;
    if (!Holds(Position, Length))
        Fill(Position, Length);
    const std::size_t held = std::size_t(FBytes.size());
    const std::size_t skip = static_cast<std::size_t>(Position - FStart);
    if (skip >= held)
        return 0;
    const std::size_t n = std::min(Length, held - skip);
    // data(), not constData(): the const accessor may give Qt's one-byte
    // empty array, and GCC for mingw-w64 then warns of a copy beyond it
    // on a path that has already returned above.
    std::memcpy(Buffer, FBytes.data() + skip, n);
    return n;
}

bool TReadWindow::Holds(std::int64_t Position, std::size_t Length) const
{
    if (FBytes.isEmpty() || Position < FStart)
        return false;
    const std::int64_t end = FStart + std::int64_t(FBytes.size());
    return Position + std::int64_t(Length) <= end || (FAtEnd && Position <= end);
}

void TReadWindow::Fill(std::int64_t Position, std::size_t Length)
{
    const std::size_t held = std::size_t(FBytes.size());
    const std::size_t wanted = std::max({Length, FirstFill, std::min(2 * held, MostFill)});
    // Growing by resize would copy the old bytes, which are read over.
    if (std::size_t(FBytes.capacity()) < wanted)
        FBytes = QByteArray(qsizetype(wanted), Qt::Uninitialized);
    else
        FBytes.resize(qsizetype(wanted));
    FBytes.resize(qsizetype(FFile.ReadAt(Position, FBytes.data(), wanted)));
    FStart = Position;
    FAtEnd = std::size_t(FBytes.size()) < wanted;
}
