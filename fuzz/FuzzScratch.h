#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// What every harness needs around the code under test: an offscreen widget
// application (cursors, progress windows and list boxes want one), message
// boxes that never block, and a private folder for the files an input is
// written to. The folder lies in memory where the system offers one, so
// that writing a megabyte per input costs no disk traffic.
namespace FuzzScratch {

// Creates the application and silences the message boxes on first use.
void Prepare();

// The path of Name in the scratch folder.
QString PathOf(const QString &Name);

// Writes Bytes to Name in the scratch folder, replacing what was there.
QString Write(const QString &Name, const std::vector<std::uint8_t> &Bytes);

// Reads the whole file back into a buffer that each call reuses, so that
// reading a megabyte per input costs no fresh allocation; the result is
// valid until the next call.
const std::vector<std::uint8_t> &Read(const QString &Path);

// Stops the harness with a message when Condition is false; libFuzzer then
// reports the input as a finding.
void Expect(bool Condition, const char *What);

} // namespace FuzzScratch
