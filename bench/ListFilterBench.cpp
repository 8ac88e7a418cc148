// Filtering the tile list and going to a tile. The store holds 16,383 item
// tiles; newer files hold 65,536, so the filter is measured on a list model
// whose lines, names and flags come from a synthetic section of 65,536 tiles,
// decoded from single-byte names as the store decodes them.

#include "bench/BenchRegistry.h"
#include "bench/BenchWidgets.h"

#include "app/form/GoToTile.h"
#include "app/list/TileFilter.h"
#include "app/list/TileListModel.h"
#include "platform/qt/AnsiString.h"

#include <QFontDatabase>
#include <QListView>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Tiles = 65536;
constexpr std::uint64_t Wall = 0x10;
constexpr std::uint64_t Impassable = 0x40;

// 65,536 tiles: one in seven a "Stone wall", some impassable, some walls.
class TSyntheticSection
{
public:
    TSyntheticSection()
    {
        for (int tile = 0; tile < Tiles; ++tile) {
            FNames.push_back(tile % 7 == 0 ? "Stone wall " + std::to_string(tile) : "tile " + std::to_string(tile));
            FFlags.push_back((tile % 3 == 0 ? Impassable : 0) | (tile % 5 == 0 ? Wall : 0));
        }
    }
    QString Name(int Tile) const
    {
        const std::string &name = FNames[std::size_t(Tile)];
        return AnsiString::Decode(name.data(), int(name.size()));
    }
    std::uint64_t Flags(int Tile) const { return FFlags[std::size_t(Tile)]; }

private:
    std::vector<std::string> FNames;
    std::vector<std::uint64_t> FFlags;
};

class TSyntheticModel : public TTileListModel
{
public:
    explicit TSyntheticModel(const TSyntheticSection &Section)
        : TTileListModel(TTileKind::Item, nullptr)
        , FSection(Section)
    {
    }

protected:
    int SourceCount() const override { return Tiles; }
    QString SourceLine(int Tile) const override
    {
        return QStringLiteral("0x%1 - %2").arg(QString::number(Tile, 16).toUpper(), FSection.Name(Tile));
    }

private:
    const TSyntheticSection &FSection;
};

const TSyntheticSection &Section()
{
    static const TSyntheticSection section;
    return section;
}

TTileFilter NameFilter()
{
    TTileFilter filter;
    filter.SetName(QStringLiteral("stone"));
    return filter;
}

TTileFilter FlagsFilter()
{
    TTileFilter filter;
    filter.SetFlag(6, TTileFilter::FlagState::Set);
    filter.SetFlag(4, TTileFilter::FlagState::Clear);
    return filter;
}

std::size_t Count(const TTileFilter &Filter)
{
    std::size_t n = 0;
    for (int tile = 0; tile < Tiles; ++tile)
        n += Filter.Matches(Section().Flags(tile), [&] { return Section().Name(tile); }) ? 1 : 0;
    return n;
}

// The model behind a shown list, as the window has it; each run filters
// from the whole list, then shows it whole again outside the timing.
BenchSetup FilterCase(TTileFilter Filter)
{
    return [Filter] {
        const std::size_t Expected = Count(Filter);
        const TSyntheticSection &section = Section();
        auto model = std::make_shared<TSyntheticModel>(section);
        model->Refill();
        auto view = std::make_shared<QListView>();
        view->setUniformItemSizes(true);
        view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        view->setModel(model.get());
        view->resize(209, 516);
        view->show();
        SettleWidgets();
        return BenchBody([model, view, Filter, Expected, &section] {
            model->SetFilter([&](int Tile) { return Filter.Matches(section.Flags(Tile), [&] { return section.Name(Tile); }); });
            SettleWidgets();
            if (std::size_t(model->rowCount()) != Expected)
                throw std::logic_error("the filter kept a wrong number of tiles");
            RunUntimed([&] {
                model->SetFilter({});
                SettleWidgets();
            });
        });
    };
}

// The least the same work can cost: the same test of every tile, the
// matching indexes collected in a vector, no model and no view.
BenchSetup BareLoop(TTileFilter Filter)
{
    return [Filter] {
        const std::size_t Expected = Count(Filter);
        const TSyntheticSection &section = Section();
        auto kept = std::make_shared<std::vector<int>>();
        return BenchBody([Filter, Expected, kept, &section] {
            kept->clear();
            for (int tile = 0; tile < Tiles; ++tile) {
                if (Filter.Matches(section.Flags(tile), [&] { return section.Name(tile); }))
                    kept->push_back(tile);
            }
            if (kept->size() != Expected)
                throw std::logic_error("the loop kept a wrong number of tiles");
        });
    };
}

// Go to: parsing the index and selecting and showing its line in a shown
// list of 65,536, against selecting the line alone.
BenchSetup GoToCase(bool Parse)
{
    return [Parse] {
        auto model = std::make_shared<TSyntheticModel>(Section());
        model->Refill();
        auto view = std::make_shared<QListView>();
        view->setUniformItemSizes(true);
        view->setModel(model.get());
        view->resize(209, 516);
        view->show();
        SettleWidgets();
        auto next = std::make_shared<int>(0);
        // Plain pointers: the go to below is the view's child and keeps this
        // function, and shared ones would keep the view alive for ever.
        auto show = [shown = view.get(), lines = model.get()](int Tile) {
            shown->setCurrentIndex(lines->index(lines->RowOf(Tile)));
            shown->scrollTo(lines->index(lines->RowOf(Tile)));
        };
        // Owned by the view, as the window owns its own.
        // A successful go to takes back any earlier word, with an empty text.
        auto *goTo = new TGoToTile(view.get(), show, [](const QString &Text) {
            if (!Text.isEmpty())
                throw std::logic_error("go to refused an index");
        });
        return BenchBody([Parse, next, goTo, show, view, model] {
            const int tile = *next ? 0xFFFE : 0x10;
            *next = 1 - *next;
            if (Parse)
                goTo->Go(QStringLiteral("0x") + QString::number(tile, 16), Tiles);
            else
                show(tile);
            SettleWidgets();
        });
    };
}

const BenchPairRegistration FilterByName({"filter 65,536 tiles by a part of the name (model + shown list)",
                                          "FilterByName", "BareNameLoop", 2.0},
                                         FilterCase(NameFilter()),
                                         BareLoop(NameFilter()));
const BenchPairRegistration FilterByFlags({"filter 65,536 tiles by flags (model + shown list)", "FilterByFlags",
                                           "BareFlagsLoop", 0},
                                          FilterCase(FlagsFilter()),
                                          BareLoop(FlagsFilter()));
const BenchPairRegistration GoTo({"go to a tile of 65,536 (parse, select, scroll, paint)", "GoTo", "SelectLine", 1.2},
                                 GoToCase(true), GoToCase(false));

} // namespace
