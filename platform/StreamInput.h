#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Files that a command only reads may come through a pipe: standard input,
// a named pipe, or the /dev/fd/N that a shell's process substitution hands
// over (<(git show HEAD:tiledata.mul)). Such a file has no length and
// cannot be read at a position, so it is read once, from start to end.
namespace StreamInput {

// The whole file at path. A regular file is read as ReadWholeFile reads it,
// with its errors; a pipe or a device is read to its end. Throws Error
// "Cannot open file ...", "<path>: <system's reason>" for a failed read,
// "<path>: the file ended at byte ...", or "more than <limit> bytes" when a stream goes on
// past limit.
//
// Watch, when given, sees the bytes as they come: the bytes so far and
// where the new ones start (a regular file comes at once). It may throw to
// refuse the file before more of it is read.
using Watch = std::function<void(const std::vector<unsigned char> &bytes, std::size_t from)>;
std::vector<unsigned char> ReadAll(const std::string &path, std::size_t limit, const Watch &watch = {});

// Standard input, read to its end as bytes (no line-end translation). A
// failed read throws Error with the system's reason alone, for the caller
// to name the input.
std::vector<unsigned char> ReadStandardInput(std::size_t limit, const Watch &watch = {});

// The loop both systems' readers share. ReadSome reads up to the given
// number of bytes into the buffer and returns how many it read, 0 at the
// end; it throws on a failed read.
std::vector<unsigned char> ReadToEnd(const std::function<std::size_t(unsigned char *, std::size_t)> &ReadSome,
                                     std::size_t limit, const Watch &watch = {});

// A regular file's bytes, read whole, shown to watch.
std::vector<unsigned char> Watched(std::vector<unsigned char> bytes, const Watch &watch);

} // namespace StreamInput
