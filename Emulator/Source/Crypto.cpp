#include "Crypto.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <stdexcept>

namespace Velmora
{
namespace
{
const char CrockfordDigits[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
const char Base64UrlDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
const std::string_view TokenPrefix = "vel1_";
constexpr size_t SelectorBytes = 12;
constexpr size_t VerifierBytes = 32;
}

std::string randomBytes(size_t count)
{
	std::string bytes(count, '\0');
	if (count > 0 && RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(count)) != 1)
	{
		throw std::runtime_error("the system's random number generator failed");
	}
	return bytes;
}

std::string newId(std::string_view prefix, int64_t milliseconds)
{
	// 128 bits: 48 of time, 80 of randomness; 26 base-32 digits carry 130 bits, the top two zero.
	unsigned char raw[16];
	uint64_t time = static_cast<uint64_t>(milliseconds) & 0xFFFFFFFFFFFFull;
	for (int i = 5; i >= 0; --i)
	{
		raw[i] = static_cast<unsigned char>(time & 0xFF);
		time >>= 8;
	}
	const std::string random = randomBytes(10);
	for (int i = 0; i < 10; ++i)
	{
		raw[6 + i] = static_cast<unsigned char>(random[i]);
	}
	std::string id(prefix);
	id.reserve(prefix.size() + 26);
	for (int digit = 0; digit < 26; ++digit)
	{
		// Bit position of this digit's most significant bit within 130 bits, the first two being zero.
		const int firstBit = digit * 5 - 2;
		int value = 0;
		for (int bit = 0; bit < 5; ++bit)
		{
			const int position = firstBit + bit;
			int set = 0;
			if (position >= 0)
			{
				set = (raw[position / 8] >> (7 - position % 8)) & 1;
			}
			value = (value << 1) | set;
		}
		id.push_back(CrockfordDigits[value]);
	}
	return id;
}

std::string sha256(std::string_view data)
{
	unsigned char digest[SHA256_DIGEST_LENGTH];
	SHA256(reinterpret_cast<const unsigned char*>(data.data()), data.size(), digest);
	return std::string(reinterpret_cast<const char*>(digest), sizeof(digest));
}

std::string toHex(std::string_view bytes)
{
	static const char Digits[] = "0123456789abcdef";
	std::string text;
	text.reserve(bytes.size() * 2);
	for (const char c : bytes)
	{
		const auto byte = static_cast<unsigned char>(c);
		text.push_back(Digits[byte >> 4]);
		text.push_back(Digits[byte & 15]);
	}
	return text;
}

std::string base64Url(std::string_view bytes)
{
	std::string text;
	uint32_t buffer = 0;
	int bits = 0;
	for (const char c : bytes)
	{
		buffer = (buffer << 8) | static_cast<unsigned char>(c);
		bits += 8;
		while (bits >= 6)
		{
			bits -= 6;
			text.push_back(Base64UrlDigits[(buffer >> bits) & 63]);
		}
	}
	if (bits > 0)
	{
		text.push_back(Base64UrlDigits[(buffer << (6 - bits)) & 63]);
	}
	return text;
}

bool constantTimeEquals(std::string_view a, std::string_view b)
{
	const std::string digestA = sha256(a);
	const std::string digestB = sha256(b);
	return CRYPTO_memcmp(digestA.data(), digestB.data(), digestA.size()) == 0;
}

IssuedToken issueToken()
{
	IssuedToken issued;
	issued.selector = base64Url(randomBytes(SelectorBytes));
	const std::string verifier = base64Url(randomBytes(VerifierBytes));
	issued.verifierHash = sha256(verifier);
	issued.token = std::string(TokenPrefix) + issued.selector + "." + verifier;
	return issued;
}

bool parseToken(std::string_view token, ParsedToken& out)
{
	if (token.substr(0, TokenPrefix.size()) != TokenPrefix)
	{
		return false;
	}
	token.remove_prefix(TokenPrefix.size());
	const size_t dot = token.find('.');
	if (dot == std::string_view::npos || dot == 0 || dot + 1 >= token.size() || token.size() > 200)
	{
		return false;
	}
	out.selector = std::string(token.substr(0, dot));
	out.verifierHash = sha256(token.substr(dot + 1));
	return true;
}
}
