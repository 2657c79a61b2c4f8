#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::report {

// Writes JSON straight to a stream, so a long data list never sits in memory
// twice. Members of a container go on lines of their own unless it is begun
// inline, as a row of cells is, or it sits inside an inline one.
class JsonWriter final {
public:
    enum class Layout { Lines, Inline };

    explicit JsonWriter(std::FILE* out);

    void beginObject(Layout layout = Layout::Lines);
    void endObject();
    void beginArray(Layout layout = Layout::Lines);
    void endArray();
    void key(std::string_view name);
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(std::int64_t number);
    void null();
    void boolean(bool flag);
    // A number as the data list shows it; null when it is not finite.
    void number(double value);
    void finish();

    // text as a JSON string literal; bytes that are not UTF-8 become U+FFFD.
    static std::string quoted(std::string_view text);

private:
    struct Level {
        bool empty = true;
        bool inlined = false;
    };

    void beforeValue();
    void open(char bracket, Layout layout);
    void close(char bracket);
    void newline();
    void put(std::string_view s) { std::fwrite(s.data(), 1, s.size(), out_); }

    std::FILE* out_;
    std::vector<Level> levels_; // the open containers, outermost first
    bool afterKey_ = false;
};

} // namespace tolvane::report
