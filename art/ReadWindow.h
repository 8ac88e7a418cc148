#pragma once

#include "art/ArtBytes.h"

#include <QByteArray>

class SharedReadFile;

// The run-length decoder asks for a few bytes at a time: a pair, then a
// run, row after row. Going to the file for each costs a system call per
// request, which made a 512 x 512 picture hundreds of times slower than
// reading its bytes. This window serves the requests from memory, reading
// the file only when a request leaves the bytes already read, and then
// twice as far as the time before, up to a limit that keeps a line table
// jumping to and fro in a hostile file from costing more than a fraction of
// a second. Requests see exactly what the file's own ReadAt would give
// them: short only at the end of the file, nothing for negative positions.
class TReadWindow : public TArtBytes
{
public:
    explicit TReadWindow(const SharedReadFile &File);

    std::size_t ReadAt(std::int64_t Position, void *Buffer, std::size_t Length) override;

private:
    // True when the window can answer the request, also by a short answer
    // because the file ends inside the window.
    bool Holds(std::int64_t Position, std::size_t Length) const;
    void Fill(std::int64_t Position, std::size_t Length);

    const SharedReadFile &FFile;
    QByteArray FBytes; // resizing leaves new bytes unset: they are read over at once
    std::int64_t FStart = 0;
    bool FAtEnd = false;
};
