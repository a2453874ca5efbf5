#include "format/gbk.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(EncodeGbk, BytesAndUnencodableCharacters) {
    struct Case {
        std::string text;
        std::string bytes;
        std::u32string unencodable;
    } const cases[] = {
        {"", "", U""},
        {"a\r\nb\t~", "a\r\nb\t~", U""},
        {"//端口I/O定义子程序",
         "\x2f\x2f\xb6\xcb\xbf\xda\x49\x2f\x4f\xb6\xa8\xd2\xe5\xd7\xd3\xb3\xcc\xd0\xf2", U""},
        {"谢谢使用！", "\xd0\xbb\xd0\xbb\xca\xb9\xd3\xc3\xa3\xa1", U""},
        {"x😀y😀", "xy", U"😀"},  // listed once, nothing put in its place
        {"a\xff"
         "b",
         "ab", U"\uFFFD"},                // malformed UTF-8
        {"\xed\xa0\x80", "", U"\uFFFD"},  // an encoded surrogate
        {"\xe4\xb8", "", U"\uFFFD"},      // truncated sequence
        {"한😀", "", U"한😀"},
    };
    for (const auto& c : cases) {
        const auto encoded = EncodeGbk(c.text);
        EXPECT_EQ(encoded.bytes, c.bytes) << c.text;
        EXPECT_EQ(encoded.unencodable, c.unencodable) << c.text;
    }
}

}  // namespace
}  // namespace korvane
