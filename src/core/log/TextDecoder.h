#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Turns the bytes of one line of the log into UTF-8. The log is code page 932
// unless it starts with a UTF-8 byte order mark. Bytes that cannot be decoded
// become U+FFFD; decoding never fails.
class TextDecoder final {
public:
    enum class Encoding { Cp932, Utf8 };

    explicit TextDecoder(Encoding encoding = Encoding::Cp932);

    Encoding encoding() const { return encoding_; }

    // Appends the decoded text of bytes to out.
    void decode(std::string_view bytes, std::string& out) const;
    std::string decode(std::string_view bytes) const;

private:
    Encoding encoding_;
};

} // namespace tolvane
