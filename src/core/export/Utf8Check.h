#pragma once

#include <string_view>

namespace tolvane {

// Whether text is well-formed UTF-8 by the rule the UTF-8 decoder applies
// (no overlong forms, no surrogates, nothing above U+10FFFF), so that
// decoding it would give the same bytes back. Writers that must put out
// clean UTF-8 check with this first and decode only the rare text that fails.
bool isWellFormedUtf8(std::string_view text) noexcept;

} // namespace tolvane
