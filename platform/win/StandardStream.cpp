#include "platform/StandardStream.h"

#include "platform/win/FileHandle.h"
#include "platform/win/WideText.h"

#include <algorithm>
#include <windows.h>

namespace {

using StandardStream::Outcome;

std::string LastFailure;

Outcome Failed(const std::string &Reason)
{
    LastFailure = Reason;
    return Outcome::Failed;
}

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
        if (!::WriteConsoleW(Console, text.data() + done, static_cast<DWORD>(length), &written, nullptr))
            return Failed(FileHandle::ReasonFor(::GetLastError()));
        if (written == 0)
            return Failed("the console took none of the text");
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
            return Failed(FileHandle::ReasonFor(failure));
        }
        if (written == 0)
            return Failed("the system took none of the bytes");
        done += written;
    }
    return Outcome::Written;
}

} // namespace

namespace StandardStream {

std::string FailureReason()
{
    return LastFailure;
}

Outcome Write(Stream Which, const std::string &Bytes)
{
    if (Bytes.empty())
        return Outcome::Written;
    const HANDLE handle = ::GetStdHandle(Which == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return Failed("the program has no such stream");
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode))
        return WriteConsoleText(handle, Bytes);
    return WriteBytes(handle, Bytes);
}

} // namespace StandardStream
