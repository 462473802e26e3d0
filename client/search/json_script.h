#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The client's JSON reader: one JSON value with typed access by path, member
// counts, member names and type tests, and operations that build and change
// the value. Texts given to it are JSON (UTF-8), never script: nothing that
// arrives from the network is ever evaluated.
//
// Paths name members and array elements from the value: "data",
// "data[3].title", "a.b[2].c", "[0]". A member name is a script identifier
// (letters, digits, "_", "$" and non-ASCII bytes, not starting with a digit);
// an index is a decimal number in brackets. An index on an object names the
// member of that decimal name. Any other path leads to nothing. An empty
// path means the value itself where an operation says so.
//
// Values given to the setters are JSON value texts, parsed as JSON; the
// operations with a raw flag store the value as a string unless raw is true.
// A value that is not valid JSON, or a path whose parent does not exist,
// changes nothing. Array elements are replaced or appended, never created
// past the end.
namespace vinylo::client {

enum class JsonType : int {
    kNull = 0,  // null, or missing
    kBoolean = 1,
    kNumber = 2,
    kObject = 4,
    kArray = 5,
    kString = 6,
    kOther = -1,
};

class JsonScript {
public:
    // Holds an empty object, as after Init.
    JsonScript();
    ~JsonScript();
    JsonScript(JsonScript&&) noexcept;
    JsonScript& operator=(JsonScript&&) noexcept;
    JsonScript(const JsonScript&) = delete;
    JsonScript& operator=(const JsonScript&) = delete;

    // Starts afresh with an empty object, detached from any copy.
    void Init();
    // Replaces the value with the JSON text's (detached from any copy).
    // True when the text is JSON whose value is not null; otherwise the value
    // becomes null and the result is false (an HTML page, an empty text,
    // "null", nesting deeper than kMaxNesting).
    bool Parse(std::string_view text);
    std::string ToJsonText() const;

    // Texts: a string's own text, a number in decimal (whole numbers without
    // a fraction, others in their shortest exact form), "true"/"false", an
    // object or array as its JSON text; empty for null and for a missing
    // member. With asJson, the JSON text of the value (empty when missing).
    std::string GetText(std::string_view path, bool asJson = false) const;
    std::string GetMemberJson(std::string_view path) const;
    // A number, a string holding a number, or a boolean (1 or 0); otherwise 0.
    double GetNumber(std::string_view path) const;
    // Array length or number of an object's members (empty path: the value
    // itself); 0 for anything else and for a missing member.
    int MemberCount(std::string_view path = {}) const;
    // Replaces list with the member names (indices "0", "1", ... of an array)
    // and returns their number.
    int MemberNames(std::vector<std::string>& list, std::string_view path = {}) const;
    JsonType TypeOf(std::string_view path = {}) const;
    bool HasMember(std::string_view path) const;  // present and not null

    // New instances that hold a copy of the value at the path (null when it
    // is missing).
    JsonScript GetObject(std::string_view path) const;
    JsonScript GetElementObject(int index, std::string_view path = {}) const;
    std::string GetElementText(int index, std::string_view path = {}, bool asJson = false) const;

    void SetMember(std::string_view path, std::string_view value, bool isObject);
    void SetMemberExpr(std::string_view path, std::string_view jsonValue);
    void SetNumber(std::string_view path, double number);
    // Makes the value at the path (empty: the value itself) an array unless it
    // is one, then appends.
    void PushToArray(std::string_view value, std::string_view path, bool raw);
    void SetElement(int index, std::string_view value, bool raw);  // of the value itself
    void RemoveElement(int index);  // of the value itself; a negative index counts from the end
    void DeleteMember(std::string_view path);  // an array element becomes null
    void SetValue(std::string_view value, bool raw);
    // kNull and kObject: an empty object; kArray: an empty array; other codes: nothing.
    void Reset(JsonType type);
    void Clear();  // an empty object

    // A second handle on the same value: a change through one shows in the
    // other, until one of them parses or initialises anew.
    JsonScript Copy() const;

    static constexpr int kMaxNesting = 256;

private:
    struct Value;
    explicit JsonScript(std::shared_ptr<Value> value);

    std::shared_ptr<Value> value_;
};

}  // namespace vinylo::client
