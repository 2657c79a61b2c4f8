// tolvane-genlog: writes a synthetic play log for benchmarks and manual testing.

#include "support/LogGenerator.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kUsage
    = "usage: tolvane-genlog [--plays N] [--seed S] [--gap MINUTES] [--start yyyy/mm/dd]\n"
      "                      [--lf|--cr] [--utf8-bom] OUTPUT\n"
      "\n"
      "Writes a synthetic score log of N counted plays (default 1000) to OUTPUT.\n"
      "  --plays N          counted entries\n"
      "  --seed S           random seed (default 1); the same seed gives the same file\n"
      "  --gap MINUTES      mean time between plays (default 600; less when the plays\n"
      "                     would otherwise run past the year 9999)\n"
      "  --start yyyy/mm/dd day of the first play (default 2001/11/21)\n"
      "  --lf, --cr         line ends other than CR LF\n"
      "  --utf8-bom         UTF-8 with a byte order mark instead of CP932\n";

template <typename T> bool parseNumber(std::string_view text, T& value)
{
    if (text.empty())
        return false;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

bool parseStart(std::string_view text, tolvane::testing::GeneratorOptions& options)
{
    const auto first = text.find('/');
    const auto second = text.find('/', first == std::string_view::npos ? first : first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos)
        return false;
    return parseNumber(text.substr(0, first), options.startYear)
        && parseNumber(text.substr(first + 1, second - first - 1), options.startMonth)
        && parseNumber(text.substr(second + 1), options.startDay);
}

int usageError(std::string_view message)
{
    std::fprintf(stderr, "tolvane-genlog: %.*s\n%.*s", static_cast<int>(message.size()), message.data(),
        static_cast<int>(kUsage.size()), kUsage.data());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    tolvane::testing::GeneratorOptions options;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--help" || arg == "-h") {
            std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
            return 0;
        } else if (arg == "--plays") {
            const char* v = value();
            if (v == nullptr || !parseNumber(std::string_view(v), options.plays) || options.plays < 0)
                return usageError("--plays needs a count");
        } else if (arg == "--seed") {
            const char* v = value();
            if (v == nullptr || !parseNumber(std::string_view(v), options.seed))
                return usageError("--seed needs an unsigned integer");
        } else if (arg == "--gap") {
            const char* v = value();
            if (v == nullptr || !parseNumber(std::string_view(v), options.meanGapMinutes)
                || !(options.meanGapMinutes >= 0 && options.meanGapMinutes <= 1e6))
                return usageError("--gap needs minutes between 0 and 1000000");
        } else if (arg == "--start") {
            const char* v = value();
            if (v == nullptr || !parseStart(v, options))
                return usageError("--start needs a date as yyyy/mm/dd");
        } else if (arg == "--lf") {
            options.lineEnd = tolvane::testing::LineEnd::Lf;
        } else if (arg == "--cr") {
            options.lineEnd = tolvane::testing::LineEnd::Cr;
        } else if (arg == "--utf8-bom") {
            options.utf8WithBom = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option " + std::string(arg));
        } else if (output.empty()) {
            output = arg;
        } else {
            return usageError("only one OUTPUT");
        }
    }
    if (output.empty())
        return usageError("no OUTPUT given");

    try {
        tolvane::testing::writeLog(output, options);
    } catch (const std::invalid_argument& e) {
        return usageError(e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tolvane-genlog: %s\n", e.what());
        return 1;
    }
    return 0;
}
