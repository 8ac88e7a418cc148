#include "cli/LinkColumns.h"

#include "tiletext/TextAppend.h"
#include "tiletext/TileDump.h"
#include "tiletext/TileRow.h"
#include "tilelinks/LinkFiles.h"
#include "tiledata/TileDataReader.h"

void LinkColumns::Add(DumpOptions &Options, TLinkFiles &Files, const TTileData &Store)
{
    if (Options.Texture) {
        TTextureReader &textures = Files.Textures();
        Options.Extra.push_back({TTileKind::Land, ColumnHeader::TextureSize, [&textures, &Store](std::string &Out, int Index) {
                                     if (const int side = textures.Side(Store.GetTexture(Index)))
                                         TextAppend::Decimal(Out, std::uint32_t(side));
                                 }});
    }
    if (Options.Animation) {
        TAnimationReader &animations = Files.Animations();
        Options.Extra.push_back({TTileKind::Item, ColumnHeader::Frames, [&animations](std::string &Out, int Index) {
                                     const char *separator = "";
                                     for (const int frame : animations.Frames(Index)) {
                                         Out += separator;
                                         if (frame < 0)
                                             Out += '-';
                                         TextAppend::TileIndex(Out, frame < 0 ? -frame : frame);
                                         separator = " ";
                                     }
                                 }});
    }
}
