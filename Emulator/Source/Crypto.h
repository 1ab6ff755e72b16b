#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Velmora
{
// Random bytes from OpenSSL's CSPRNG; throws when it cannot deliver.
std::string randomBytes(size_t count);

// "<prefix>" followed by a 26-character sortable id: 48 bits of milliseconds, 80 random bits,
// in Crockford's base 32 ("ctr_01J...", "ins_01J...", "req_01J...").
std::string newId(std::string_view prefix, int64_t milliseconds);

std::string sha256(std::string_view data);
std::string toHex(std::string_view bytes);
std::string base64Url(std::string_view bytes);

// Compares two secrets in time that depends only on their lengths' digests, never on where
// they first differ.
bool constantTimeEquals(std::string_view a, std::string_view b);

// An access token: a public selector to find the record and a secret verifier that is stored
// only as its SHA-256 digest.
struct IssuedToken
{
	std::string token;
	std::string selector;
	std::string verifierHash;
};
IssuedToken issueToken();

struct ParsedToken
{
	std::string selector;
	std::string verifierHash;
};
// False when the text cannot be a token this emulator issued.
bool parseToken(std::string_view token, ParsedToken& out);
}
