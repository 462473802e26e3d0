#include "client/search/json_script.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace vinylo::client {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kTwoSongs =
    R"({"code":200,"data":[{"title":"a"},{"title":"b","author":"c"}]})";

TEST(JsonScriptTest, SearchAnswerWithTwoSongs) {
    JsonScript json;
    ASSERT_TRUE(json.Parse(kTwoSongs));
    EXPECT_EQ(json.MemberCount("data"), 2);
    EXPECT_EQ(json.GetText("data[1].author"), "c");
    EXPECT_EQ(json.GetText("data[0].author"), "");
    EXPECT_EQ(json.GetText("data[0].title"), "a");
    EXPECT_EQ(json.GetText("code"), "200");
    EXPECT_EQ(json.GetText("data[5].title"), "");
    EXPECT_EQ(json.GetText("missing.title"), "");
}

TEST(JsonScriptTest, ParseAcceptsJsonValuesOnly) {
    struct Case {
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {"null", false},
        {"", false},
        {"  ", false},
        {"<html><body>502 Bad Gateway</body></html>", false},
        {"{'a':1}", false},  // script, not JSON
        {"{\"a\":1} trailing", false},
        {"({\"a\":1})", false},
        {"function(){return 1}()", false},
        {"{\"a\":1} // comment", false},
        {"{}", true},
        {"[]", true},
        {"3", true},
        {"\"text\"", true},
        {"false", true},
        {"\xEF\xBB\xBF{\"a\":1}", true},  // a UTF-8 byte order mark
    };
    for (const auto& c : cases) {
        JsonScript json;
        EXPECT_EQ(json.Parse(c.text), c.accepted) << c.text;
        if (!c.accepted) {
            EXPECT_EQ(json.TypeOf(), JsonType::kNull) << c.text;
        }
    }
}

TEST(JsonScriptTest, SecondParseClearsTheFirst) {
    JsonScript json;
    ASSERT_TRUE(json.Parse(kTwoSongs));
    ASSERT_TRUE(json.Parse(R"({"other":1})"));
    EXPECT_EQ(json.MemberCount("data"), 0);
    EXPECT_EQ(json.GetText("data[1].author"), "");
    EXPECT_FALSE(json.Parse("<html>"));
    EXPECT_EQ(json.GetText("other"), "");
}

TEST(JsonScriptTest, TextsOfEveryKind) {
    JsonScript json;
    ASSERT_TRUE(json.Parse(
        R"({"n":3,"neg":-12,"big":12345678901234567890,"f":2.5,"whole":4.0,"tiny":1e-7,)"
        R"("t":true,"no":false,"z":null,"s":"点歌\n\"q\"","o":{"k":[1,2]},"a":[1,"x"]})"));
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"n", "3"},           {"neg", "-12"},          {"big", "12345678901234567890"},
        {"f", "2.5"},         {"whole", "4"},          {"tiny", "1e-07"},
        {"t", "true"},        {"no", "false"},         {"z", ""},
        {"s", "点歌\n\"q\""}, {"o", R"({"k":[1,2]})"}, {"a", R"([1,"x"])"},
        {"o.k[1]", "2"},      {"a[1]", "x"},           {"", ""},
    };
    for (const auto& [path, text] : cases)
        EXPECT_EQ(json.GetText(path), text) << path;
    EXPECT_EQ(json.GetText("s", true), R"("点歌\n\"q\"")");
    EXPECT_EQ(json.GetText("z", true), "null");
    EXPECT_EQ(json.GetText("nothing", true), "");
    EXPECT_EQ(json.GetMemberJson("o"), R"({"k":[1,2]})");
}

TEST(JsonScriptTest, PathsThatLeadNowhere) {
    JsonScript json;
    ASSERT_TRUE(json.Parse(R"({"a":{"b":[{"c":"deep"}],"0":"zero"},"x y":1})"));
    EXPECT_EQ(json.GetText("a.b[0].c"), "deep");
    EXPECT_EQ(json.GetText("a[0]"), "zero");  // an index on an object names a member
    for (const char* path : {"a.b[0", "a..b", ".a", "a.", "a.b[-1].c", "a.b[x]", "a.b[0]c",
                             "a['b']", "x y", "a.b[99999999999].c", "a b", "1a", "a.b()"}) {
        EXPECT_EQ(json.GetText(path), "") << path;
        EXPECT_EQ(json.TypeOf(path), JsonType::kNull) << path;
    }
}

TEST(JsonScriptTest, RootArrayByIndex) {
    JsonScript json;
    ASSERT_TRUE(json.Parse(R"([{"title":"first"},7])"));
    EXPECT_EQ(json.GetText("[0].title"), "first");
    EXPECT_EQ(json.GetText("[1]"), "7");
    EXPECT_EQ(json.MemberCount(), 2);
    EXPECT_EQ(json.MemberCount("[0]"), 1);
    EXPECT_EQ(json.GetElementText(1), "7");
    EXPECT_EQ(json.GetElementText(0, {}, true), R"({"title":"first"})");
}

TEST(JsonScriptTest, MemberCounts) {
    JsonScript json;
    ASSERT_TRUE(json.Parse(R"({"e":[],"o":{"x":1,"y":2},"s":"abc","n":1,"z":null})"));
    EXPECT_EQ(json.MemberCount("e"), 0);
    EXPECT_EQ(json.MemberCount("o"), 2);
    EXPECT_EQ(json.MemberCount(), 5);
    for (const char* path : {"s", "n", "z", "missing", "o.x.y"}) {
        EXPECT_EQ(json.MemberCount(path), 0) << path;
    }
}

TEST(JsonScriptTest, MemberNames) {
    JsonScript json;
    ASSERT_TRUE(json.Parse(R"({"x":1,"y":{"a,b":1,"toJSONString":2},"l":[5,6,7]})"));
    std::vector<std::string> names = {"stale"};
    EXPECT_EQ(json.MemberNames(names), 3);
    EXPECT_THAT(names, ElementsAre("x", "y", "l"));
    EXPECT_EQ(json.MemberNames(names, "y"), 2);
    EXPECT_THAT(names, ElementsAre("a,b", "toJSONString"));  // names stay whole
    EXPECT_EQ(json.MemberNames(names, "l"), 3);
    EXPECT_THAT(names, ElementsAre("0", "1", "2"));
    EXPECT_EQ(json.MemberNames(names, "x"), 0);
    EXPECT_THAT(names, IsEmpty());
}

TEST(JsonScriptTest, TypeCodes) {
    JsonScript json;
    ASSERT_TRUE(json.Parse(R"({"a":[],"o":{},"s":"","n":0,"b":false,"z":null})"));
    EXPECT_EQ(json.TypeOf("a"), JsonType::kArray);
    EXPECT_EQ(json.TypeOf("o"), JsonType::kObject);
    EXPECT_EQ(json.TypeOf("s"), JsonType::kString);
    EXPECT_EQ(json.TypeOf("n"), JsonType::kNumber);
    EXPECT_EQ(json.TypeOf("b"), JsonType::kBoolean);
    EXPECT_EQ(json.TypeOf("z"), JsonType::kNull);
    EXPECT_EQ(json.TypeOf("missing"), JsonType::kNull);
    EXPECT_EQ(json.TypeOf(), JsonType::kObject);
    EXPECT_EQ(static_cast<int>(JsonType::kArray), 5);
    EXPECT_EQ(static_cast<int>(JsonType::kString), 6);
    EXPECT_TRUE(json.HasMember("s"));
    EXPECT_FALSE(json.HasMember("z"));
    EXPECT_FALSE(json.HasMember("missing"));
}

TEST(JsonScriptTest, BuildingAValue) {
    JsonScript json;  // an empty object to begin with
    EXPECT_EQ(json.ToJsonText(), "{}");
    json.SetMember("name", "it's \"quoted\"", false);  // stored as a string, as given
    json.SetMember("obj", "", true);                   // empty: an empty object
    json.SetMember("obj.list", "[1,2]", true);
    json.SetMember("obj.list[2]", "3", true);  // appended
    json.SetMember("obj.list[9]", "9", true);  // past the end: nothing
    json.SetMember("no.such.parent", "1", true);
    json.SetMember("bad", "alert(1)", true);  // not JSON: nothing
    json.SetMemberExpr("expr", R"({"k":"v"})");
    json.SetNumber("n", 42);
    json.SetNumber("f", 0.5);
    json.SetNumber("nan", std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(
        json.ToJsonText(),
        R"({"name":"it's \"quoted\"","obj":{"list":[1,2,3]},"expr":{"k":"v"},"n":42,"f":0.5})");
    EXPECT_EQ(json.GetNumber("n"), 42);
    EXPECT_EQ(json.GetNumber("obj.list[1]"), 2);
    EXPECT_EQ(json.GetNumber("name"), 0);

    json.PushToArray("x", "arr", false);
    json.PushToArray("{\"a\":1}", "arr", true);
    json.PushToArray("1", "name", true);  // not an array: becomes one
    EXPECT_EQ(json.GetText("arr", true), R"(["x",{"a":1}])");
    EXPECT_EQ(json.GetText("name", true), "[1]");

    json.DeleteMember("expr");
    json.DeleteMember("obj.list[0]");
    EXPECT_FALSE(json.HasMember("expr"));
    EXPECT_EQ(json.GetText("obj.list", true), "[null,2,3]");
}

TEST(JsonScriptTest, WholeValueOperations) {
    JsonScript json;
    json.Reset(JsonType::kArray);
    json.SetElement(0, "a", false);
    json.SetElement(1, "[true]", true);
    json.SetElement(5, "far", false);  // past the end: nothing
    json.SetElement(2, "c", false);
    EXPECT_EQ(json.ToJsonText(), R"(["a",[true],"c"])");
    json.RemoveElement(-1);
    json.RemoveElement(7);
    EXPECT_EQ(json.ToJsonText(), R"(["a",[true]])");
    json.RemoveElement(0);
    EXPECT_EQ(json.ToJsonText(), "[[true]]");

    json.SetValue("plain text", false);
    EXPECT_EQ(json.TypeOf(), JsonType::kString);
    json.SetValue("{\"v\":1}", true);
    EXPECT_EQ(json.GetText("v"), "1");
    json.SetValue("not json", true);
    EXPECT_EQ(json.GetText("v"), "1");
    json.Reset(static_cast<JsonType>(3));  // no such code: nothing
    EXPECT_EQ(json.GetText("v"), "1");
    json.Reset(JsonType::kNull);
    EXPECT_EQ(json.ToJsonText(), "{}");
    json.SetElement(3, "x", false);  // on an object: the member "3"
    EXPECT_EQ(json.ToJsonText(), R"({"3":"x"})");
    json.Clear();
    EXPECT_EQ(json.ToJsonText(), "{}");
}

TEST(JsonScriptTest, ObjectsAreCopiesAndCopiesShare) {
    JsonScript json;
    ASSERT_TRUE(json.Parse(kTwoSongs));
    JsonScript song = json.GetObject("data[1]");
    EXPECT_EQ(song.GetText("author"), "c");
    song.SetMember("author", "changed", false);
    EXPECT_EQ(json.GetText("data[1].author"), "c");  // an object of its own
    EXPECT_EQ(json.GetElementObject(0, "data").GetText("title"), "a");
    EXPECT_EQ(json.GetObject("missing").TypeOf(), JsonType::kNull);

    JsonScript shared = json.Copy();
    shared.SetMember("code", "1", true);
    EXPECT_EQ(json.GetText("code"), "1");  // one value, two handles
    ASSERT_TRUE(shared.Parse("[1]"));      // a parse starts afresh, alone
    EXPECT_EQ(json.GetText("code"), "1");
}

TEST(JsonScriptTest, DeepNestingIsRefused) {
    const int depth = JsonScript::kMaxNesting + 1;
    JsonScript json;
    EXPECT_FALSE(json.Parse(std::string(depth, '[') + std::string(depth, ']')));
    const std::string ok = std::string(depth - 1, '[') + std::string(depth - 1, ']');
    EXPECT_TRUE(json.Parse(ok));
    // Nor can the setters build a value deeper than Parse reads back.
    const std::string deepest = std::string(depth - 1, '[') + std::string(depth - 1, ']');
    ASSERT_TRUE(json.Parse("[0]"));
    json.SetMember("[0]", deepest, true);
    json.PushToArray(deepest, "", true);
    json.SetElement(1, deepest, true);
    EXPECT_EQ(json.ToJsonText(), "[0]");
    json.SetMember("[0]", deepest.substr(1, deepest.size() - 2), true);
    EXPECT_EQ(json.TypeOf("[0]"), JsonType::kArray);
    JsonScript again;
    EXPECT_TRUE(again.Parse(json.ToJsonText()));
    // Brackets inside strings do not count.
    EXPECT_TRUE(json.Parse("[\"" + std::string(1000, '[') + "\\\"\"]"));
}

TEST(JsonScriptTest, TextsThatAreNotUtf8ArePrintedSafely) {
    JsonScript json;
    json.SetMember("gbk", std::string("\xB5\xE3\xB8\xE8", 4), false);  // stored as given
    EXPECT_EQ(json.GetText("gbk"), std::string("\xB5\xE3\xB8\xE8", 4));
    EXPECT_FALSE(json.ToJsonText().empty());
    EXPECT_FALSE(json.Parse(std::string("{\"a\":\"\xB5\xE3\"}")));  // not UTF-8: not JSON
}

}  // namespace
}  // namespace vinylo::client
