#include "core/insights/PlaySearch.h"

#include "core/rankings/KeyFold.h"

#include <algorithm>
#include <array>

namespace tolvane {

namespace {

constexpr char32_t kVoicedMark = 0x309B; // ゛
constexpr char32_t kSemiVoicedMark = 0x309C; // ゜
constexpr char32_t kHalfVoicedMark = 0xFF9E; // ﾞ
constexpr char32_t kHalfSemiVoicedMark = 0xFF9F; // ﾟ

// Full-width forms of U+FF61..FF9D, in order.
constexpr std::array<char16_t, 0x3D> kHalfWidthKana
    = {u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ', u'ョ', u'ッ', u'ー',
        u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ',
        u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ', u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ',
        u'ム', u'メ', u'モ', u'ヤ', u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン'};

// The letter with the voiced mark, or 0 when the two do not combine.
char32_t voiced(char32_t c)
{
    if ((c >= U'カ' && c <= U'チ' && (c - U'カ') % 2 == 0) || c == U'ツ' || c == U'テ' || c == U'ト')
        return c + 1;
    if (c >= U'ハ' && c <= U'ホ' && (c - U'ハ') % 3 == 0)
        return c + 1;
    switch (c) {
    case U'ウ': return U'ヴ';
    case U'ワ': return U'ヷ';
    case U'ヲ': return U'ヺ';
    default: return 0;
    }
}

// The letter with the semi-voiced mark, or 0.
char32_t semiVoiced(char32_t c)
{
    return c >= U'ハ' && c <= U'ホ' && (c - U'ハ') % 3 == 0 ? c + 2 : 0;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point at i and its length in bytes; a byte that does not start a
// well-formed sequence is returned alone with length 0.
std::pair<char32_t, std::size_t> decodeAt(std::string_view s, std::size_t i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    char32_t c = 0;
    if (b < 0x80)
        return {b, 1};
    if (b >= 0xC2 && b <= 0xDF)
        n = 2, c = b & 0x1F;
    else if (b >= 0xE0 && b <= 0xEF)
        n = 3, c = b & 0x0F;
    else if (b >= 0xF0 && b <= 0xF4)
        n = 4, c = b & 0x07;
    else
        return {b, 0};
    if (i + n > s.size())
        return {b, 0};
    for (std::size_t k = 1; k < n; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80)
            return {b, 0};
        c = (c << 6) | (t & 0x3F);
    }
    return {c, n};
}

// Width folding only; the caller folds letter case after it.
void foldWidth(std::string_view s, std::string& out)
{
    // The last code point written and where it starts, for a mark to join.
    char32_t last = 0;
    std::size_t lastAt = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto [decoded, length] = decodeAt(s, i);
        if (length == 0) {
            out += s[i];
            ++i;
            last = 0;
            continue;
        }
        i += length;
        char32_t c = decoded;
        if (c >= 0xFF01 && c <= 0xFF5E) {
            c -= 0xFF01 - 0x21;
        } else if (c == 0x3000) {
            c = U' ';
        } else if (c >= 0xFF61 && c <= 0xFF9D) {
            c = kHalfWidthKana[c - 0xFF61];
        } else if (c == kHalfVoicedMark || c == kHalfSemiVoicedMark) {
            const char32_t joined = c == kHalfVoicedMark ? voiced(last) : semiVoiced(last);
            if (joined != 0) {
                out.resize(lastAt);
                appendUtf8(out, joined);
                last = 0; // a second mark has nothing to join
                continue;
            }
            c = c == kHalfVoicedMark ? kVoicedMark : kSemiVoicedMark;
        }
        last = c;
        lastAt = out.size();
        appendUtf8(out, c);
    }
}

} // namespace

std::string foldForSearch(std::string_view utf8)
{
    std::string wide;
    wide.reserve(utf8.size() + utf8.size() / 2);
    foldWidth(utf8, wide);
    return foldLetterCase(wide);
}

void PlaySearch::rebuild(const PlayList& plays)
{
    folded_.clear();
    rowStart_.clear();
    rowStart_.reserve(plays.size() + 1);
    std::string wide;
    for (std::size_t r = 0; r < plays.size(); ++r) {
        rowStart_.push_back(folded_.size());
        const PlayRecord& p = plays.row(r);
        for (const std::string_view field : {p.title, p.artist, p.genre}) {
            wide.clear();
            foldWidth(field, wide);
            folded_ += foldLetterCase(wide);
            folded_ += '\0';
        }
    }
    rowStart_.push_back(folded_.size());
}

template <class Hit> void PlaySearch::scan(std::string_view text, Hit&& hit) const
{
    const std::string needle = foldForSearch(text);
    const std::size_t rows = size();
    if (needle.empty()) {
        for (std::size_t r = 0; r < rows; ++r)
            hit(r);
        return;
    }
    if (needle.find('\0') != std::string::npos)
        return;
    const std::string_view all(folded_);
    std::size_t row = 0;
    for (std::size_t at = all.find(needle); at != std::string_view::npos;) {
        // The row holding the match: usually close ahead, so step first.
        while (row + 1 < rowStart_.size() && rowStart_[row + 1] <= at)
            ++row;
        hit(row);
        at = all.find(needle, rowStart_[row + 1]);
    }
}

std::vector<std::uint8_t> PlaySearch::matchFlags(std::string_view text) const
{
    std::vector<std::uint8_t> flags(size(), 0);
    scan(text, [&](std::size_t row) { flags[row] = 1; });
    return flags;
}

std::vector<std::size_t> PlaySearch::matchingRows(std::string_view text) const
{
    std::vector<std::size_t> rows;
    scan(text, [&](std::size_t row) { rows.push_back(row); });
    return rows;
}

} // namespace tolvane
