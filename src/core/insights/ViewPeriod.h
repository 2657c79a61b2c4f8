#pragma once

#include "core/log/DateValue.h"

namespace tolvane {

// A view period: a narrowing of a history to a span, made from the plays in
// memory without reading the logs again (see FoldStep). It keeps the plays
// the span load filter (and tolvane-report --from/--to) keeps: a play whose
// day is before from's date-time is left out, and the first play, in history
// order, whose day is after to's date ends the span. A zero bound is no bound.
struct ViewSpan final {
    DateValue from = 0;
    DateValue to = 0;

    bool isWhole() const noexcept { return from == 0 && to == 0; }
};

} // namespace tolvane
