#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::report {

// Writes JSON to a stream through a buffer of its own, so a long data list
// never sits in memory whole and goes out in large blocks. Members of a
// container go on lines of their own unless it is begun inline, as a row of
// cells is, or it sits inside an inline one.
class JsonWriter final {
public:
    enum class Layout { Lines, Inline };

    explicit JsonWriter(std::FILE* out);
    ~JsonWriter(); // writes out what the buffer still holds
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

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
    // The last line end; writes everything out and flushes the stream.
    void finish();

private:
    struct Level {
        bool empty = true;
        bool inlined = false;
    };

    void beforeValue();
    void open(char bracket, Layout layout);
    void close(char bracket);
    void newline();
    void put(std::string_view s);
    void putQuoted(std::string_view text);
    void writeOut();

    std::FILE* out_;
    std::unique_ptr<char[]> buffer_; // written out when the next piece would not fit
    std::size_t used_ = 0;
    std::string clean_; // the valid UTF-8 of a text that held bytes to replace
    std::string spill_; // a text with its escapes, on its way out
    std::vector<Level> levels_; // the open containers, outermost first
    bool afterKey_ = false;
};

} // namespace tolvane::report
