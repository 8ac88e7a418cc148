#include "platform/StandardStream.h"

#include "platform/win/WideText.h"

#include <algorithm>
#include <windows.h>

namespace {

using StandardStream::Outcome;

// Consoles take a limited amount of text per call; a piece ends before a
// high surrogate so that no character is split between two calls.
Outcome WriteConsoleText(HANDLE Console, const std::string &Bytes)
{
    const std::wstring text = WideText::FromUtf8(Bytes);
    constexpr std::size_t Piece = 8192;
    std::size_t done = 0;
    while (done < text.size()) {
        std::size_t length = std::min(Piece, text.size() - done);
        if (done + length < text.size() && IS_HIGH_SURROGATE(text[done + length - 1]))
            --length;
        DWORD written = 0;
        if (!::WriteConsoleW(Console, text.data() + done, static_cast<DWORD>(length), &written, nullptr)
            || written == 0)
            return Outcome::Failed;
        done += written;
    }
    return Outcome::Written;
}

Outcome WriteBytes(HANDLE File, const std::string &Bytes)
{
    std::size_t done = 0;
    while (done < Bytes.size()) {
        const DWORD length = static_cast<DWORD>(std::min<std::size_t>(Bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(File, Bytes.data() + done, length, &written, nullptr)) {
            const DWORD failure = ::GetLastError();
            // A pipe whose reader has closed its end: Windows says it is
            // being closed or broken, wine that no process is on the other
            // end.
            if (failure == ERROR_NO_DATA || failure == ERROR_BROKEN_PIPE || failure == ERROR_PIPE_NOT_CONNECTED)
                return Outcome::Closed;
            return Outcome::Failed;
        }
        if (written == 0)
            return Outcome::Failed;
        done += written;
    }
    return Outcome::Written;
}

} // namespace

namespace StandardStream {

Outcome Write(Stream Which, const std::string &Bytes)
{
    if (Bytes.empty())
        return Outcome::Written;
    const HANDLE handle = ::GetStdHandle(Which == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return Outcome::Failed;
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode))
        return WriteConsoleText(handle, Bytes);
    return WriteBytes(handle, Bytes);
}

} // namespace StandardStream
