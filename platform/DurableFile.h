#pragma once

#include <cstddef>
#include <string>

// Small files that must be on the disk, names and all, before the program
// goes on: a save's journal is one. Every step is reported to the file seam
// (FileProbe) like those of the file classes.
namespace DurableFile {

// Creates the file at Path, which must not exist yet, writes Size bytes of
// Data to it, puts them on the disk, closes it and puts its name on the
// disk too. On any failure nothing is left behind (a file already created
// is removed again) and Error says why in the system's words ("Permission
// denied"); a file already at Path fails with the system's "File exists".
void CreateFlushed(const std::string &Path, const void *Data, std::size_t Size);

// Removes the file at Path and puts that on the disk. Throws Error with the
// system's reason.
void RemoveFlushed(const std::string &Path);

// Removes the file at Path without waiting for the disk: for a file whose
// coming back after a crash does no harm. Throws Error with the system's
// reason.
void Remove(const std::string &Path);

// True when the system's last Create failure meant that a file already
// stands at the path.
bool IsExistsFailure(const std::string &Reason);

} // namespace DurableFile
