#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The named tiles of the demo data set: what each is called, how it behaves
// and what its picture shows.
enum class DemoKind { Floor, Wall, Door, Window, Tree, Barrel, Crate, Lamp, Stairs, Fence, Rock, Bush, Column };

struct DemoTile
{
    int Index = 0;
    std::string Name;
    DemoKind Kind = DemoKind::Floor;
    std::uint16_t Colour = 0; // the main colour of its picture, 1-5-5-5
    int Variant = 0;
    std::uint32_t Flags = 0;
    int Weight = 0;
    int Quality = 0;
    int Quantity = 0;
    int Height = 0;
    int Hue = 0;
    int Anim = 0;
    bool Patched = false; // absent from the index, drawn from the patch file
};

// Every named tile, in ascending index order. Deterministic.
std::vector<DemoTile> DemoCatalogue();
