#pragma once

#include <string>
#include <string_view>

// Cookie lists as the web-request routine keeps them: "name=value" pairs
// joined by "; ". Nothing is stored anywhere else; the caller keeps the text.
namespace vinylo::client {

// Writes every "Set-Cookie" of a raw header block, in any letter case, as
// "Set-Cookie".
std::string NormalizeSetCookie(std::string_view rawHeaders);

// The cookies that a raw response header block sets: the "name=value" of each
// Set-Cookie line (its attributes after the first ";" dropped), joined by
// "; ". Only real Set-Cookie header lines count, and an empty cookie is
// skipped.
std::string CookiesFromHeaders(std::string_view rawHeaders);

// Merges the cookies sent with those that came back: blanks are removed from
// both arguments (they are rewritten), a name set on both sides keeps the
// returned value, cookies whose value is "deleted" are dropped, and exact
// duplicates are kept once. The result is also stored into sent.
std::string MergeCookies(std::string& sent, std::string& returned);

}  // namespace vinylo::client
