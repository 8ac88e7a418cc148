#include "platform/DurableFile.h"

#include "platform/Error.h"
#include "platform/FileProbe.h"
#include "platform/FileSystem.h"
#include "platform/win/FileHandle.h"
#include "platform/win/WideText.h"

namespace DurableFile {

namespace {

[[noreturn]] void Fail(DWORD ErrorCode)
{
    throw Error(FileHandle::ReasonFor(ErrorCode == ERROR_SUCCESS ? ERROR_WRITE_FAULT : ErrorCode));
}

void WriteAll(HANDLE Handle, const std::string &Path, const void *Data, std::size_t Size)
{
    const auto *bytes = static_cast<const unsigned char *>(Data);
    std::size_t done = 0;
    while (done < Size) {
        if (FileProbe::Fails(FileProbe::Step::Write, Path, static_cast<std::int64_t>(done)))
            Fail(ERROR_WRITE_FAULT);
        OVERLAPPED at = FileHandle::At(done);
        DWORD n = 0;
        if (!::WriteFile(Handle, bytes + done, FileHandle::Piece(Size - done), &n, &at) || n == 0)
            Fail(::GetLastError());
        FileProbe::Wrote(Path, static_cast<std::int64_t>(done), bytes + done, n);
        done += n;
    }
    if (FileProbe::Fails(FileProbe::Step::Sync, Path) || !::FlushFileBuffers(Handle))
        Fail(::GetLastError());
}

} // namespace

// Windows keeps a folder's names in its own journal: there is no folder to
// flush, so that step is only reported to the seam.
void CreateFlushed(const std::string &Path, const void *Data, std::size_t Size)
{
    if (FileProbe::Fails(FileProbe::Step::Create, Path))
        Fail(ERROR_WRITE_FAULT);
    const std::wstring wide = WideText::FromUtf8(Path);
    const HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        Fail(::GetLastError());
    try {
        WriteAll(handle, Path, Data, Size);
    } catch (const Error &) {
        ::CloseHandle(handle);
        ::DeleteFileW(wide.c_str());
        throw;
    }
    const bool closeFails = FileProbe::Fails(FileProbe::Step::Close, Path);
    if (!::CloseHandle(handle) || closeFails || FileProbe::Fails(FileProbe::Step::FolderSync, Path)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(wide.c_str());
        Fail(error);
    }
}

void Remove(const std::string &Path)
{
    if (FileProbe::Fails(FileProbe::Step::Remove, Path))
        Fail(ERROR_WRITE_FAULT);
    if (!::DeleteFileW(WideText::FromUtf8(Path).c_str()))
        Fail(::GetLastError());
}

void RemoveFlushed(const std::string &Path)
{
    Remove(Path);
    if (FileProbe::Fails(FileProbe::Step::FolderSync, Path))
        Fail(ERROR_WRITE_FAULT);
}

bool IsExistsFailure(const std::string &Reason)
{
    return Reason == FileHandle::ReasonFor(ERROR_FILE_EXISTS);
}

} // namespace DurableFile
