// JsonScript on any bytes: the first line is a path, the rest the JSON text.
// Parse, read along the path and along the names found, change the value at
// the path; printing is stable (the printed text reads back to itself).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "client/search/json_script.h"

using vinylo::client::JsonScript;

namespace {

void ReadAlong(const JsonScript& json, std::string_view path) {
    json.GetText(path);
    json.GetText(path, true);
    json.GetNumber(path);
    json.HasMember(path);
    json.GetElementText(1, path);
    const int count = json.MemberCount(path);
    std::vector<std::string> names;
    const int named = json.MemberNames(names, path);
    if (count != named || static_cast<int>(names.size()) != named)
        std::abort();
    const auto type = json.TypeOf(path);
    const bool container =
        type == vinylo::client::JsonType::kArray || type == vinylo::client::JsonType::kObject;
    if (!container && count != 0)
        std::abort();
    json.GetObject(path).ToJsonText();
}

void CheckStablePrint(JsonScript& json) {
    const std::string first = json.ToJsonText();
    JsonScript again;
    again.Parse(first);
    if (again.ToJsonText() != first)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    const std::string_view path =
        newline == std::string_view::npos ? std::string_view() : input.substr(0, newline);
    const std::string_view text =
        newline == std::string_view::npos ? input : input.substr(newline + 1);

    JsonScript json;
    const bool parsed = json.Parse(text);
    if (parsed != (json.TypeOf() != vinylo::client::JsonType::kNull))
        std::abort();
    ReadAlong(json, path);
    ReadAlong(json, {});
    std::vector<std::string> names;
    json.MemberNames(names);
    for (size_t i = 0; i < names.size() && i < 8; ++i) {
        ReadAlong(json, names[i]);
        ReadAlong(json, "[" + names[i] + "]");
    }
    CheckStablePrint(json);

    JsonScript copy = json.Copy();
    copy.SetMember(path, text, true);
    CheckStablePrint(json);  // a value built by the setters reads back too
    copy.SetMember(path, path, false);
    copy.PushToArray(path, path, false);
    copy.SetElement(0, text, true);
    copy.DeleteMember(path);
    copy.RemoveElement(-1);
    CheckStablePrint(json);
    return 0;
}
