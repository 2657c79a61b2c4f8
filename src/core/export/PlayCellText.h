#pragma once

#include "core/log/PlayRecord.h"

#include <array>
#include <string_view>

namespace tolvane {

// The text of a data list cell, as PlayList::cell gives it, without a string
// of its own: numbers are written into room this object keeps, texts are the
// record's. A view stays valid until the next call.
class PlayCellText final {
public:
    std::string_view operator()(const PlayRecord& play, int column);

private:
    std::string_view number(double value);
    std::string_view integer(std::int64_t value);

    std::array<char, 64> room_{};
};

} // namespace tolvane
