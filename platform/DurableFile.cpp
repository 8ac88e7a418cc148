#include "platform/DurableFile.h"

#include "platform/Error.h"
#include "platform/FileProbe.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace DurableFile {

namespace {

[[noreturn]] void Fail(int ErrorNumber)
{
    throw Error(FileSystem::SystemErrorText(ErrorNumber));
}

int FailedStep()
{
    return FileProbe::FailureError();
}

// A new name lasts a crash only once the folder holding it is on the disk.
void SyncFolderOf(const std::string &Path)
{
    const std::size_t slash = Path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : Path.substr(0, slash);
    if (FileProbe::Fails(FileProbe::Step::FolderSync, folder))
        Fail(FailedStep());
    int handle = -1;
    do
        handle = ::open(folder.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY);
    while (handle < 0 && errno == EINTR);
    if (handle < 0)
        Fail(errno);
    // Some file systems cannot flush a folder (EINVAL); their names are as
    // safe as they get.
    const int result = ::fsync(handle);
    const int error = errno;
    ::close(handle);
    if (result != 0 && error != EINVAL)
        Fail(error);
}

void WriteAll(int Handle, const std::string &Path, const void *Data, std::size_t Size)
{
    const auto *bytes = static_cast<const unsigned char *>(Data);
    std::size_t done = 0;
    while (done < Size) {
        const auto at = static_cast<std::int64_t>(done);
        if (FileProbe::Fails(FileProbe::Step::Write, Path, at))
            Fail(FailedStep());
        const ssize_t n = ::pwrite(Handle, bytes + done, Size - done, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail(n < 0 ? errno : EIO);
        FileProbe::Wrote(Path, at, bytes + done, static_cast<std::size_t>(n));
        done += static_cast<std::size_t>(n);
    }
    if (FileProbe::Fails(FileProbe::Step::Sync, Path))
        Fail(FailedStep());
    while (::fdatasync(Handle) != 0) {
        if (errno != EINTR)
            Fail(errno);
    }
}

} // namespace

void CreateFlushed(const std::string &Path, const void *Data, std::size_t Size)
{
    if (FileProbe::Fails(FileProbe::Step::Create, Path))
        Fail(FailedStep());
    int handle = -1;
    do
        handle = ::open(Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    while (handle < 0 && errno == EINTR);
    if (handle < 0)
        Fail(errno);
    try {
        WriteAll(handle, Path, Data, Size);
        const bool closeFails = FileProbe::Fails(FileProbe::Step::Close, Path);
        const int closed = ::close(handle);
        handle = -1;
        if (closeFails || (closed != 0 && errno != EINTR))
            Fail(closeFails ? FailedStep() : errno);
        SyncFolderOf(Path);
    } catch (const Error &) {
        if (handle >= 0)
            ::close(handle);
        ::unlink(Path.c_str());
        throw;
    }
}

void Remove(const std::string &Path)
{
    if (FileProbe::Fails(FileProbe::Step::Remove, Path))
        Fail(FailedStep());
    if (::unlink(Path.c_str()) != 0)
        Fail(errno);
}

void RemoveFlushed(const std::string &Path)
{
    Remove(Path);
    SyncFolderOf(Path);
}

bool IsExistsFailure(const std::string &Reason)
{
    return Reason == FileSystem::SystemErrorText(EEXIST);
}

} // namespace DurableFile
