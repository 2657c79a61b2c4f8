#include "support/LogGenerator.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>
#include <system_error>

namespace tolvane::testing {
namespace {

// ---------------------------------------------------------------------------
// Randomness. Only the raw engine output is used: the standard distributions
// differ between library implementations, and the logs must not.

class Rng {
public:
    explicit Rng(std::uint64_t seed)
        : engine_(seed)
    {
    }

    std::uint64_t next() { return engine_(); }
    double unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; } // [0, 1)
    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    int range(int lo, int hi) { return lo + below(hi - lo + 1); } // inclusive
    bool chance(double p) { return unit() < p; }
    double exponential(double mean) { return -mean * std::log1p(-unit()); }
    // Skewed towards 0: a few entries of a list get most of the picks.
    int popular(int n)
    {
        const double u = unit();
        return std::min(n - 1, static_cast<int>(u * u * n));
    }
    template <typename T, std::size_t N> const T& pick(const std::array<T, N>& items)
    {
        return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
    }

private:
    std::mt19937_64 engine_;
};

// ---------------------------------------------------------------------------
// iconv

class Converter {
public:
    Converter(const char* to, const char* from)
        : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv_open failed for ") + from + " -> " + to);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { iconv_close(cd_); }

    std::string operator()(std::string_view in)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out(in.size() * 2 + 16, '\0');
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        while (srcLeft > 0) {
            if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1))
                continue;
            if (errno != E2BIG)
                throw std::runtime_error("iconv cannot convert: " + std::string(in));
            const std::size_t used = static_cast<std::size_t>(dst - out.data());
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = out.size() - used;
        }
        out.resize(static_cast<std::size_t>(dst - out.data()));
        return out;
    }

private:
    iconv_t cd_;
};

// ---------------------------------------------------------------------------
// UTF-8 text helpers for the pool

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

std::u32string decodeUtf8(std::string_view s)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < s.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0x3F);
        out += c;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string encodeUtf8(const std::u32string& s)
{
    std::string out;
    for (char32_t c : s)
        appendUtf8(out, c);
    return out;
}

enum class LetterCase { Upper, Lower };

// Changes the case of ASCII and full-width Latin letters, leaving the rest alone.
std::string withCase(std::string_view s, LetterCase letterCase)
{
    std::u32string text = decodeUtf8(s);
    for (char32_t& c : text) {
        if (letterCase == LetterCase::Upper) {
            if (c >= U'a' && c <= U'z')
                c -= 0x20;
            else if (c >= U'ａ' && c <= U'ｚ')
                c -= 0x20;
        } else {
            if (c >= U'A' && c <= U'Z')
                c += 0x20;
            else if (c >= U'Ａ' && c <= U'Ｚ')
                c += 0x20;
        }
    }
    return encodeUtf8(text);
}

// ASCII to its full-width form; the space becomes the ideographic space.
std::string fullWidth(std::string_view ascii)
{
    std::string out;
    for (char ch : ascii) {
        if (ch == ' ')
            appendUtf8(out, U'\u3000');
        else
            appendUtf8(out, U'\uFF01' + static_cast<char32_t>(ch - '!'));
    }
    return out;
}

// Two titles a reader might take for one song (case or width aside) share a key.
std::string foldKey(std::string_view s)
{
    std::u32string text = decodeUtf8(s);
    for (char32_t& c : text) {
        if (c >= U'\uFF01' && c <= U'\uFF5E')
            c = c - U'\uFF01' + U'!';
        else if (c == U'\u3000')
            c = U' ';
        if (c >= U'A' && c <= U'Z')
            c += 0x20;
    }
    return encodeUtf8(text);
}

std::string upperAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 0x20);
    return s;
}

std::string lowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 0x20);
    return s;
}

// ---------------------------------------------------------------------------
// Word lists. Some kanji and katakana here (表, 能, 十, 予, ソ) have 0x5C as their
// second CP932 byte, which trips readers that scan bytes for backslashes.

using Words = std::string_view;

constexpr std::array<Words, 40> kAsciiWords = {"Wave", "Dream", "Night", "Star", "Light", "Blue", "Moon", "Heart",
    "Beat", "Rush", "Fly", "Sky", "Fire", "Love", "Dance", "Future", "Groove", "Magic", "Planet", "Crystal", "Storm",
    "Rain", "Sweet", "Electric", "Hyper", "Cosmic", "Silent", "Golden", "Funky", "Wild", "Neon", "Trip", "Paradise",
    "Jungle", "Zero", "Gravity", "Shine", "Fantasy", "Spark", "Echo"};

constexpr std::array<Words, 40> kKanji = {"夜空", "桜", "恋", "夢", "星", "月", "風", "海", "雪", "花火", "涙", "光",
    "未来", "約束", "季節", "天使", "迷宮", "永遠", "奇跡", "疾風", "雷鳴", "紅蓮", "蒼穹", "表裏", "能面", "十字架",
    "予感", "鼓動", "幻想", "情熱", "宇宙", "少女", "記憶", "蜃気楼", "銀河", "太陽", "雨", "虹", "表情", "十六夜"};

constexpr std::array<Words, 12> kHiragana = {"さくら", "ひまわり", "きらきら", "ふわふわ", "どきどき", "ゆめ",
    "ないしょ", "ありがとう", "さよなら", "ぽかぽか", "はじまり", "かくれんぼ"};

constexpr std::array<Words, 22> kKatakana = {"メロディー", "ソウル", "ハート", "ドリーム", "スター", "ファンタジー",
    "サマー", "ミラクル", "ラブソング", "ロマンス", "ゲーム", "アクセル", "ダンス", "リズム", "トランス", "ビート",
    "パラダイス", "ワンダー", "シャイン", "ノスタルジア", "ソニック", "ヴィーナス"};

constexpr std::array<Words, 8> kVerbs = {"舞う", "咲く", "走る", "輝く", "踊る", "眠る", "響く", "叫ぶ"};

constexpr std::array<Words, 16> kHalfKana = {"ｱｸｾﾙ", "ﾄﾗﾝｽ", "ﾜｰﾙﾄﾞ", "ｽﾋﾟｰﾄﾞ", "ﾒﾛﾃﾞｨ", "ﾊﾟﾗﾀﾞｲｽ", "ﾃｸﾉ", "ﾋﾞｰﾄ",
    "ｿｳﾙ", "ｽﾀｰ", "ﾄﾞﾘｰﾑ", "ﾊｰﾄ", "ﾗｯｼｭ", "ﾌｧﾝﾀｼﾞｰ", "ｻﾏｰ", "ﾐﾗｸﾙ"};

constexpr std::array<Words, 20> kFamilyNames = {"山田", "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "中村", "小林",
    "加藤", "吉田", "松本", "井上", "木村", "林", "清水", "森", "池田", "橋本", "石川"};

constexpr std::array<Words, 16> kGivenNames = {"太郎", "花子", "健一", "美咲", "翔", "陽子", "大輔", "さくら", "ゆうき",
    "ひろし", "真央", "拓也", "彩", "直樹", "愛", "ソラ"};

constexpr std::array<Words, 20> kAsciiArtists
    = {"Hiro-K", "Team Nova", "Sound Factory", "DJ Kaz", "MC Rhythm", "Starlight Orchestra", "k.o.t.a", "Neon Cats",
        "BeatBox Brothers", "Mr. Groove", "The Pulse", "Yuki feat. Ryo", "SEVEN", "Digital Garden", "Aqua Lung",
        "Blue Velvet", "Project X", "Cyber Monkeys", "Ray of Light", "Kenji & The Machines"};

constexpr std::array<Words, 8> kHalfKanaArtists
    = {"ｻｳﾝﾄﾞ工房", "ﾃｸﾉﾎﾞｰｲ", "ﾋﾟｺﾋﾟｺ隊", "ﾐｯｸｽﾏｽﾀｰ", "ﾄﾞﾗﾑ職人", "ｼﾝｾ少年", "ﾋﾞｰﾄ製作所", "ｿﾆｯｸ堂"};

constexpr std::array<Words, 8> kSymbolArtists = {
    "ねこ☆ぱんち", "Ｐ－ｍａｎ", "☆ミルキー☆", "ｋｏｔａ＆ｙｕｍｉ", "♪うたひめ♪", "∞ループ∞", "α－ｗａｖｅ", "×ばつ×"};

constexpr std::array<Words, 32> kGenres = {"ＰＯＰ", "J-POP", "TECHNO", "ハウス", "ﾄﾗﾝｽ", "ユーロビート", "ＲＯＣＫ",
    "ドラムンベース", "ＨＡＰＰＹ　ＨＡＲＤＣＯＲＥ", "Ambient", "ジャズ", "演歌", "アニメソング", "ゲーム音楽",
    "ﾋﾞｯｸﾞﾋﾞｰﾄ", "クラシック", "R&B", "HIP HOP", "ＧＡＲＡＧＥ", "レゲエ", "ファンク", "歌謡曲", "民謡", "Speed Core",
    "テクノポップ", "ブレイクビーツ", "♪ＥＵＲＯ　ＰＯＰ♪", "ＧＯＡ－ＴＲＡＮＣＥ", "ジャングル", "ソウル", "能楽ﾃｸﾉ",
    "Hi-NRG"};

constexpr std::array<Words, 8> kStrayLines
    = {"----------------------------------------", "メモ：今日は調子が良かった", "このファイルは削除しないでください",
        "score.txt", "ｽｺｱﾛｸﾞ", "#", "=== 2nd PC ===", "申請する時は、この行から切り取る"};

constexpr std::string_view kHeaderLine = "BM98 score log";

// ---------------------------------------------------------------------------
// The song pool

std::string asciiTitle(Rng& rng)
{
    const std::string a(rng.pick(kAsciiWords));
    const std::string b(rng.pick(kAsciiWords));
    switch (rng.below(10)) {
    case 0: return a + "~" + a;
    case 1: return a + " " + b;
    case 2: return "The " + a + " " + b;
    case 3: return a + "-" + b;
    case 4: return a + " " + b + "!";
    case 5: return a + " & " + b;
    case 6: return a + " of " + b;
    case 7: return a + b;
    case 8: return a + " " + b + " (Remix)";
    default: return lowerAscii(a + " " + b);
    }
}

std::string fullWidthTitle(Rng& rng)
{
    const std::string a(rng.pick(kAsciiWords));
    const std::string b(rng.pick(kAsciiWords));
    switch (rng.below(5)) {
    case 0: return fullWidth(upperAscii(a + "~" + a));
    case 1: return fullWidth(upperAscii(a + " " + b));
    case 2: return fullWidth(upperAscii(a + "-" + b));
    case 3: return fullWidth(upperAscii(a + " " + b + "!"));
    default: return fullWidth(a + " & " + b); // mixed case: both variants differ
    }
}

std::string japaneseTitle(Rng& rng)
{
    const std::string j1(rng.pick(kKanji)), j2(rng.pick(kKanji));
    const std::string k(rng.pick(kHiragana));
    const std::string t1(rng.pick(kKatakana)), t2(rng.pick(kKatakana));
    switch (rng.below(14)) {
    case 0: return j1 + "の" + j2;
    case 1: return j1 + std::string(rng.pick(kVerbs));
    case 2: return k + "☆" + t1;
    case 3: return "「" + j1 + "」";
    case 4: return j1 + "～" + t1 + "～";
    case 5: return t1 + "・" + t2;
    case 6: return j1 + "♪";
    case 7: return j1 + "－" + j2 + "－";
    case 8: return t1 + "の" + j1;
    case 9: return k + "な" + j1;
    case 10: return j1 + "物語";
    case 11: return "『" + j1 + "の" + j2 + "』";
    case 12: return t1 + " " + t2;
    default: return j1 + "　" + j2;
    }
}

std::string halfKanaTitle(Rng& rng)
{
    const std::string a(rng.pick(kHalfKana)), b(rng.pick(kHalfKana));
    switch (rng.below(6)) {
    case 0: return a + " " + b;
    case 1: return a + "･" + b;
    case 2: return a + "!!";
    case 3: return a + b;
    case 4: return "ｽｰﾊﾟｰ" + a;
    default: return a + "ﾀｲﾑ";
    }
}

std::string mixedTitle(Rng& rng)
{
    const std::string w(rng.pick(kAsciiWords));
    const std::string j(rng.pick(kKanji)), j2(rng.pick(kKanji));
    const std::string t(rng.pick(kKatakana));
    const std::string h(rng.pick(kHalfKana));
    switch (rng.below(11)) {
    case 0: return j + "☆" + fullWidth(upperAscii(w));
    case 1: return w + "♪" + t;
    case 2: return j + "～" + w + "～";
    case 3: return w + " " + j;
    case 4: return fullWidth(lowerAscii(w)) + "な" + j;
    case 5: return t + " " + w + "!";
    case 6: return h + " " + w;
    case 7: return "♪" + w + "♪";
    case 8: return j + "×" + j2;
    case 9: return w + " ∞";
    default: return j + "Ⅱ";
    }
}

std::string newTitle(Rng& rng)
{
    const int kind = rng.below(100);
    if (kind < 25)
        return asciiTitle(rng);
    if (kind < 40)
        return fullWidthTitle(rng);
    if (kind < 75)
        return japaneseTitle(rng);
    if (kind < 85)
        return halfKanaTitle(rng);
    return mixedTitle(rng);
}

std::string newArtist(Rng& rng)
{
    switch (rng.below(6)) {
    case 0: return "ＤＪ " + std::string(rng.pick(kGivenNames));
    case 1: {
        const std::string family(rng.pick(kFamilyNames));
        const std::string given(rng.pick(kGivenNames));
        return rng.chance(0.5) ? family + " " + given : family + given;
    }
    case 2: return std::string(rng.pick(kAsciiArtists));
    case 3: return fullWidth(upperAscii(std::string(rng.pick(kAsciiArtists))));
    case 4: return std::string(rng.pick(kHalfKanaArtists));
    default: return std::string(rng.pick(kSymbolArtists));
    }
}

// A name whose key no earlier one has: redraws a few times, then numbers it.
template <typename Make> std::string uniqueName(Make make, std::set<std::string>& seen)
{
    std::string name;
    for (int attempt = 0; attempt < 20; ++attempt) {
        name = make();
        if (seen.insert(foldKey(name)).second)
            return name;
    }
    for (int n = 2;; ++n) {
        std::string numbered = name + " " + std::to_string(n);
        if (seen.insert(foldKey(numbered)).second)
            return numbered;
    }
}

std::vector<std::string> caseVariants(const std::string& canonical)
{
    std::vector<std::string> variants{canonical};
    for (LetterCase c : {LetterCase::Upper, LetterCase::Lower}) {
        std::string v = withCase(canonical, c);
        if (std::find(variants.begin(), variants.end(), v) == variants.end())
            variants.push_back(std::move(v));
    }
    return variants;
}

double parseBpm(const std::string& text)
{
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size())
        throw std::logic_error("bad BPM text " + text);
    return value;
}

std::vector<PoolSong> buildPool(const GeneratorOptions& options)
{
    // A stream of its own, so the pool does not change with the play count.
    Rng rng(options.seed ^ 0x9E3779B97F4A7C15ULL);
    const int songCount = options.songs;

    std::set<std::string> seenArtists;
    const int artistCount = std::max(1, std::min(songCount, std::max(8, songCount / 4)));
    std::vector<std::string> artists;
    artists.push_back(uniqueName([] { return std::string("ＤＪ 太郎"); }, seenArtists));
    while (static_cast<int>(artists.size()) < artistCount)
        artists.push_back(uniqueName([&] { return newArtist(rng); }, seenArtists));

    std::set<std::string> seenTitles;
    std::vector<PoolSong> pool;
    pool.reserve(static_cast<std::size_t>(songCount));
    for (int i = 0; i < songCount; ++i) {
        PoolSong song;
        auto makeTitle = [&] {
            return i == 0 ? std::string("Wave~Wave") : i == 1 ? std::string("ＤＡＮＣＥ　ＭＡＮＩＡＸ") : newTitle(rng);
        };
        song.titleVariants = caseVariants(uniqueName(makeTitle, seenTitles));
        const int artist = i == 0 ? 0 : rng.popular(artistCount);
        song.artistVariants = caseVariants(artists[static_cast<std::size_t>(artist)]);
        song.genre = i == 1
            ? std::string(kGenres[0])
            : std::string(kGenres[static_cast<std::size_t>(rng.popular(static_cast<int>(kGenres.size())))]);
        song.level = (rng.range(1, 12) + rng.range(1, 12) + 1) / 2;

        int bpm = std::clamp(80 + song.level * 8 + rng.range(-25, 40), 60, 260);
        if (i == 0)
            bpm = 140;
        song.bpmText = std::to_string(bpm);
        if (i > 1 && rng.chance(0.12)) {
            static constexpr std::array<std::string_view, 8> kFractions
                = {".5", ".25", ".75", ".333", ".666", ".2", ".125", ".857"};
            song.bpmText += rng.pick(kFractions);
        }
        song.bpm = parseBpm(song.bpmText);
        song.totalNotes = std::max(60, 100 + song.level * 80 + rng.range(-60, 140));
        pool.push_back(std::move(song));
    }
    return pool;
}

std::vector<std::string> allStrings(const std::vector<PoolSong>& pool)
{
    std::vector<std::string> out;
    for (const PoolSong& song : pool) {
        out.insert(out.end(), song.titleVariants.begin(), song.titleVariants.end());
        out.insert(out.end(), song.artistVariants.begin(), song.artistVariants.end());
        out.push_back(song.bpmText);
    }
    for (Words g : kGenres)
        out.emplace_back(g);
    for (Words s : kStrayLines)
        out.emplace_back(s);
    out.emplace_back(kHeaderLine);
    out.emplace_back(kMarkerLine);
    out.push_back(std::string(kMarkerLine) + " ");
    out.push_back(" " + std::string(kMarkerLine));
    return out;
}

// ---------------------------------------------------------------------------
// Calendar (proleptic Gregorian, days since 1970-01-01)

std::int64_t daysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    std::int64_t year;
    int month, day;
};

Civil civilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2), m, d};
}

bool validDate(int y, int m, int d)
{
    if (m < 1 || m > 12 || d < 1)
        return false;
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= kDays[static_cast<std::size_t>(m - 1)] + (m == 2 && leap ? 1 : 0);
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// ---------------------------------------------------------------------------
// Output

class Output {
public:
    Output(LineEnd lineEnd, std::FILE* file)
        : file_(file)
    {
        eol_ = lineEnd == LineEnd::CrLf ? "\r\n" : lineEnd == LineEnd::Lf ? "\n" : "\r";
    }

    std::string& buffer() { return buffer_; }
    void put(std::string_view s) { buffer_.append(s); }
    void put(char c) { buffer_ += c; }
    void putInt(long long value)
    {
        char tmp[24];
        const auto result = std::to_chars(tmp, tmp + sizeof tmp, value);
        buffer_.append(tmp, result.ptr);
    }
    void endLine()
    {
        buffer_.append(eol_);
        ++lines_;
    }
    long nextLine() const { return lines_ + 1; }

    void maybeFlush()
    {
        if (file_ != nullptr && buffer_.size() >= (1u << 20))
            flush();
    }
    void flush()
    {
        if (file_ == nullptr || buffer_.empty())
            return;
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
            throw std::runtime_error(std::string("cannot write log: ") + std::strerror(errno));
        buffer_.clear();
    }

private:
    std::FILE* file_;
    std::string_view eol_;
    std::string buffer_;
    long lines_ = 0;
};

// Pool strings in the bytes the log is written in.
struct EncodedSong {
    std::vector<std::string> titles, artists;
    std::string genre;
};

struct Encoded {
    std::vector<EncodedSong> songs;
    std::string marker, header;
    std::vector<std::string> stray;
};

Encoded encodePool(const std::vector<PoolSong>& pool, bool cp932)
{
    std::unique_ptr<Converter> toCp932, fromCp932;
    if (cp932) {
        toCp932 = std::make_unique<Converter>("CP932", "UTF-8");
        fromCp932 = std::make_unique<Converter>("UTF-8", "CP932");
    }
    // Every string goes through CP932 and back: one that changes would make
    // the expected plays disagree with the bytes.
    auto encode = [&](std::string_view utf8) {
        if (!cp932)
            return std::string(utf8);
        std::string bytes = (*toCp932)(utf8);
        if ((*fromCp932)(bytes) != utf8)
            throw std::logic_error("does not round-trip through CP932: " + std::string(utf8));
        return bytes;
    };
    Encoded out;
    out.songs.reserve(pool.size());
    for (const PoolSong& song : pool) {
        EncodedSong e;
        for (const std::string& t : song.titleVariants)
            e.titles.push_back(encode(t));
        for (const std::string& a : song.artistVariants)
            e.artists.push_back(encode(a));
        e.genre = encode(song.genre);
        out.songs.push_back(std::move(e));
    }
    out.marker = encode(kMarkerLine);
    out.header = encode(kHeaderLine);
    for (Words s : kStrayLines)
        out.stray.push_back(encode(s));
    return out;
}

// ---------------------------------------------------------------------------
// Plays

struct Draw {
    int song = 0, titleVariant = 0, artistVariant = 0;
    int autoplay = 0, autoScratch = 0;
    bool nineLines = false, unpadded = false;
    int pgreat = 0, great = 0, good = 0, bad = 0, poor = 0;
    int score = 0, maxCombo = 0;
};

int variantOf(Rng& rng, std::size_t count, double rate)
{
    const bool other = rng.chance(rate);
    if (!other || count < 2)
        return 0;
    return 1 + rng.below(static_cast<int>(count) - 1);
}

Draw drawPlay(Rng& rng, const std::vector<PoolSong>& pool, const GeneratorOptions& o)
{
    Draw d;
    d.song = rng.popular(static_cast<int>(pool.size()));
    const PoolSong& song = pool[static_cast<std::size_t>(d.song)];
    d.titleVariant = variantOf(rng, song.titleVariants.size(), o.caseVariantRate);
    d.artistVariant = variantOf(rng, song.artistVariants.size(), o.caseVariantRate);
    d.autoplay = rng.chance(o.autoplayRate) ? rng.range(1, 3) : 0;
    d.autoScratch = rng.chance(o.autoScratchRate) ? rng.range(1, 3) : 0;
    d.nineLines = rng.chance(o.nineLineRate);
    d.unpadded = rng.chance(o.unpaddedDateRate);

    const int total = song.totalNotes;
    const double skill = 0.55 + 0.44 * rng.unit();
    const bool fullCombo = d.autoplay != 0 || rng.chance(0.06);
    const bool failed = !fullCombo && rng.chance(0.015);
    if (d.autoplay != 0) {
        d.great = total;
    } else if (fullCombo) {
        d.good = static_cast<int>(total * (1 - skill) * rng.unit());
        d.great = total - d.good;
    } else {
        const int miss = 1 + static_cast<int>(total * (1 - skill) * 0.5 * rng.unit());
        d.bad = static_cast<int>(miss * (0.3 + 0.5 * rng.unit()));
        d.poor = miss - d.bad + rng.range(0, 5); // empty presses count as poor too
        d.good = static_cast<int>((total - miss) * (1 - skill) * rng.unit());
        d.great = total - miss - d.good;
    }
    if (fullCombo) {
        d.maxCombo = total;
    } else if (failed) {
        d.maxCombo = rng.range(0, std::min(total, 30));
    } else {
        const int misses = d.bad + 1;
        const int longest = std::max(0, total - d.bad);
        const int shortest = std::min(longest, (longest + misses - 1) / misses);
        d.maxCombo = rng.range(shortest, longest);
    }
    d.pgreat = static_cast<int>(d.great * (0.5 + 0.3 * rng.unit()));
    if (d.autoplay == 0 && !failed)
        d.score = static_cast<int>((200000LL * (2LL * d.great + d.good)) / (2LL * total));
    return d;
}

void putTwoDigits(Output& out, int value)
{
    out.put(static_cast<char>('0' + value / 10));
    out.put(static_cast<char>('0' + value % 10));
}

struct When {
    std::int64_t year;
    int month, day, hour, minute, second;
};

When splitTime(std::int64_t seconds)
{
    const std::int64_t days = floorDiv(seconds, 86400);
    const auto inDay = static_cast<int>(seconds - days * 86400);
    const Civil c = civilFromDays(days);
    return {c.year, c.month, c.day, inDay / 3600, inDay / 60 % 60, inDay % 60};
}

// Writes one entry; returns the text after "Date:" (in ASCII).
std::string writeEntry(Output& out, const Encoded& enc, const std::vector<PoolSong>& pool, const Draw& d, const When& w)
{
    const PoolSong& song = pool[static_cast<std::size_t>(d.song)];
    const EncodedSong& es = enc.songs[static_cast<std::size_t>(d.song)];

    out.put("Date:");
    const std::size_t dateStart = out.buffer().size();
    out.putInt(w.year);
    out.put('/');
    if (d.unpadded)
        out.putInt(w.month);
    else
        putTwoDigits(out, w.month);
    out.put('/');
    if (d.unpadded)
        out.putInt(w.day);
    else
        putTwoDigits(out, w.day);
    out.put(' ');
    putTwoDigits(out, w.hour);
    out.put(':');
    putTwoDigits(out, w.minute);
    out.put(':');
    putTwoDigits(out, w.second);
    std::string dateText = out.buffer().substr(dateStart);
    out.endLine();

    out.put("Title:");
    out.put(es.titles[static_cast<std::size_t>(d.titleVariant)]);
    out.put("   Artist:");
    out.put(es.artists[static_cast<std::size_t>(d.artistVariant)]);
    out.endLine();
    out.put("Genre:");
    out.put(es.genre);
    out.put("   PlayLevel:");
    out.putInt(song.level);
    out.endLine();
    out.put("BPM:");
    out.put(song.bpmText);
    out.endLine();
    out.put("AutoPlay Mode       :");
    out.putInt(d.autoplay);
    out.endLine();
    out.put("AutoScratch:");
    out.putInt(d.autoScratch);
    out.endLine();
    out.put("Total Notes         :");
    out.putInt(song.totalNotes);
    out.put("   Score ");
    out.putInt(d.score);
    out.endLine();
    if (d.nineLines) {
        out.put("PGreat ");
        out.putInt(d.pgreat);
        out.put("  Great ");
        out.putInt(d.great - d.pgreat);
        out.endLine();
        out.put("Good ");
        out.putInt(d.good);
        out.put("  Bad ");
        out.putInt(d.bad);
        out.put("  Poor ");
        out.putInt(d.poor);
        out.put("  MaxCombo ");
        out.putInt(d.maxCombo);
        out.endLine();
    } else {
        out.put("Great ");
        out.putInt(d.great);
        out.put("   Good ");
        out.putInt(d.good);
        out.put("   Bad ");
        out.putInt(d.bad);
        out.put("   Poor ");
        out.putInt(d.poor);
        out.put("   MaxCombo ");
        out.putInt(d.maxCombo);
        out.endLine();
    }
    return dateText;
}

void validate(const GeneratorOptions& o)
{
    auto rate = [](double r, const char* name) {
        if (!(r >= 0 && r <= 1))
            throw std::invalid_argument(std::string(name) + " must be within 0..1");
    };
    if (o.plays < 0)
        throw std::invalid_argument("plays must not be negative");
    if (o.songs < 1)
        throw std::invalid_argument("songs must be at least 1");
    if (o.startYear < 1 || o.startYear > 9999 || !validDate(o.startYear, o.startMonth, o.startDay))
        throw std::invalid_argument("start date is not a calendar date");
    if (!(o.meanGapMinutes >= 0 && o.meanGapMinutes <= 1e6))
        throw std::invalid_argument("meanGapMinutes must be within 0..1e6");
    rate(o.junkRate, "junkRate");
    rate(o.nineLineRate, "nineLineRate");
    rate(o.autoplayRate, "autoplayRate");
    rate(o.autoScratchRate, "autoScratchRate");
    rate(o.caseVariantRate, "caseVariantRate");
    rate(o.unpaddedDateRate, "unpaddedDateRate");
}

// Plays come in sessions: a few minutes apart, then a long break, with the
// overall mean being the requested one.
std::int64_t nextGapSeconds(Rng& rng, double mean)
{
    constexpr double kSessionGap = 4.0;
    constexpr double kBreakChance = 0.15;
    double minutes;
    if (mean <= kSessionGap) {
        minutes = rng.exponential(mean);
    } else {
        const double breakMean = (mean - (1 - kBreakChance) * kSessionGap) / kBreakChance;
        // Within a session a song takes a minute or two before the next can start.
        minutes = rng.chance(kBreakChance) ? rng.exponential(breakMean) : 1.5 + rng.exponential(kSessionGap - 1.5);
    }
    return std::max<std::int64_t>(1, std::llround(minutes * 60));
}

// The last second a log may hold: 9999/12/31 23:59:59.
std::int64_t lastSecond()
{
    return daysFromCivil(9999, 12, 31) * 86400 + 86399;
}

void generate(const GeneratorOptions& options, Output& out, std::vector<GeneratedPlay>* plays)
{
    validate(options);
    const std::vector<PoolSong> pool = buildPool(options);
    const Encoded enc = encodePool(pool, !options.utf8WithBom);
    Rng rng(options.seed);

    if (plays != nullptr) {
        plays->clear();
        plays->reserve(static_cast<std::size_t>(options.plays));
    }
    if (options.utf8WithBom)
        out.put("\xEF\xBB\xBF");
    if (options.junkRate > 0) {
        out.put(enc.header);
        out.endLine();
    }

    std::int64_t now = daysFromCivil(options.startYear, options.startMonth, options.startDay) * 86400
        + rng.range(10 * 3600, 22 * 3600);
    const double gapMinutes = effectiveGapMinutes(options);
    const std::int64_t last = lastSecond();
    bool first = true;
    auto advance = [&] {
        // The lowered gap keeps the plays well inside the year 9999; should
        // chance still carry them to its end, they stay on its last second.
        if (!first)
            now = std::min(now + nextGapSeconds(rng, gapMinutes), last);
        first = false;
    };

    for (int counted = 0; counted < options.plays; ++counted) {
        if (rng.chance(options.junkRate)) {
            const int pieces = rng.range(1, 3);
            for (int k = 0; k < pieces; ++k) {
                const int kind = rng.below(100);
                if (kind < 30) {
                    out.endLine();
                } else if (kind < 60) {
                    out.put(enc.stray[static_cast<std::size_t>(rng.below(static_cast<int>(enc.stray.size())))]);
                    out.endLine();
                } else if (kind < 85) {
                    // A marker with a blank around it is no marker: the play after it does not count.
                    const bool trailing = rng.chance(0.6);
                    if (!trailing)
                        out.put(' ');
                    out.put(enc.marker);
                    if (trailing)
                        out.put(' ');
                    out.endLine();
                    advance();
                    const Draw d = drawPlay(rng, pool, options);
                    writeEntry(out, enc, pool, d, splitTime(now));
                } else {
                    out.put(enc.header);
                    out.endLine();
                }
            }
        }

        advance();
        const Draw d = drawPlay(rng, pool, options);
        const long markerLine = out.nextLine();
        out.put(enc.marker);
        out.endLine();
        const When w = splitTime(now);
        std::string dateText = writeEntry(out, enc, pool, d, w);
        if (plays != nullptr) {
            const PoolSong& song = pool[static_cast<std::size_t>(d.song)];
            GeneratedPlay p;
            p.dateTime = std::move(dateText);
            p.title = song.titleVariants[static_cast<std::size_t>(d.titleVariant)];
            p.artist = song.artistVariants[static_cast<std::size_t>(d.artistVariant)];
            p.genre = song.genre;
            p.level = song.level;
            p.bpm = song.bpm;
            p.autoplay = d.autoplay;
            p.autoScratch = d.autoScratch;
            p.totalNotes = song.totalNotes;
            p.score = d.score;
            p.maxCombo = d.maxCombo;
            p.year = static_cast<int>(w.year);
            p.month = w.month;
            p.day = w.day;
            p.hour = w.hour;
            p.minute = w.minute;
            p.second = w.second;
            p.markerLine = markerLine;
            p.songIndex = d.song;
            plays->push_back(std::move(p));
        }
        out.maybeFlush();
    }
    out.flush();
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

double effectiveGapMinutes(const GeneratorOptions& options)
{
    validate(options);
    if (options.plays == 0)
        return options.meanGapMinutes;
    // Junk adds an uncounted entry, which takes a gap too, to half a junk
    // stretch on average (two pieces of which a quarter are entries).
    const double gaps = options.plays * (1 + options.junkRate / 2);
    const std::int64_t latestStart
        = daysFromCivil(options.startYear, options.startMonth, options.startDay) * 86400 + 22 * 3600;
    // A tenth of the room is kept spare for chance.
    const double fit = 0.9 * static_cast<double>(lastSecond() - latestStart) / 60 / gaps;
    return std::min(options.meanGapMinutes, fit);
}

GeneratedLog generateLog(const GeneratorOptions& options)
{
    GeneratedLog log;
    Output out(options.lineEnd, nullptr);
    out.buffer().reserve(static_cast<std::size_t>(std::max(0, options.plays)) * 300 + 64);
    generate(options, out, &log.plays);
    log.bytes = std::move(out.buffer());
    return log;
}

void writeLog(const std::string& path, const GeneratorOptions& options, std::vector<GeneratedPlay>* plays)
{
    validate(options); // before the file is created
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    Output out(options.lineEnd, file.get());
    out.buffer().reserve((1u << 20) + 4096);
    generate(options, out, plays);
    if (std::fclose(file.release()) != 0)
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
}

std::vector<PoolSong> songPool(const GeneratorOptions& options)
{
    validate(options);
    return buildPool(options);
}

std::vector<std::string> generatorStrings(const GeneratorOptions& options)
{
    return allStrings(songPool(options));
}

std::string utf8ToCp932(std::string_view utf8)
{
    Converter convert("CP932", "UTF-8");
    return convert(utf8);
}

std::string cp932ToUtf8(std::string_view cp932)
{
    Converter convert("UTF-8", "CP932");
    return convert(cp932);
}

} // namespace tolvane::testing
