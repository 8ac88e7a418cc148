#include "cli/ToolInput.h"

#include "platform/Error.h"
#include "platform/StreamInput.h"

#include <QLocale>

#include <utility>

namespace ToolInput {

namespace {

// Far more than any tile data or edits file: only a stream that never
// ends, such as /dev/zero, comes near it.
constexpr std::size_t LongestStream = std::size_t(256) * 1024 * 1024;

// Well above the longest line a dump writes (about 1,300 bytes: every flag
// named, every name byte escaped), with room for a spreadsheet's quoting.
constexpr std::size_t LongestLine = 4096;

// Follows the lines as the bytes come, and refuses the first too long.
class LineBound
{
public:
    LineBound(std::string Name, const char *Kind)
        : FName(std::move(Name))
        , FKind(Kind)
    {
    }

    void operator()(const std::vector<unsigned char> &Bytes, std::size_t From)
    {
        for (std::size_t at = From; at < Bytes.size(); ++at) {
            if (Bytes[at] != '\n')
                continue;
            Check(at);
            ++FLine;
            FLineStart = at + 1;
        }
        Check(Bytes.size());
    }

private:
    void Check(std::size_t LineEnd) const
    {
        if (LineEnd - FLineStart > LongestLine)
            throw Error(FName + ":" + std::to_string(FLine) + ": the line is longer than any line of a dump ("
                        + QLocale(QLocale::English).toString(qulonglong(LongestLine)).toStdString()
                        + " bytes); is this " + FKind + "?");
    }

    std::string FName;
    const char *FKind;
    std::size_t FLineStart = 0;
    int FLine = 1;
};

std::vector<unsigned char> ReadWatching(const std::string &Path, const StreamInput::Watch &Watch)
{
    return NamingFile(Path, [&] {
        if (Path == StandardInputPath)
            return StreamInput::ReadStandardInput(LongestStream, Watch);
        return StreamInput::ReadAll(Path, LongestStream, Watch);
    });
}

std::vector<unsigned char> ReadBounded(const std::string &Path, const char *Kind)
{
    LineBound bound(NameOf(Path), Kind);
    const StreamInput::Watch watch = [&](const std::vector<unsigned char> &Bytes, std::size_t From) {
        bound(Bytes, From);
    };
    return ReadWatching(Path, watch);
}

} // namespace

std::string NameOf(const std::string &Path)
{
    return Path == StandardInputPath ? std::string("standard input") : Path;
}

std::vector<unsigned char> Read(const std::string &Path)
{
    return ReadWatching(Path, {});
}

std::vector<unsigned char> ReadEdits(const std::string &Path)
{
    return ReadBounded(Path, "an edits file");
}

std::vector<unsigned char> ReadBaseline(const std::string &Path)
{
    return ReadBounded(Path, "an output of check");
}

void RethrowNaming(const std::string &Path)
{
    try {
        throw;
    } catch (const Error &e) {
        const std::string name = NameOf(Path);
        if (std::string(e.what()).find(name) != std::string::npos)
            throw;
        throw Error(name + ": " + e.what());
    }
}

} // namespace ToolInput
