// quorvane-tool check with every file it reads made from arbitrary bytes:
// a newer tile data file with fuzzed land and item records, animdata.mul,
// texidx.mul with texmaps.mul, radarcol.mul, artidx.mul with art.mul, and
// a baseline. Any of them may be missing.

#include "cli/QuorvaneTool.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzLayout.h"
#include "fuzz/FuzzScratch.h"

#include <QFile>

#include <algorithm>
#include <cstdint>
#include <cstring>

using FuzzScratch::Expect;

namespace {

constexpr std::size_t LandSection = 493568;
constexpr std::size_t ItemGroup = 1316;

// Bytes copied over the start of Section in File, as many as fit.
void Overlay(std::vector<std::uint8_t> &File, std::size_t Section, const std::vector<std::uint8_t> &Bytes)
{
    const std::size_t count = std::min(Bytes.size(), File.size() - Section);
    if (count > 0)
        std::memcpy(File.data() + Section, Bytes.data(), count);
}

// The file Name from the input's next word-sized length, or removed when
// its bit of Present is clear.
void FileFrom(FuzzInput &Input, std::uint8_t Present, int Bit, const QString &Name)
{
    const std::vector<std::uint8_t> bytes = Input.Bytes(Input.Word());
    if ((Present >> Bit) & 1)
        FuzzScratch::Write(Name, bytes);
    else
        QFile::remove(FuzzScratch::PathOf(Name));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzScratch::Prepare();
    FuzzInput input(Data, Size);
    const std::uint8_t shape = input.Byte();
    const std::uint8_t present = input.Byte();
    std::vector<std::uint8_t> tiles(LandSection + ItemGroup * (1 + (shape & 7)), 0);
    Overlay(tiles, 0, input.Bytes(input.Word()));
    Overlay(tiles, LandSection, input.Bytes(input.Word()));
    const QString tileData = FuzzScratch::Write(QStringLiteral("tiledata.mul"), tiles);
    FileFrom(input, present, 0, QStringLiteral("animdata.mul"));
    FileFrom(input, present, 1, QStringLiteral("texidx.mul"));
    FileFrom(input, present, 2, QStringLiteral("radarcol.mul"));
    FileFrom(input, present, 3, QStringLiteral("artidx.mul"));
    FileFrom(input, present, 4, QStringLiteral("baseline"));
    // Only the lengths of the pixel files count.
    for (const auto &[bit, name, unit] : {std::tuple{5, "texmaps.mul", 64}, std::tuple{6, "art.mul", 16}}) {
        const std::size_t length = std::size_t(input.Word()) * unit;
        if ((present >> bit) & 1)
            FuzzScratch::Write(QString::fromLatin1(name), std::vector<std::uint8_t>(length, 0));
        else
            QFile::remove(FuzzScratch::PathOf(QString::fromLatin1(name)));
    }

    std::vector<std::string> arguments = {"check", tileData.toStdString(), "--fail-on", "note"};
    if ((present >> 4) & 1)
        arguments.insert(arguments.end(), {"--baseline", FuzzScratch::PathOf(QStringLiteral("baseline")).toStdString()});
    if (shape & 8)
        arguments.insert(arguments.end(), {"--format", "json"});
    const ToolRun run = RunQuorvaneTool(arguments);
    Expect(run.Status >= 0 && run.Status <= 2, "a status other than 0, 1 or 2");
    if (run.Status == 2)
        return 0;
    const bool json = shape & 8;
    Expect(run.Output.rfind(json ? "{\"findings\": [" : "index\tsection\trule\tseverity\tmessage\n", 0) == 0,
           "output without its head");
    const bool none = json ? run.Output.find("\"index\"") == std::string::npos
                           : std::count(run.Output.begin(), run.Output.end(), '\n') == 1;
    Expect(none == (run.Status == 0), "a status that does not match the findings");
    return 0;
}
