#include "game/SproutPuzzle/SproutPuzzleContent.h"

#include <vector>

namespace Yardcrew::SproutPuzzleContent
{

namespace
{

std::string Cut(const sSproutPuzzleCut& cut)
{
    return std::to_string(cut.columns) + "x" + std::to_string(cut.rows);
}

} // namespace

std::string PictureImage(const SproutPuzzleLevel& level)
{
    return "SproutPuzzle_Picture_" + level.PictureName();
}

std::string PiecesImageList(const SproutPuzzleLevel& level)
{
    return "SproutPuzzle_Pieces_" + level.PictureName() + "_" + level.CutName();
}

std::string CutLinesImage(const SproutPuzzleLevel& level)
{
    return "SproutPuzzle_CutLines_" + level.CutName();
}

std::span<const sContentName> List()
{
    struct Built
    {
        std::string name;
        eContentKind kind;
        int frames;
    };
    // The built names live as long as the list, which lives until exit.
    static const std::vector<Built> built = []
    {
        std::vector<Built> names;
        for (const sSproutPuzzleCut& cut : kSproutPuzzleCuts)
            names.push_back({"SproutPuzzle_CutLines_" + Cut(cut), ContentKind_Image, 0});
        for (const char* picture : kSproutPuzzlePictureNames)
        {
            names.push_back({std::string("SproutPuzzle_Picture_") + picture, ContentKind_Image, 0});
            for (const sSproutPuzzleCut& cut : kSproutPuzzleCuts)
                names.push_back({std::string("SproutPuzzle_Pieces_") + picture + "_" + Cut(cut), ContentKind_ImageList,
                                 cut.columns * cut.rows});
        }
        return names;
    }();
    static const std::vector<sContentName> names = []
    {
        const std::span<const sContentName> declared = Declared().names;
        std::vector<sContentName> list(declared.begin(), declared.end());
        for (const Built& name : built)
        {
            if (name.kind == ContentKind_ImageList)
                list.push_back({name.kind, name.name.c_str(), name.frames, name.frames});
            else
                list.push_back({name.kind, name.name.c_str()});
        }
        return list;
    }();
    return names;
}

} // namespace Yardcrew::SproutPuzzleContent
