#include "core/analysis/PlayList.h"

#include "core/log/NumberText.h"

namespace tolvane {

std::string PlayList::cell(std::size_t row, int column) const
{
    const PlayRecord& p = this->row(row);
    switch (column) {
    case 0: return std::to_string(p.no);
    case 1: return std::string(p.dateTime);
    case 2: return std::string(p.title);
    case 3: return std::string(p.artist);
    case 4: return std::string(p.genre);
    case 5: return numberText(p.level);
    case 6: return numberText(p.bpm);
    case 7: return numberText(p.totalNotes);
    case 8: return std::to_string(p.score);
    case 9: return numberText(p.maxCombo);
    default: return {};
    }
}

std::array<std::string, PlayList::kColumns> PlayList::cells(std::size_t row) const
{
    std::array<std::string, kColumns> out;
    for (int c = 0; c < kColumns; ++c)
        out[static_cast<std::size_t>(c)] = cell(row, c);
    return out;
}

} // namespace tolvane
