#include "cli/CheckBaseline.h"

#include "platform/Error.h"
#include "tiletext/CellValue.h"
#include "tiletext/TextAppend.h"
#include "tiletext/TsvCells.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

constexpr int MostTiles = 0x10000;
constexpr const char *Columns[] = {"index", "section", "rule"};

bool IsBlank(std::string_view Line)
{
    return Line.find_first_not_of(" \t\r") == std::string_view::npos;
}

std::string_view StartOf(std::string_view Text)
{
    const std::size_t first = Text.find_first_not_of(" \t\r\n");
    return first == std::string_view::npos ? std::string_view() : Text.substr(first);
}

} // namespace

TCheckBaseline::TCheckBaseline(const std::string &Name, std::string_view Text)
    : FName(Name)
{
    // Files written on Windows may start with a byte order mark.
    if (Text.substr(0, 3) == "\xEF\xBB\xBF")
        Text.remove_prefix(3);
    FJson = StartOf(Text).substr(0, 1) == "{";
    if (FJson)
        ReadJson(Text);
    else
        ReadTsv(Text);
    std::sort(FKeys.begin(), FKeys.end());
}

std::uint64_t TCheckBaseline::Key(TTileKind Kind, int Index, TCheckRule Rule)
{
    return std::uint64_t(Kind == TTileKind::Land ? 1 : 0) << 40 | std::uint64_t(std::uint32_t(Index)) << 8
           | std::uint64_t(Rule);
}

bool TCheckBaseline::Holds(const TFinding &Finding) const
{
    return std::binary_search(FKeys.begin(), FKeys.end(), Key(Finding.Kind, Finding.Index, Finding.Rule));
}

void TCheckBaseline::Add(std::string_view Section, std::string_view Index, std::string_view Rule)
{
    const std::string where
        = FJson ? FName + ": finding " + std::to_string(FLine) + ": " : FName + ":" + std::to_string(FLine) + ": ";
    TTileKind kind = TTileKind::Item;
    if (Section == "land")
        kind = TTileKind::Land;
    else if (Section != "items")
        throw Error(where + TextAppend::Quoted(Section) + " is not a section (items or land)");
    const std::optional<TCheckRule> rule = CheckRules::Named(std::string(Rule));
    if (!rule)
        throw Error(where + TextAppend::Quoted(Rule) + " is not a rule");
    int index = 0;
    try {
        index = Index.substr(0, 2) == "0x" ? CellValue::TileIndex(Index, MostTiles - 1)
                                           : int(CellValue::Decimal(Index, MostTiles - 1));
    } catch (const Error &e) {
        throw Error(where + "index: " + e.what());
    }
    FKeys.push_back(Key(kind, index, *rule));
}

void TCheckBaseline::ReadTsv(std::string_view Text)
{
    TsvCells cells;
    std::size_t columns[3] = {};
    std::size_t width = 0;
    for (std::size_t start = 0; start < Text.size();) {
        std::size_t end = Text.find('\n', start);
        if (end == std::string_view::npos)
            end = Text.size();
        std::string_view line = Text.substr(start, end - start);
        start = end + 1;
        ++FLine;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (IsBlank(line))
            continue;
        if (!cells.Split(line))
            throw Error(FName + ":" + std::to_string(FLine) + ": " + cells.LastFault().Reason);
        if (width == 0) {
            width = cells.Size();
            for (std::size_t c = 0; c < 3; ++c) {
                std::size_t at = 0;
                while (at < cells.Size() && cells[at] != Columns[c])
                    ++at;
                if (at == cells.Size())
                    throw Error(FName + ":" + std::to_string(FLine) + ": the header has no " + Columns[c]
                                + " column; is this an output of check?");
                columns[c] = at;
            }
            continue;
        }
        if (cells.Size() != width)
            throw Error(FName + ":" + std::to_string(FLine) + ": " + std::to_string(cells.Size())
                        + " cells where the header has " + std::to_string(width));
        Add(cells[columns[1]], cells[columns[0]], cells[columns[2]]);
    }
}

void TCheckBaseline::ReadJson(std::string_view Text)
{
    QJsonParseError error;
    const QJsonDocument document
        = QJsonDocument::fromJson(QByteArray(Text.data(), qsizetype(Text.size())), &error);
    if (error.error != QJsonParseError::NoError)
        throw Error(FName + ": not JSON at byte " + std::to_string(error.offset) + ": "
                    + error.errorString().toStdString());
    const QJsonValue findings = document.object().value(QStringLiteral("findings"));
    if (!findings.isArray())
        throw Error(FName + ": no \"findings\" list; is this an output of check?");
    for (const QJsonValue &value : findings.toArray()) {
        ++FLine;
        const QJsonObject finding = value.toObject();
        std::string cells[3];
        for (std::size_t c = 0; c < 3; ++c)
            cells[c] = finding.value(QLatin1String(Columns[c])).toString().toStdString();
        Add(cells[1], cells[0], cells[2]);
    }
}
