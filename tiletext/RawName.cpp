#include "tiletext/RawName.h"

#include "tiletext/NameText.h"
#include "tiledata/TileDataReader.h"

#include <algorithm>

namespace RawName {

namespace {

std::size_t NameEnd(std::string_view Field)
{
    return std::min(Field.find('\0'), Field.size());
}

} // namespace

std::string Of(const TTileData &Store, TTileKind Kind, int Index)
{
    // The name is the last part of every record, land or item, whatever
    // the layout.
    const QByteArray record = Store.GetRecordBytes(Kind, Index);
    const qsizetype length = std::min<qsizetype>(record.size(), NameLength);
    return std::string(record.constData() + record.size() - length, std::size_t(length));
}

bool HasBytesAfterEnd(std::string_view Field)
{
    const std::size_t end = NameEnd(Field);
    return end < Field.size() && Field.find_first_not_of('\0', end) != std::string_view::npos;
}

bool BytesAfterEndDiffer(std::string_view A, std::string_view B)
{
    const std::size_t from = std::max(NameEnd(A), NameEnd(B)) + 1;
    const auto after = [from](std::string_view Field) {
        return from < Field.size() ? Field.substr(from) : std::string_view();
    };
    return after(A) != after(B);
}

void AppendEscaped(std::string &Out, std::string_view Field)
{
    const std::size_t last = Field.find_last_not_of('\0');
    NameText::AppendEscaped(Out, Field.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

} // namespace RawName
