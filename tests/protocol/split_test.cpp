#include <gtest/gtest.h>

#include "protocol/gbk.h"
#include "protocol/split.h"

namespace vinylo::protocol {
namespace {

using Pieces = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string text;
    std::string separator;
    Pieces expected;
};

class SplitTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, GivesThePieces) {
    const auto& c = GetParam();
    EXPECT_EQ(Split(c.text, c.separator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitTable,
    ::testing::Values(
        SplitCase{"empty_text", "", "|||", {}},
        SplitCase{"empty_separator", "a|||b", "", {"a|||b"}},
        SplitCase{"no_separator", "abc", "|||", {"abc"}},
        SplitCase{"one_in_the_middle", "ab|||1", "|||", {"ab", "1"}},
        SplitCase{"leading", "|||4", "|||", {"", "4"}},
        SplitCase{"trailing_gives_no_empty_last", "abc|||", "|||", {"abc"}},
        SplitCase{"double", "a||||||b", "|||", {"a", "", "b"}},
        SplitCase{"only_separator", "|||", "|||", {""}},
        SplitCase{"two_trailing", "a||||||", "|||", {"a", ""}},
        SplitCase{"three_pieces", "a|||b|||c", "|||", {"a", "b", "c"}},
        SplitCase{"overlap_takes_first_match", "a||||b", "|||", {"a", "|b"}},
        SplitCase{"gbk_text", Utf8ToGbk("禁言|||8"), "|||", {Utf8ToGbk("禁言"), "8"}},
        // A GBK character whose second byte is 0x7C: that byte never starts
        // "|||"; the match can start only at the next character.
        SplitCase{"gbk_second_byte_7c", "\x81|||||x", "|||", {"\x81|", "|x"}},
        SplitCase{"gbk_second_byte_7c_then_two", "\x81|||", "|||", {"\x81|||"}},
        SplitCase{"gbk_lead_byte_hides_separator_start", "a\xB0|bq", "|b", {"a\xB0|bq"}},
        SplitCase{"gbk_separator", Utf8ToGbk("甲用户乙"), Utf8ToGbk("用户"), {Utf8ToGbk("甲"), Utf8ToGbk("乙")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitFields, KeepsTheEmptyLastPiece) {
    EXPECT_EQ(SplitFields("abc|||", "|||"), (Pieces{"abc", ""}));
    EXPECT_EQ(SplitFields("", "|||"), (Pieces{""}));
    EXPECT_EQ(SplitFields("a|||b", "|||"), (Pieces{"a", "b"}));
    EXPECT_EQ(SplitFields("\x81|||", "|||"), (Pieces{"\x81|||"}));
}

TEST(PieceAt, CountsFromOneAndGivesEmptyPastTheEnd) {
    const Pieces pieces{"a", "b"};
    EXPECT_EQ(PieceAt(pieces, 1), "a");
    EXPECT_EQ(PieceAt(pieces, 2), "b");
    EXPECT_EQ(PieceAt(pieces, 3), "");
    EXPECT_EQ(PieceAt(pieces, 0), "");
}

}  // namespace
}  // namespace vinylo::protocol
